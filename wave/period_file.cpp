// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/period_file.h"

#include "wave/errors.h"
#include "wave/sample_reader.h"
#include "wave/wave_header.h"

namespace tesmera {

bool IsVoicePeriodFile(const std::string& path) {
    try {
        WaveHeadFields header;
        if (WaveHeadRead(path, header, [](const Status&) {}) != HeaderAccepted) {
            return false;
        }
        // The very loop the load runs, so the count is the one it would see;
        // it stops one sample past the limit, so a huge data chunk is not
        // read to its end only to be refused.
        return CountSamplesUpTo(path, header.DataOffset, header.DataSize, MaxSamples) <= MaxSamples;
    } catch (const FileError& error) {
        // A file that ends inside its header or data is no period the load
        // would take, and the recording reader gets its chance; a file that
        // cannot be opened or read at all is the caller's to report.
        if (error.FileCode() != FileError::ReadBeyondEnd) {
            throw;
        }
        return false;
    }
}

}  // namespace tesmera
