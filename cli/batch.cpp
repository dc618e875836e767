#include "cli/batch.h"

#include <optional>

#include "cli/progress_line.h"
#include "cli/voice_file_list.h"

namespace tesmera {

int AnalyseBatch(std::span<const std::string> paths, bool showProgress,
                 const std::function<void(const VoiceAnalysis&)>& use) {
    const std::vector<std::string> files = CollectVoiceFiles(paths);
    std::optional<ProgressLine> progress;
    if (showProgress) {
        progress.emplace(files.size());
    }
    VoiceFileAnalyser analyser;
    bool allOk = true;
    for (const std::string& file : files) {
        const VoiceAnalysis record = analyser.Analyse(file);
        allOk = allOk && record.Ok();
        use(record);
        if (progress) {
            progress->Advance();
        }
    }
    return allOk ? ExitAllOk : ExitSomeFilesFailed;
}

}  // namespace tesmera
