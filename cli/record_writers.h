// SPDX-License-Identifier: GPL-3.0-or-later
// The outputs of `analyze`: one record per file as CSV or JSON, or a short
// table for a person at a terminal. Each writes as the files come, so a long
// batch needs no memory per file.
#pragma once

#include <string>
#include <string_view>

#include "cli/TextOutput.h"
#include "cli/voice_analysis.h"

namespace tesmera {

class RecordWriter {
  public:
    virtual ~RecordWriter() = default;
    virtual void Write(const VoiceAnalysis& record) = 0;
    // Writes any closing text and closes the output; throws FileError.
    virtual void Finish() = 0;
};

// A header line, then one line per file, fields in VisitRecordFields order;
// absent values are empty fields. Lines end in "\n"; fields are quoted when
// they hold a comma, a quote or a line break (the window's warnings do).
class CsvRecordWriter final : public RecordWriter {
  public:
    explicit CsvRecordWriter(const std::string& path);
    void Write(const VoiceAnalysis& record) override;
    void Finish() override;

  private:
    TextOutput output_;
    std::string line_;  // the line being built, kept for the next one
};

// An array of objects, one per line; series are arrays, absent values null.
// Always valid UTF-8: a name that is not is written with U+FFFD and its
// bytes in hex beside it ("path_bytes"). Each record is written as it
// comes, so memory stays flat however long the batch.
class JsonRecordWriter final : public RecordWriter {
  public:
    explicit JsonRecordWriter(const std::string& path);
    void Write(const VoiceAnalysis& record) override;
    void Finish() override;

  private:
    TextOutput output_;
    bool first_ = true;
};

// File name, sample count, period frequency, approximation order, grade,
// the six scores and the status, one line per file on standard output.
class TerminalTableWriter final : public RecordWriter {
  public:
    TerminalTableWriter();
    void Write(const VoiceAnalysis& record) override;
    void Finish() override;

  private:
    TextOutput output_;
};

}  // namespace tesmera
