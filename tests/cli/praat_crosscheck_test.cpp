// SPDX-License-Identifier: GPL-3.0-or-later
// `tesmera-cli report` against the peer voice tool on generated sustained
// vowels of known jitter, shimmer and noise: both measure the same stretch
// of the same file, and must agree within the tolerances users rely on.
#include <cmath>
#include <fstream>
#include <iostream>
#include <ostream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/TempFolder.h"
#include "support/param_name.h"
#include "support/process_run.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

const std::string Program = TESMERA_BINARY_DIR "/cli/tesmera-cli";
const std::string PeerScript = TESMERA_SOURCE_DIR "/tests/cli/praat/voice_measures.praat";

struct PeerCase : test::NamedCase<PeerCase> {
    tools::VowelRecipe recipe;
};

PeerCase Case(std::string name, std::int32_t rate, double f0, double jitter, double shimmer,
              double hnrDb, std::uint32_t seed) {
    return {std::move(name),
            {.Rate = rate,
             .F0 = f0,
             .Jitter = jitter,
             .Shimmer = shimmer,
             .HnrDb = hnrDb,
             .Seconds = 2,
             .Seed = seed}};
}

struct PeerFigures {
    double f0;
    double jitter;
    double shimmer;
    double hnr;
};

class AgreementWithThePeer : public ::testing::TestWithParam<PeerCase> {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(std::system("command -v praat >/dev/null 2>&1"), 0)
            << "the peer voice tool is missing: ./scripts/test installs Debian's praat";
    }
};

// |ours − peer| within the larger of an absolute and a relative tolerance.
void ExpectClose(const char* what, double ours, double peer, double absolute, double relative) {
    const double allowed = std::max(absolute, relative * std::fabs(peer));
    EXPECT_LE(std::fabs(ours - peer), allowed)
        << what << ": ours " << ours << ", peer " << peer << ", allowed " << allowed;
    std::cout << "  " << what << " ours " << ours << " peer " << peer << " deviation "
              << ours - peer << "\n";
}

TEST_P(AgreementWithThePeer, OnTheSameStretch) {
    const tools::VowelRecipe& recipe = GetParam().recipe;
    const test::TempFolder folder;
    const std::string file = (folder.Path() / "vowel.wav").string();
    tools::WriteVowel(file, tools::GenerateVowel(recipe));

    const test::ProcessRun ours =
        test::RunCommand(Program + " report " + file + " --json -", folder);
    ASSERT_EQ(ours.exitStatus, 0) << ours.output;
    const nlohmann::json report = nlohmann::json::parse(ours.output).at(0);
    ASSERT_EQ(report["status"], "ok");
    const double from = report["stretch_start_s"];
    const double to = report["stretch_end_s"];

    std::ostringstream peerCommand;
    peerCommand << "praat --run " << PeerScript << " " << file << " " << from << " " << to;
    const test::ProcessRun peerRun = test::RunCommand(peerCommand.str(), folder);
    ASSERT_EQ(peerRun.exitStatus, 0) << peerRun.output;
    PeerFigures peer{};
    std::istringstream(peerRun.output) >> peer.f0 >> peer.jitter >> peer.shimmer >> peer.hnr;

    ExpectClose("F0 mean (Hz)", report["f0_mean_hz"], peer.f0, 0, 0.005);
    ExpectClose("jitter local (%)", report["jitter_local_pct"], 100 * peer.jitter, 0.15, 0.15);
    ExpectClose("shimmer local (%)", report["shimmer_local_pct"], 100 * peer.shimmer, 0.5, 0.15);
    ExpectClose("HNR (dB)", report["hnr_db"], peer.hnr, 0.5, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, AgreementWithThePeer,
                         ::testing::Values(Case("Clean16k", 16000, 110, 0.004, 0.02, 40, 1),
                                           Case("Healthy22k", 22050, 210, 0.006, 0.03, 22, 2),
                                           Case("Breathy32k", 32000, 180, 0.008, 0.04, 12, 3),
                                           Case("Healthy44k", 44100, 125, 0.005, 0.025, 25, 4),
                                           Case("Rough44k", 44100, 140, 0.015, 0.06, 8, 5),
                                           Case("Rough48k", 48000, 230, 0.012, 0.05, 10, 6),
                                           Case("VeryRough48k", 48000, 105, 0.02, 0.08, 5, 7),
                                           Case("Steady48k", 48000, 160, 0.002, 0.01, 35, 8)),
                         test::CaseName());

}  // namespace
}  // namespace tesmera
