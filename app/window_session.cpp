// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_session.h"

#include "app/TForm1.h"

namespace tesmera {

bool HandToRunningWindow(const WindowCommandLine& line, SessionLink& session) {
    return !line.newWindow && session.HandOver(line.files);
}

void StartSessionWindow(TForm1& form, const WindowCommandLine& line, SessionLink& session) {
    if (!line.newWindow) {
        session.Serve(
            [&form](const std::vector<std::string>& files) { form.OpenFromOutside(files); });
    }
    form.OpenFromOutside(line.files);
}

}  // namespace tesmera
