// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_page/PageTable.h"

#include <utility>

#include <QPainter>

#include "report_page/page_style.h"

namespace tesmera {

namespace {

// Text keeps this far from a column's edges.
constexpr double CellPadding = 8;

}  // namespace

PageTable::PageTable(std::vector<PageColumn> columns) : columns_(std::move(columns)) {}

void PageTable::AddRow(QStringList cells, bool marked) {
    rows_.push_back({std::move(cells), marked});
}

double PageTable::Width() const {
    double width = 0;
    for (const PageColumn& column : columns_) {
        width += column.Width;
    }
    return width;
}

void PageTable::PaintRow(QPainter& painter, QPointF origin, const QStringList& cells) const {
    for (std::size_t c = 0; c < columns_.size() && c < static_cast<std::size_t>(cells.size());
         ++c) {
        const QRectF cell(origin.x() + CellPadding, origin.y(), columns_[c].Width - 2 * CellPadding,
                          RowHeight);
        painter.drawText(cell, columns_[c].Alignment | Qt::AlignVCenter,
                         cells[static_cast<qsizetype>(c)]);
        origin.rx() += columns_[c].Width;
    }
}

double PageTable::Paint(QPainter& painter, const QPointF& origin) const {
    QStringList headings;
    for (const PageColumn& column : columns_) {
        headings.append(column.Heading);
    }
    LabelFont.Apply(painter);
    PaintRow(painter, origin, headings);
    double top = origin.y() + RowHeight;
    for (const Row& row : rows_) {
        painter.setPen(QPen(RuleColor, 2));
        painter.drawLine(QPointF(origin.x(), top), QPointF(origin.x() + Width(), top));
        (row.Marked ? OutsideFont : BodyFont).Apply(painter);
        PaintRow(painter, QPointF(origin.x(), top), row.Cells);
        top += RowHeight;
    }
    return top;
}

}  // namespace tesmera
