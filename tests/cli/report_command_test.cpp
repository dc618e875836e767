// SPDX-License-Identifier: GPL-3.0-or-later
// `tesmera-cli report` as a user runs it: its outputs, the period files it
// writes for the window, its statuses and exit codes.
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/recording_report.h"
#include "cli/voice_analysis.h"
#include "support/TempFolder.h"
#include "support/param_name.h"
#include "support/process_run.h"
#include "tools/reading_sample.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

const std::string Program = TESMERA_BINARY_DIR "/cli/tesmera-cli";

std::string Report(const std::string& arguments, const test::TempFolder& folder,
                   int expectedExit = 0) {
    const test::ProcessRun run = test::RunCommand(Program + " report " + arguments, folder);
    EXPECT_EQ(run.exitStatus, expectedExit) << run.output;
    return run.output;
}

std::string WriteVowel(const test::TempFolder& folder, const std::string& name, double f0,
                       double jitter = 0.005) {
    tools::VowelRecipe recipe;
    recipe.Rate = 22050;
    recipe.F0 = f0;
    recipe.Jitter = jitter;
    recipe.Shimmer = 0.02;
    recipe.HnrDb = 25;
    const std::string path = (folder.Path() / name).string();
    tools::WriteVowel(path, tools::GenerateVowel(recipe));
    return path;
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ReportCommand, JsonHasTheKeysScriptsRelyOn) {
    const test::TempFolder folder;
    const std::string vowel = WriteVowel(folder, "anna_g3.wav", 180);
    const nlohmann::ordered_json records =
        nlohmann::ordered_json::parse(Report(vowel + " --json -", folder));
    ASSERT_EQ(records.size(), 1u);
    const nlohmann::ordered_json& r = records[0];
    std::vector<std::string> keys;
    for (const auto& [key, value] : r.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"path",
                                              "status",
                                              "status_code",
                                              "summary",
                                              "tesmera_version",
                                              "sample_rate_hz",
                                              "duration_s",
                                              "channels",
                                              "expert_grade",
                                              "stretch_start_s",
                                              "stretch_end_s",
                                              "cycles_analysed",
                                              "cycles_marked",
                                              "cycles_off_track",
                                              "cycles_misshapen",
                                              "cycles_unscored",
                                              "steady",
                                              "unsteady_reason",
                                              "f0_mean_hz",
                                              "f0_sd_hz",
                                              "jitter_local_pct",
                                              "jitter_local_abs_us",
                                              "jitter_rap_pct",
                                              "jitter_ppq5_pct",
                                              "shimmer_local_pct",
                                              "shimmer_local_db",
                                              "shimmer_apq3_pct",
                                              "shimmer_apq5_pct",
                                              "hnr_db",
                                              "cpps_db",
                                              "f0_mean_hz_se",
                                              "jitter_local_pct_se",
                                              "jitter_local_abs_us_se",
                                              "jitter_rap_pct_se",
                                              "jitter_ppq5_pct_se",
                                              "shimmer_local_pct_se",
                                              "shimmer_local_db_se",
                                              "shimmer_apq3_pct_se",
                                              "shimmer_apq5_pct_se",
                                              "hnr_db_se",
                                              "cpps_db_se",
                                              "quality",
                                              "snr_db",
                                              "clipped_share",
                                              "band_limited",
                                              "avqi",
                                              "avqi_cpps_db",
                                              "avqi_hnr_db",
                                              "avqi_shimmer_local_pct",
                                              "avqi_shimmer_local_db",
                                              "avqi_ltas_slope_db",
                                              "avqi_ltas_tilt_db",
                                              "avqi_speech_voiced_s",
                                              "jitter_local_pct_outside_norm",
                                              "jitter_local_abs_us_outside_norm",
                                              "jitter_rap_pct_outside_norm",
                                              "jitter_ppq5_pct_outside_norm",
                                              "shimmer_local_pct_outside_norm",
                                              "shimmer_local_db_outside_norm",
                                              "cpps_db_outside_norm",
                                              "avqi_outside_norm",
                                              "models"}));
    EXPECT_TRUE(r["summary"].get<std::string>().starts_with("Grade ")) << r["summary"];
    EXPECT_EQ(r["cpps_db_outside_norm"], r["cpps_db"].get<double>() < 14.45);
    EXPECT_EQ(r["jitter_local_pct_outside_norm"], r["jitter_local_pct"].get<double>() >= 1.04);
    EXPECT_TRUE(r["avqi_outside_norm"].is_null());
    EXPECT_EQ(r["status"], "ok");
    EXPECT_EQ(r["expert_grade"], 3);
    EXPECT_EQ(r["sample_rate_hz"], 22050);
    EXPECT_EQ(r["channels"], 1);
    ASSERT_EQ(r["models"].size(), 6u);
    EXPECT_EQ(r["models"][0]["model"], "10");
    EXPECT_EQ(r["models"][5]["model"], "25");
    double shares = 0;
    for (const double share : r["models"][2]["grade_shares"]) {
        shares += share;
    }
    EXPECT_NEAR(shares, 1, 1e-12);
}

// A reading in the voice WriteVowel writes, `seconds` long.
void WriteReading(const test::TempFolder& folder, const std::string& name, double seconds) {
    tools::VowelRecipe recipe;
    recipe.Rate = 22050;
    recipe.F0 = 180;
    recipe.Jitter = 0.005;
    recipe.Shimmer = 0.02;
    recipe.HnrDb = 25;
    recipe.Seconds = seconds;
    tools::WriteMonoWav((folder.Path() / name).string(), recipe.Rate,
                        tools::GenerateReading(recipe));
}

// In a folder, each vowel goes with the reading named after it; a reading is
// no vowel of its own, and a vowel without one gets no index but a warning,
// as does one whose reading holds too little voice.
TEST(ReportCommand, ASpeechSuffixPairsEachVowelWithItsReading) {
    const test::TempFolder folder;
    WriteVowel(folder, "anna.wav", 180);
    WriteReading(folder, "anna_cs.wav", 4);
    WriteVowel(folder, "bert.wav", 180);
    WriteVowel(folder, "carl.wav", 180);
    WriteReading(folder, "carl_cs.wav", 0.6);
    const std::filesystem::path json = folder.Path() / "records.json";
    const std::string output =
        Report(folder.Path().string() + " --speech-suffix _cs --json " + json.string(), folder);
    const auto records = nlohmann::ordered_json::parse(ReadText(json));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_TRUE(records[0]["path"].get<std::string>().ends_with("anna.wav"));
    EXPECT_GT(records[0]["avqi_speech_voiced_s"].get<double>(), 2);
    EXPECT_GT(records[0]["avqi"].get<double>(), 0);
    EXPECT_LT(records[0]["avqi"].get<double>(), 10);
    EXPECT_TRUE(records[1]["avqi"].is_null());
    EXPECT_LT(records[2]["avqi_speech_voiced_s"].get<double>(), 2);
    EXPECT_NE(output.find("bert.wav: AVQI not measured"), std::string::npos) << output;
    EXPECT_NE(output.find("carl.wav: AVQI rests on only"), std::string::npos) << output;
    EXPECT_EQ(output.find("anna.wav:"), std::string::npos) << output;
}

TEST(ReportCommand, OneSpeechRecordingGoesWithOneVowelOnly) {
    const test::TempFolder folder;
    const std::string anna = WriteVowel(folder, "anna.wav", 180);
    const std::string bert = WriteVowel(folder, "bert.wav", 180);
    const std::string output = Report(anna + " " + bert + " --speech " + anna, folder, 64);
    EXPECT_NE(output.find("--speech goes with one recording"), std::string::npos) << output;
}

// Fields of one CSV line; a comma inside quotes separates none.
std::size_t FieldCount(const std::string& line) {
    std::size_t fields = 1;
    bool quoted = false;
    for (const char c : line) {
        quoted = c == '"' ? !quoted : quoted;
        fields += !quoted && c == ',' ? 1 : 0;
    }
    return fields;
}

TEST(ReportCommand, CsvFlattensTheSameFields) {
    const test::TempFolder folder;
    const std::string vowel = WriteVowel(folder, "b2.wav", 140);
    Report(vowel + " --csv " + (folder.Path() / "out.csv").string(), folder);
    std::istringstream csv(ReadText(folder.Path() / "out.csv"));
    std::string header;
    std::string row;
    std::getline(csv, header);
    std::getline(csv, row);
    EXPECT_TRUE(
        header.starts_with("path,status,status_code,summary,tesmera_version,sample_rate_hz,"
                           "duration_s,channels,expert_grade,stretch_start_s,"))
        << header;
    EXPECT_NE(header.find(",model_10_median_value,model_10_median_value_se,model_10_score,"
                          "model_10_iqr,"
                          "model_10_grade_share_1,"),
              std::string::npos);
    EXPECT_TRUE(header.ends_with(",model_25_borderline")) << header;
    EXPECT_NE(header.find(",cpps_db_outside_norm,avqi_outside_norm,"), std::string::npos);
    EXPECT_EQ(FieldCount(header), FieldCount(row));
    // The summary holds commas, so it is quoted.
    EXPECT_EQ(row.substr(0, vowel.size() + 14), vowel + ",ok,ok,\"Grade ");
}

TEST(ReportCommand, PeriodFilesCarryTheGradeForTheWindow) {
    const test::TempFolder folder;
    const std::string vowel = WriteVowel(folder, "anna_g3.wav", 200);
    const std::filesystem::path periods = folder.Path() / "periods";
    const nlohmann::json records =
        nlohmann::json::parse(Report(vowel + " --json - --periods " + periods.string(), folder));
    const std::size_t cycles = records[0]["cycles_analysed"];
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(periods)) {
        ++files;
        EXPECT_EQ(entry.path().filename().string().substr(0, 9), "anna_g3_c");
    }
    EXPECT_EQ(files, cycles);
    const VoiceAnalysis first =
        AnalyseVoiceFile(std::filesystem::directory_iterator(periods)->path().string());
    EXPECT_TRUE(first.Ok()) << first.StatusText();
    ASSERT_TRUE(first.ExpertGrade);
    EXPECT_EQ(*first.ExpertGrade, 3);
    EXPECT_NEAR(first.PeriodFrequency, 200, 200 * 0.03);
}

TEST(ReportCommand, TableShowsScoresSteadinessAndPerturbation) {
    const test::TempFolder folder;
    const std::string out = Report(WriteVowel(folder, "c4.wav", 120), folder);
    for (const char* text : {"status ok, expert grade 4", "cycles analysed", "SCORE(10)",
                             "SCORE(25)", "jitter local", "shimmer local", "HNR", " dB   CPPS ",
                             "    jitter local:      below 1.04 % (MDVP, in the Praat manual)\n"}) {
        EXPECT_NE(out.find(text), std::string::npos) << text << "\n" << out;
    }
    // The summary comes first, right under the recording's name.
    EXPECT_NE(out.find("c4.wav\n  Grade "), std::string::npos) << out;
}

// A rough voice's jitter is marked beside its value, in every output.
TEST(ReportCommand, ValuesOutsideTheirNormAreMarked) {
    const test::TempFolder folder;
    const std::string vowel = WriteVowel(folder, "rough.wav", 120, 0.03);
    const std::string table = Report(vowel, folder);
    EXPECT_NE(table.find("  jitter local "), std::string::npos) << table;
    EXPECT_NE(table.find(" %*, absolute"), std::string::npos) << table;
    const nlohmann::json record = nlohmann::json::parse(Report(vowel + " --json -", folder))[0];
    EXPECT_GE(record["jitter_local_pct"].get<double>(), 1.04);
    EXPECT_EQ(record["jitter_local_pct_outside_norm"], true);
}

TEST(ReportCommand, AnUnreadableRecordingIsReportedAndTheOthersGoOn) {
    const test::TempFolder folder;
    const std::string good = WriteVowel(folder, "d1.wav", 150);
    const std::string missing = (folder.Path() / "missing_2.wav").string();
    Report(missing + " " + good + " --jobs 2 --json " + (folder.Path() / "r.json").string(), folder,
           1);
    const nlohmann::json records = nlohmann::json::parse(ReadText(folder.Path() / "r.json"));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]["status"].get<std::string>().substr(0, 12), "unreadable: ");
    EXPECT_TRUE(records[0]["f0_mean_hz"].is_null());
    EXPECT_EQ(records[0]["models"][0]["score"], nullptr);
    // Values that do not exist are null, never 0 or false.
    for (const char* key : {"sample_rate_hz", "cycles_analysed", "steady", "duration_s"}) {
        EXPECT_TRUE(records[0][key].is_null()) << key;
    }
    EXPECT_EQ(records[0]["tesmera_version"], records[1]["tesmera_version"]);
    EXPECT_EQ(records[1]["status"], "ok");
}

// With the records in files the terminal still says which inputs failed,
// --quiet too, and the table's note on "?" comes only after a "?".
TEST(ReportCommand, TheEndNamesEachFailedInput) {
    const test::TempFolder folder;
    const std::string good = WriteVowel(folder, "d1.wav", 150);
    const std::string missing = (folder.Path() / "missing_2.wav").string();
    const std::string out =
        Report(missing + " " + good + " --csv " + (folder.Path() / "r.csv").string(), folder, 1);
    EXPECT_EQ(out, "tesmera-cli report: 1 of 2 inputs failed:\n  " + missing +
                       ": unreadable: cannot read " + missing + ": no such file\n");
    const std::string table = Report(missing + " --quiet", folder, 1);
    EXPECT_EQ(table.find('?'), std::string::npos) << table;
    EXPECT_NE(table.find("1 of 1 inputs failed:\n  " + missing), std::string::npos) << table;
}

// On a terminal the batch shows how far it is; --quiet keeps it silent.
// `script` gives the program a terminal of its own.
TEST(ReportCommand, ATerminalSeesTheProgressLine) {
    const test::TempFolder folder;
    // One recording given many times makes a batch far longer than the
    // line's quarter-second pause on any machine.
    const std::string vowel = WriteVowel(folder, "p1.wav", 150);
    std::string paths;
    for (int copy = 0; copy < 60; ++copy) {
        paths += vowel + " ";
    }
    const std::string csv = " --jobs 1 --csv " + (folder.Path() / "r.csv").string();
    const auto onTerminal = [&](const std::string& options) {
        return test::RunCommand("script -qec '" + Program + " report " + paths + options +
                                    " >/dev/null' /dev/null",
                                folder)
            .output;
    };
    EXPECT_NE(onTerminal(csv).find(" of 60 files done, 0:0"), std::string::npos);
    EXPECT_EQ(onTerminal(csv + " --quiet").find("files done"), std::string::npos);
}

// An output that fails during the batch costs only itself: the other
// outputs get every record, and the exit status says an output failed.
TEST(ReportCommand, APeriodFileThatCannotBeWrittenKeepsTheRecords) {
    const test::TempFolder folder;
    // The cycle files' names grow past the longest name a folder holds.
    const std::string longName = std::string(245, 'v') + "_3.wav";
    const std::string vowel = WriteVowel(folder, longName, 150);
    const std::string other = WriteVowel(folder, "short_2.wav", 170);
    const std::filesystem::path json = folder.Path() / "r.json";
    const std::filesystem::path csv = folder.Path() / "r.csv";
    const std::filesystem::path periods = folder.Path() / "p";
    const std::string out = Report(vowel + " " + other + " --json " + json.string() + " --csv " +
                                       csv.string() + " --periods " + periods.string(),
                                   folder, 2);
    EXPECT_TRUE(out.starts_with("tesmera-cli report: cannot write " + periods.string())) << out;
    const nlohmann::json records = nlohmann::json::parse(ReadText(json));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]["status"], "ok");
    EXPECT_NE(ReadText(csv).find(longName), std::string::npos);
    // The next recording's cycles are still written.
    const std::size_t cycles = records[1]["cycles_analysed"];
    EXPECT_EQ(static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(periods),
                                                     std::filesystem::directory_iterator())),
              cycles);
}

// Every output is tried before the long batch: a periods "folder" that is a
// file stops the command before anything is analysed or written.
TEST(ReportCommand, AnUnusablePeriodsFolderFailsBeforeTheBatch) {
    const test::TempFolder folder;
    const std::string vowel = WriteVowel(folder, "g1.wav", 150);
    std::ofstream(folder.Path() / "taken") << "a file\n";
    const std::filesystem::path json = folder.Path() / "r.json";
    Report(vowel + " --json " + json.string() + " --periods " + (folder.Path() / "taken").string(),
           folder, 2);
    EXPECT_FALSE(std::filesystem::exists(json));
}

TEST(ReportCommand, JobsKeepTheRecordsInOrder) {
    const test::TempFolder folder;
    std::string paths;
    for (int grade = 1; grade <= 4; ++grade) {
        paths += WriteVowel(folder, "e" + std::to_string(grade) + ".wav", 100 + 30 * grade) + " ";
    }
    const nlohmann::json records =
        nlohmann::json::parse(Report(paths + "--jobs 3 --json -", folder));
    ASSERT_EQ(records.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(records[i]["expert_grade"], static_cast<int>(i + 1));
    }
}

TEST(ReportCommand, UnwritableOutputIsAToolFailure) {
    const test::TempFolder folder;
    Report(
        WriteVowel(folder, "f1.wav", 150) + " --json " + (folder.Path() / "no/such.json").string(),
        folder, 2);
}

// A folder yields every sound file the library reads, by its extension;
// the content decides how it is read.
TEST(ReportCommand, FoldersYieldEverySoundFileTheLibraryReads) {
    const test::TempFolder folder;
    std::filesystem::create_directory(folder.Path() / "in");
    for (const char* name : {"in/a.flac", "in/b.AIFF", "in/c.wav"}) {
        WriteVowel(folder, name, 160);
    }
    std::ofstream(folder.Path() / "in" / "notes.txt") << "not a recording\n";
    const nlohmann::json records =
        nlohmann::json::parse(Report((folder.Path() / "in").string() + " --json -", folder));
    ASSERT_EQ(records.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(records[i]["status"], "ok") << records[i]["path"];
    }
    EXPECT_EQ(std::filesystem::path(records[1]["path"].get<std::string>()).filename(), "b.AIFF");
}

// The grade options act on recordings as they act on period files, whether
// the recordings are reported now or read back from a report.
TEST(AgreementOfRecordings, TakesGradesFromTheTableAndCanIgnoreNames) {
    const test::TempFolder folder;
    const std::string plain = WriteVowel(folder, "plain.wav", 150);
    const std::string named = WriteVowel(folder, "named_4.wav", 200);
    const std::string table = (folder.Path() / "grades.csv").string();
    std::ofstream(table) << "name,grade\nplain,2\n";
    Report(plain + " " + named + " --json " + (folder.Path() / "r.json").string(), folder);
    const std::string agreement =
        Program + " agreement --json - --no-name-grades --grades " + table;
    for (const std::string& input : {"--recordings " + plain + " " + named,
                                     "--from-report " + folder.Path().string() + "/r.json"}) {
        const test::ProcessRun run = test::RunCommand(agreement + " " + input, folder);
        const nlohmann::json figures = nlohmann::json::parse(run.output);
        ASSERT_EQ(figures["grades"].size(), 1u) << input;
        EXPECT_EQ(figures["grades"][0]["path"], plain);
        EXPECT_EQ(figures["grades"][0]["expert_grade"], 2);
        EXPECT_EQ(figures["grades"][0]["grade_source"], "table");
        ASSERT_EQ(figures["skipped"].size(), 1u) << input;
        EXPECT_EQ(figures["skipped"][0]["path"], named);
    }
}

}  // namespace
}  // namespace tesmera
