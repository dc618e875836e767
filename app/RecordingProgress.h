// SPDX-License-Identifier: GPL-3.0-or-later
// What the user sees while a recording is being opened: the busy arrow, and
// for anything longer than a moment a small window with the share read so
// far and a Cancel button. Escape in the main window cancels as well.
#pragma once

#include <optional>

#include <QObject>

#include "app/override_cursor.h"

class QProgressDialog;
class QShortcut;
class QWidget;

namespace tesmera {

class RecordingAnalysis;

class RecordingProgress : public QObject {
    Q_OBJECT
  public:
    // Follows `analysis`; both it and `window` outlive this object.
    RecordingProgress(RecordingAnalysis& analysis, QWidget& window);

  private:
    void Begin(const QString& path);
    void Show(double share);
    void End();
    void Cancel();

    RecordingAnalysis& analysis_;
    QWidget& window_;
    QShortcut* escape_ = nullptr;        // owned by the window
    QProgressDialog* dialog_ = nullptr;  // while a recording is under way
    std::optional<WorkingCursor> cursor_;
};

}  // namespace tesmera
