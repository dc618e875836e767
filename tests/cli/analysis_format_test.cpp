// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/analysis_format.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "analysis/reports.h"
#include "cli/cli_test_support.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Splits CSV text into records of fields (quotes and doubled quotes undone).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                rows.back().back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                rows.back().back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\n') {
            rows.emplace_back(1);
        } else {
            rows.back().back() += c;
        }
    }
    rows.pop_back();  // after the last line end
    return rows;
}

double ParseDouble(const std::string& text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(result.ptr, text.data() + text.size()) << text;
    return value;
}

class CsvOutput : public ::testing::Test {
  protected:
    std::vector<std::vector<std::string>> WriteAndParse(const std::vector<VoiceAnalysis>& records) {
        const std::string path = (folder.Path() / "out.csv").string();
        const AnalysisFormat format;
        CsvRecordWriter<VoiceAnalysis> writer(path, format);
        for (const VoiceAnalysis& record : records) {
            writer.Write(record);
        }
        writer.Finish();
        return ParseCsv(ReadWhole(path));
    }

    std::size_t Column(const std::vector<std::string>& header, const std::string& name) {
        const auto found = std::ranges::find(header, name);
        EXPECT_NE(found, header.end()) << name;
        return static_cast<std::size_t>(found - header.begin());
    }

    test::TempFolder folder;
};

TEST_F(CsvOutput, NumbersReadBackExactly) {
    const VoiceAnalysis record = AnalyseVoiceFile(folder.Add(
        "v2.wav",
        test::CanonicalWav(test::HarmonicPeriod(
            333,
            {{1, 7000, 123}, {2, -2000, 50}, {3, 900, 900}, {4, 400, 0}, {5, 0, 333}, {6, 250, 10}},
            17))));
    ASSERT_TRUE(record.Ok());
    const auto rows = WriteAndParse({record});
    ASSERT_EQ(rows.size(), 2u);
    const auto& header = rows[0];
    const auto& row = rows[1];
    ASSERT_EQ(row.size(), header.size());
    // path, status, status_code, the version and the sound's 3 facts, 7
    // figures, the series, the models, and the grade, its note and source.
    EXPECT_EQ(header.size(), 3 + 4 + 7 + 16 + 16 + 21 + 1 + 6 + 12 + 3u);
    EXPECT_EQ(row[Column(header, "sample_rate_hz")], "44100");
    EXPECT_EQ(row[Column(header, "channels")], "1");
    EXPECT_EQ(ParseDouble(row[Column(header, "duration_s")]), 333.0 / 44100);
    EXPECT_EQ(row[Column(header, "status")], "ok");
    EXPECT_EQ(row[Column(header, "status_code")], "ok");
    EXPECT_EQ(row[Column(header, "sample_count")], "333");
    EXPECT_EQ(ParseDouble(row[Column(header, "mean")]), record.Mean);
    EXPECT_EQ(ParseDouble(row[Column(header, "period_ms")]), record.PeriodMs);
    EXPECT_EQ(ParseDouble(row[Column(header, "ax_1")]), record.ax[1]);
    EXPECT_EQ(ParseDouble(row[Column(header, "bx_15")]), record.bx[15]);
    EXPECT_EQ(ParseDouble(row[Column(header, "aa_20")]), record.AA[20]);
    EXPECT_EQ(ParseDouble(row[Column(header, "aa_norm_6")]), record.AANorm[5]);
    EXPECT_EQ(ParseDouble(row[Column(header, "model_25_score_value")]), record.ScoreValue[5]);
    EXPECT_EQ(row[Column(header, "model_10_score")], std::to_string(record.Score[0]));
    EXPECT_EQ(row[Column(header, "expert_grade")], "2");
    EXPECT_EQ(row[Column(header, "grade_note")], "");
}

TEST_F(CsvOutput, FailedFilesKeepTheirTextAndLeaveValuesEmpty) {
    const VoiceAnalysis missing = AnalyseVoiceFile((folder.Path() / "gone1.wav").string());
    const VoiceAnalysis tooLong = AnalyseVoiceFile(
        folder.Add("x,\"y\"1.wav", test::CanonicalWav(std::vector<std::int16_t>(10001, 1))));
    const auto rows = WriteAndParse({missing, tooLong});
    ASSERT_EQ(rows.size(), 3u);
    const auto& header = rows[0];
    EXPECT_EQ(rows[1][Column(header, "status")], "File not found.");
    EXPECT_EQ(rows[1][Column(header, "sample_count")], "");
    EXPECT_EQ(rows[1][Column(header, "aa_3")], "");
    EXPECT_EQ(rows[2][Column(header, "path")], tooLong.Path);
    // One line per record: the window's line break becomes " | ".
    EXPECT_EQ(rows[2][Column(header, "status")],
              " Soubor *.WAV neni v pameti   |  Delka zaznamu je vetsi nez 10000 vzorku ");
    EXPECT_EQ(rows[2][Column(header, "status_code")], "too_long");
    EXPECT_EQ(rows[1][Column(header, "status_code")], "not_found");
    EXPECT_EQ(rows[2][Column(header, "sample_count")], "10001");
    EXPECT_EQ(rows[2][Column(header, "approx_order")], "");
    EXPECT_EQ(rows[2][Column(header, "expert_grade")], "");
}

// Text cells a spreadsheet would run as formulas start with an apostrophe;
// other texts and every number stay as they are.
struct CsvCellCase : test::NamedCase<CsvCellCase> {
    std::string path;
    std::string cell;  // the path field after the CSV quoting is undone
};

class CsvTextCells : public CsvOutput, public ::testing::WithParamInterface<CsvCellCase> {};

TEST_P(CsvTextCells, FormulaStartsAreNeutralised) {
    VoiceAnalysis record;
    record.Path = GetParam().path;
    record.Problems.push_back({StatusCode::Error, "-a warning"});
    record.Stage = AnalysisStage::Loaded;
    record.Mean = -2.5;
    const auto rows = WriteAndParse({record});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][Column(rows[0], "path")], GetParam().cell);
    EXPECT_EQ(rows[1][Column(rows[0], "status")], "'-a warning");
    EXPECT_EQ(rows[1][Column(rows[0], "mean")], "-2.5");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CsvTextCells,
    ::testing::Values(CsvCellCase{"Plain", "voices/a3.wav", "voices/a3.wav"},
                      CsvCellCase{"Equals", "=HYPERLINK(\"x\")3.wav", "'=HYPERLINK(\"x\")3.wav"},
                      CsvCellCase{"Plus", "+1+2.wav", "'+1+2.wav"},
                      CsvCellCase{"Minus", "-x3.wav", "'-x3.wav"},
                      CsvCellCase{"At", "@SUM(A1)3.wav", "'@SUM(A1)3.wav"},
                      CsvCellCase{"Tab", "\t=1.wav", "'\t=1.wav"},
                      CsvCellCase{"FormulaSignInside", "a=b+c.wav", "a=b+c.wav"}),
    test::CaseName());

class JsonOutput : public ::testing::Test {
  protected:
    nlohmann::json WriteAndParse(const std::vector<VoiceAnalysis>& records) {
        const std::string path = (folder.Path() / "out.json").string();
        const AnalysisFormat format;
        JsonRecordWriter<VoiceAnalysis> writer(path, format);
        for (const VoiceAnalysis& record : records) {
            writer.Write(record);
        }
        writer.Finish();
        // The parser refuses text that is not UTF-8.
        return nlohmann::json::parse(ReadWhole(path));
    }

    test::TempFolder folder;
};

TEST_F(JsonOutput, RecordsAreObjectsWithNullForAbsentValues) {
    const auto json = WriteAndParse(
        {AnalyseVoiceFile(folder.Add("name.wav", test::CanonicalWav(test::HarmonicPeriod(
                                                     100, {{1, 1000, 0}, {2, 0, 500}})))),
         AnalyseVoiceFile((folder.Path() / "gone1.wav").string())});
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["status"], "ok");
    EXPECT_EQ(json[0]["status_code"], "no_grade");
    EXPECT_EQ(json[0]["sample_count"], 100);
    EXPECT_EQ(json[0]["ax"].size(), 16u);
    EXPECT_TRUE(json[0]["expert_grade"].is_null());
    EXPECT_EQ(json[0]["grade_note"], "'e' is not a valid integer value.");
    EXPECT_FALSE(json[0].contains("path_bytes"));
    EXPECT_EQ(json[1]["status"], "File not found.");
    EXPECT_EQ(json[1]["status_code"], "not_found");
    EXPECT_TRUE(json[1]["sample_count"].is_null());
    EXPECT_TRUE(json[1]["ax"].is_null());
    // The models are keyed by their ids, as in the report's records.
    ASSERT_EQ(json[0]["models"].size(), 6u);
    EXPECT_EQ(json[0]["models"][5]["model"], "25");
    EXPECT_TRUE(json[0]["models"][5]["score"].is_number_integer());
    EXPECT_TRUE(json[1]["models"][0]["score"].is_null());
    // What does not exist is null, not 0 or "".
    EXPECT_EQ(json[0]["sample_rate_hz"], 44100);
    EXPECT_TRUE(json[1]["sample_rate_hz"].is_null());
    EXPECT_TRUE(json[1]["grade_note"].is_null());
    EXPECT_TRUE(json[1]["grade_source"].is_null());
}

TEST_F(JsonOutput, ANameThatIsNotUtf8KeepsItsBytesBeside) {
    VoiceAnalysis record;
    record.Path =
        "voices/caf\xE9"
        "3\n.wav";
    record.Problems.push_back({StatusCode::NotFound, "File not found."});
    const auto json = WriteAndParse({record});
    EXPECT_EQ(json[0]["path"],
              "voices/caf\xEF\xBF\xBD"
              "3\n.wav");
    EXPECT_EQ(json[0]["path_bytes"], "766f696365732f636166e9330a2e776176");
}

TEST_F(JsonOutput, EmptyBatchIsAnEmptyArray) {
    const std::string path = (folder.Path() / "out.json").string();
    const AnalysisFormat format;
    JsonRecordWriter<VoiceAnalysis> writer(path, format);
    writer.Finish();
    EXPECT_EQ(ReadWhole(path), "[]\n");
}

}  // namespace
}  // namespace tesmera
