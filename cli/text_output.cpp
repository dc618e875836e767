#include "cli/text_output.h"

#include <cerrno>

#include "wave/errors.h"

namespace tesmera {

namespace {

std::FILE* OpenForWriting(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw FileError::FromErrno(errno);
    }
    return file;
}

}  // namespace

TextOutput::TextOutput(const std::string& path)
    : owned_(path == StandardOutputName ? nullptr : OpenForWriting(path)),
      file_(owned_ ? owned_.get() : stdout) {}

void TextOutput::Write(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
        throw FileError::FromErrno(errno);
    }
}

void TextOutput::Close() {
    if (std::fflush(file_) != 0) {
        throw FileError::FromErrno(errno);
    }
    if (owned_ && std::fclose(owned_.release()) != 0) {
        throw FileError::FromErrno(errno);
    }
}

}  // namespace tesmera
