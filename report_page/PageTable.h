// SPDX-License-Identifier: GPL-3.0-or-later
// A table of text on the clinical page: a header row in the label font,
// then one row per line of cells, ruled between rows. A marked row draws
// its cells in the font that flags a value outside its range.
#pragma once

#include <vector>

#include <QPointF>
#include <QString>
#include <QStringList>

class QPainter;

namespace tesmera {

struct PageColumn {
    QString Heading;
    double Width = 0;  // in the page's coordinates
    Qt::Alignment Alignment = Qt::AlignLeft;
};

class PageTable {
  public:
    explicit PageTable(std::vector<PageColumn> columns);

    // `cells` holds one text per column.
    void AddRow(QStringList cells, bool marked = false);

    // Draws the table with its top-left corner at `origin`; returns the
    // bottom edge.
    double Paint(QPainter& painter, const QPointF& origin) const;

    static constexpr double RowHeight = 50;

  private:
    struct Row {
        QStringList Cells;
        bool Marked = false;
    };
    void PaintRow(QPainter& painter, QPointF origin, const QStringList& cells) const;
    double Width() const;

    std::vector<PageColumn> columns_;
    std::vector<Row> rows_;
};

}  // namespace tesmera
