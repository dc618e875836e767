// SPDX-License-Identifier: GPL-3.0-or-later
// A multi-line memo whose text is read and written with "\r\n" line ends,
// the form the reports are built in, while the editor shows plain lines.
#pragma once

#include <QPlainTextEdit>

namespace tesmera {

class TMemo : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TMemo(const QString& text, QWidget* parent = nullptr);
    explicit TMemo(QWidget* parent = nullptr) : TMemo(QString(), parent) {}

    QString Text() const;
    // Sets the text and repaints the memo at once, so a running command shows
    // each step's result.
    void SetText(const QString& text);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void UpdateTabStops();
};

}  // namespace tesmera
