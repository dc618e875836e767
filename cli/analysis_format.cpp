// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/analysis_format.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "analysis/number_text.h"
#include "cli/data_text.h"
#include "cli/json_text.h"
#include "cli/record_fields.h"
#include "cli/terminal_text.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

// A message's lines joined by " | ", as the status joins messages, so
// every record of a CSV file is one line.
std::string JoinedLines(std::string_view text) {
    std::string joined;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            joined += " | ";
            i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 1 : 0;
        } else {
            joined += text[i];
        }
    }
    return joined;
}

class CsvHeaderSink final : public RecordFieldSink {
  public:
    explicit CsvHeaderSink(CsvLine& line) : line_(line) {}
    void Text(std::string_view name, std::optional<std::string_view>) override { line_.Add(name); }
    void Message(std::string_view name, std::optional<std::string_view>) override {
        line_.Add(name);
    }
    void Integer(std::string_view name, std::optional<long long>) override { line_.Add(name); }
    void Number(std::string_view name, std::optional<double>) override { line_.Add(name); }
    void Numbers(std::string_view name, int firstIndex, std::span<const double> values,
                 bool) override {
        for (std::size_t i = 0; i < values.size(); ++i) {
            line_.Add(std::string(name) + "_" +
                      IntegerText(firstIndex + static_cast<long long>(i)));
        }
    }
    void Model(std::string_view id, std::optional<double>, std::optional<long long>) override {
        line_.Add(ModelColumn(id, "score_value"));
        line_.Add(ModelColumn(id, "score"));
    }

  private:
    CsvLine& line_;
};

class CsvRowSink final : public RecordFieldSink {
  public:
    explicit CsvRowSink(CsvLine& line) : line_(line) {}
    void Text(std::string_view, std::optional<std::string_view> value) override {
        value ? line_.AddText(*value) : line_.Add({});
    }
    void Message(std::string_view, std::optional<std::string_view> value) override {
        value ? line_.AddText(JoinedLines(*value)) : line_.Add({});
    }
    void Integer(std::string_view, std::optional<long long> value) override {
        value ? line_.AddInteger(*value) : line_.Add({});
    }
    void Number(std::string_view, std::optional<double> value) override {
        value ? line_.AddNumber(*value) : line_.Add({});
    }
    void Numbers(std::string_view, int, std::span<const double> values, bool present) override {
        for (const double value : values) {
            present ? line_.AddNumber(value) : line_.Add({});
        }
    }
    void Model(std::string_view, std::optional<double> value,
               std::optional<long long> score) override {
        Number({}, value);
        Integer({}, score);
    }

  private:
    CsvLine& line_;
};

class JsonObjectSink final : public RecordFieldSink {
  public:
    void Text(std::string_view name, std::optional<std::string_view> value) override {
        if (value) {
            AddText(object_, name, *value);
        } else {
            object_[std::string(name)] = nullptr;
        }
    }
    void Message(std::string_view name, std::optional<std::string_view> value) override {
        Text(name, value);
    }
    void Integer(std::string_view name, std::optional<long long> value) override {
        object_[std::string(name)] = value ? JsonObject(*value) : JsonObject(nullptr);
    }
    void Number(std::string_view name, std::optional<double> value) override {
        object_[std::string(name)] = value ? JsonObject(*value) : JsonObject(nullptr);
    }
    void Numbers(std::string_view name, int, std::span<const double> values,
                 bool present) override {
        object_[std::string(name)] =
            present ? JsonObject(std::vector<double>(values.begin(), values.end()))
                    : JsonObject(nullptr);
    }
    // The models go into one array, as in the report's records.
    void Model(std::string_view id, std::optional<double> value,
               std::optional<long long> score) override {
        JsonObject model = JsonObject::object();
        model["model"] = std::string(id);
        model["score_value"] = value ? JsonObject(*value) : JsonObject(nullptr);
        model["score"] = score ? JsonObject(*score) : JsonObject(nullptr);
        object_["models"].push_back(std::move(model));
    }
    const JsonObject& Object() const { return object_; }

  private:
    JsonObject object_ = JsonObject::object();
};

constexpr std::size_t NameWidth = 28;

// `text` right-aligned in `width` columns, after one blank.
std::string Column(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + ' ' + text;
}

template <typename T>
std::string ColumnIf(bool present, T value, std::size_t width) {
    return Column(present ? IntegerText(value) : "-", width);
}

std::string TableRow(const VoiceAnalysis& record) {
    const bool loaded = record.Stage != AnalysisStage::NotLoaded;
    const bool analysed = record.Stage == AnalysisStage::Analysed;
    std::string row = TerminalText(FileNamePart(record.Path));
    row.resize(std::max(row.size(), NameWidth), ' ');
    row += ColumnIf(loaded, record.SampleCount, 7);
    row += Column(loaded ? FixedText(record.PeriodFrequency, 14, 2, ".") : "-", 9);
    row += ColumnIf(analysed, record.ApproxOrder, 5);
    row += ColumnIf(record.ExpertGrade.has_value(), record.ExpertGrade.value_or(0), 5);
    for (const std::int32_t score : record.Score) {
        row += ColumnIf(analysed, score, 2);
    }
    return row + "  " + TerminalLine(record.StatusText()) + "\n";
}

}  // namespace

void AnalysisFormat::CsvHeader(std::string& line) const {
    CsvLine header(line);
    CsvHeaderSink sink(header);
    VisitRecordFields(VoiceAnalysis{}, sink);
    header.Finish();
}

void AnalysisFormat::CsvRow(const VoiceAnalysis& record, std::string& line) const {
    CsvLine row(line);
    CsvRowSink sink(row);
    VisitRecordFields(record, sink);
    row.Finish();
}

std::string AnalysisFormat::JsonText(const VoiceAnalysis& record) const {
    JsonObjectSink sink;
    VisitRecordFields(record, sink);
    return JsonLine(sink.Object());
}

std::string AnalysisFormat::TableHeading() const {
    std::string heading = "file";
    heading.resize(NameWidth, ' ');
    return heading + "       N   F0 [Hz] order grade 10 21 22 23 24 25  status\n";
}

std::string AnalysisFormat::TableEntry(const VoiceAnalysis& record, bool) const {
    return TableRow(record);
}

std::string AnalysisFormat::TableClosing(bool /*noted*/) const {
    return {};
}

}  // namespace tesmera
