// SPDX-License-Identifier: GPL-3.0-or-later
// Checks on the outputs a command was given, made before anything is
// written, so a slip on the command line never destroys a voice file.
#pragma once

#include <span>
#include <string>

namespace tesmera {

// Whether "-" may stand for standard output: yes for text, no for a voice
// file or a picture, which are never mixed into the terminal's text.
enum class StandardOutput { Allowed, Refused };

// Throws UsageError, naming the path, when an output
// - is an existing regular file that is also one of the inputs (the same
//   device and inode, so a link or another spelling of the path is caught
//   too); a device or a pipe such as /dev/null overwrites nothing,
// - is named twice (standard output "-" included), or is "-" where that is
//   refused,
// - starts with '-' but is not "-": the parser takes a following "-x3.wav"
//   as the option's value, which may be meant as an input; "./-x3.wav"
//   says it plainly.
// Empty outputs (not asked for) are ignored; inputs that do not exist
// cannot be overwritten and are ignored too.
void RefuseUnsafeOutputs(std::span<const std::string> inputs, std::span<const std::string> outputs,
                         StandardOutput standardOutput);

}  // namespace tesmera
