// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_accessibility.h"

#include <mutex>

#include <QAccessibleWidget>
#include <QWidget>

namespace tesmera {

namespace {

QAccessibleInterface* FrameOf(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || !widget->isWindow() ||
        (className != QLatin1String("tesmera::TForm1") &&
         className != QLatin1String("tesmera::RecordingWindow"))) {
        return nullptr;
    }
    return new QAccessibleWidget(widget, QAccessible::Window);
}

}  // namespace

void AnnounceWindowsAsFrames() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(FrameOf); });
}

}  // namespace tesmera
