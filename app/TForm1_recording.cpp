// Recordings of a sustained vowel: the dialog that opens one and the window
// that shows it.
#include "app/TForm1.h"

namespace tesmera {

void TForm1::SpeedButton4Click() {
    const std::optional<QString> chosen = dialogs_->ChooseRecording(lastFolder_);
    if (!chosen) {
        return;
    }
    RememberFolderOf(*chosen);
    OpenRecording(*chosen);
}

void TForm1::OpenRecording(const QString& path) {
    Q_UNUSED(path);
}

}  // namespace tesmera
