// SPDX-License-Identifier: GPL-3.0-or-later
// `tesmera-cli extract`: one voice period from an ordinary recording,
// written as a voice file the window and `analyze` can load.
#pragma once

#include <optional>
#include <string>

namespace tesmera {

struct ExtractOptions {
    std::string inputPath;
    std::string outputPath;
    std::optional<double> atSeconds;  // nothing: the most stable stretch
};

// Prints F0, the period's length and where it was cut. Returns 0, 1 when
// the input was refused (the reason on standard error), 2 when the output
// could not be written.
int RunExtract(const ExtractOptions& options);

}  // namespace tesmera
