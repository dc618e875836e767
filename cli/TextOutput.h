// SPDX-License-Identifier: GPL-3.0-or-later
// Where a command writes its results: a file the user named, or standard
// output for "-". Nothing else is ever written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "wave/OutputFile.h"

namespace tesmera {

class TextOutput {
  public:
    static constexpr std::string_view StandardOutputName = "-";

    // Prepares the file (see OutputFile: an old file stays as it is until
    // Close); throws OutputFileError when it cannot.
    explicit TextOutput(const std::string& path);

    // Throws OutputFileError when not everything could be written.
    void Write(std::string_view text);
    // Flushes, and puts a file in place; throws OutputFileError (e.g. "Disk
    // full"). Without Close a file is never put in place.
    void Close();

  private:
    std::optional<OutputFile> file_;  // empty for standard output
};

}  // namespace tesmera
