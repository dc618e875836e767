// Where a command writes its results: a file the user named, or standard
// output for "-". Nothing else is ever written.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "wave/binary_file.h"

namespace tesmera {

class TextOutput {
  public:
    static constexpr std::string_view StandardOutputName = "-";

    // Creates (or empties) the file; throws FileError when it cannot.
    explicit TextOutput(const std::string& path);

    // Throws FileError when not everything could be written.
    void Write(std::string_view text);
    // Flushes, and closes a file; throws FileError (e.g. "Disk full").
    void Close();

  private:
    detail::FileHandle owned_;  // empty for standard output
    std::FILE* file_;
};

}  // namespace tesmera
