// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TextOutput.h"

#include <cerrno>
#include <cstdio>

#include "wave/errors.h"

namespace tesmera {

namespace {

constexpr const char* StandardOutputLabel = "standard output";

[[noreturn]] void StandardOutputFailed(int errnoValue) {
    throw OutputFileError(StandardOutputLabel, FileError::FromErrno(errnoValue).what());
}

}  // namespace

TextOutput::TextOutput(const std::string& path) {
    if (path != StandardOutputName) {
        file_.emplace(path);
    }
}

void TextOutput::Write(std::string_view text) {
    if (file_) {
        file_->Write(text);
    } else if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) {
        StandardOutputFailed(errno);
    }
}

void TextOutput::Close() {
    if (file_) {
        file_->Commit();
    } else if (std::fflush(stdout) != 0) {
        StandardOutputFailed(errno);
    }
}

}  // namespace tesmera
