// SPDX-License-Identifier: GPL-3.0-or-later
// `tesmera-cli compare` as a user runs it: recordings and report files give
// the same comparison, in every format, and a report without standard
// errors is refused.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_process_support.h"
#include "support/TempFolder.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

std::string WriteVowel(const test::TempFolder& folder, const std::string& name, double jitter) {
    tools::VowelRecipe recipe;
    recipe.Rate = 22050;
    recipe.F0 = 140;
    recipe.Jitter = jitter;
    recipe.Shimmer = 0.03;
    recipe.HnrDb = 25;
    recipe.Seconds = 1.5;
    const std::string path = (folder.Path() / name).string();
    tools::WriteVowel(path, tools::GenerateVowel(recipe));
    return path;
}

std::string RunCli(const std::string& arguments, const test::TempFolder& folder,
                   int exitStatus = 0) {
    const test::ProcessRun run = test::RunProgram(arguments, folder);
    EXPECT_EQ(run.exitStatus, exitStatus) << arguments << "\n" << run.output;
    return run.output;
}

nlohmann::json JsonFile(const std::filesystem::path& path) {
    return nlohmann::json::parse(test::ReadWhole(path));
}

TEST(CompareCommand, RecordingsAndTheirReportsGiveOneComparisonInEveryFormat) {
    const test::TempFolder folder;
    const std::filesystem::path dir = folder.Path();
    const std::string before = WriteVowel(folder, "before.wav", 0.02);
    const std::string after = WriteVowel(folder, "after.wav", 0.008);
    RunCli("report " + before + " --quiet --json " + (dir / "before.json").string(), folder);
    RunCli("report " + after + " --quiet --json-lines " + (dir / "after.json").string(), folder);
    RunCli("compare " + before + " " + after + " --json " + (dir / "rec.json").string() +
               " --csv " + (dir / "rec.csv").string(),
           folder);
    RunCli("compare " + (dir / "before.json").string() + " " + (dir / "after.json").string() +
               " --json " + (dir / "rep.json").string(),
           folder);

    const nlohmann::json fromRecordings = JsonFile(dir / "rec.json");
    const nlohmann::json fromReports = JsonFile(dir / "rep.json");
    // Every figure but AVQI, which needs a speech sample.
    ASSERT_EQ(fromRecordings.size(), 17u);
    ASSERT_EQ(fromReports.size(), fromRecordings.size());
    for (std::size_t i = 0; i < fromRecordings.size(); ++i) {
        for (const char* key :
             {"figure", "key", "model", "before", "after", "change", "noise", "verdict"}) {
            EXPECT_EQ(fromReports[i][key], fromRecordings[i][key]) << i << " " << key;
        }
    }
    EXPECT_EQ(fromRecordings[1]["key"], "jitter_local_pct");
    EXPECT_EQ(fromRecordings[1]["verdict"], "changed");

    std::istringstream csv(test::ReadWhole(dir / "rec.csv"));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line,
              "before_path,after_path,figure,unit,key,model,before,after,change,noise,verdict");
    std::size_t rows = 0;
    while (std::getline(csv, line)) {
        EXPECT_TRUE(line.ends_with(",changed") || line.ends_with(",within measurement noise"))
            << line;
        ++rows;
    }
    EXPECT_EQ(rows, fromRecordings.size());

    const std::string table = RunCli("compare " + before + " " + after, folder);
    EXPECT_NE(table.find("  jitter local (%) "), std::string::npos) << table;
    EXPECT_NE(table.find("  SCORE(25) median "), std::string::npos) << table;

    // A report written before the standard errors existed cannot say what
    // is real, so it is refused rather than compared without them.
    nlohmann::json old = JsonFile(dir / "before.json");
    old[0].erase("hnr_db_se");
    std::ofstream(dir / "old.json") << old.dump();
    const std::string refusal =
        RunCli("compare " + (dir / "old.json").string() + " " + after, folder, 1);
    EXPECT_NE(refusal.find("report the recording again"), std::string::npos) << refusal;
}

}  // namespace
}  // namespace tesmera
