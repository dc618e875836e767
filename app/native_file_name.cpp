// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/native_file_name.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <optional>
#include <vector>

#include <QFile>
#include <QStringList>

namespace tesmera {

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};

// The one entry of `folder` that Qt would show as `shown`.
std::optional<std::string> EntryShownAs(const std::string& folder, const QString& shown) {
    const std::unique_ptr<DIR, FolderCloser> listing(
        opendir(folder.empty() ? "." : folder.c_str()));
    if (!listing) {
        return std::nullopt;
    }
    std::optional<std::string> match;
    while (const dirent* entry = readdir(listing.get())) {
        if (QFile::decodeName(entry->d_name) == shown) {
            if (match) {
                return std::nullopt;  // two names look alike: do not guess
            }
            match = entry->d_name;
        }
    }
    return match;
}

}  // namespace

std::string NativeFileName(const QString& chosen) {
    const std::string encoded = QFile::encodeName(chosen).toStdString();
    if (Exists(encoded)) {
        return encoded;
    }
    std::string native = chosen.startsWith(u'/') ? "/" : "";
    const QStringList parts = chosen.split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::string spelled = QFile::encodeName(parts[i]).toStdString();
        const std::string separator = i + 1 < parts.size() ? "/" : "";
        if (Exists(native + spelled)) {
            native += spelled + separator;
        } else if (const auto entry = EntryShownAs(native, parts[i])) {
            native += *entry + separator;
        } else {
            return encoded;
        }
    }
    return native;
}

}  // namespace tesmera
