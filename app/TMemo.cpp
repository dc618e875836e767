// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TMemo.h"

#include <QEvent>

namespace tesmera {

TMemo::TMemo(const QString& text, QWidget* parent) : QPlainTextEdit(text, parent) {
    UpdateTabStops();
}

void TMemo::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateTabStops();
    }
}

// Tab stops every eight average characters, as in a classic edit control,
// so the report and table columns line up in the memo's narrow width.
void TMemo::UpdateTabStops() {
    setTabStopDistance(8 * fontMetrics().averageCharWidth());
}

QString TMemo::Text() const {
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void TMemo::SetText(const QString& text) {
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setPlainText(lines);
    repaint();
}

}  // namespace tesmera
