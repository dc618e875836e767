// SPDX-License-Identifier: GPL-3.0-or-later
// The name of a chosen file as the system spells it. Qt decodes file names
// as UTF-8 and puts U+FFFD for bytes that are not, so a name that is not
// UTF-8 ("caf\xE9.wav" from an old archive) comes back from a file dialog
// changed, and encoding it again names no file.
#pragma once

#include <string>

#include <QString>

namespace tesmera {

// QFile::encodeName(chosen) when that names something. Otherwise, folder
// by folder from the first one that does not exist, the one entry whose
// decoded name is the chosen one takes its place (bytes and all); when no
// entry or more than one matches, the encoded name stays, and opening it
// reports the file as not found.
std::string NativeFileName(const QString& chosen);

}  // namespace tesmera
