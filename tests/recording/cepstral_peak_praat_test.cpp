// SPDX-License-Identifier: GPL-3.0-or-later
// The smoothed cepstral peak prominence against the peer voice tool's, with
// the settings clinical scripts use, on generated sustained vowels from
// clean to breathy: both read the same file and must agree within 0.5 dB.
#include "recording/cepstral_peak.h"
#include "recording/whole_recording.h"
#include "support/TempFolder.h"
#include "support/param_name.h"
#include "support/process_run.h"
#include "tools/sustained_vowel.h"

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

const std::string PeerScript = TESMERA_SOURCE_DIR "/tests/recording/praat/cpps.praat";

struct PeerCase : test::NamedCase<PeerCase> {
    tools::VowelRecipe recipe;
};

PeerCase Case(std::string name, std::int32_t rate, double f0, double jitter, double shimmer,
              double hnrDb, std::uint32_t seed, double silence = 0.2) {
    return {std::move(name),
            {.Rate = rate,
             .F0 = f0,
             .Jitter = jitter,
             .Shimmer = shimmer,
             .HnrDb = hnrDb,
             .Seconds = 1.5,
             .Silence = silence,
             .Seed = seed}};
}

class CppsAgreesWithThePeer : public ::testing::TestWithParam<PeerCase> {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(std::system("command -v praat >/dev/null 2>&1"), 0)
            << "the peer voice tool is missing: ./scripts/test installs Debian's praat";
    }
};

TEST_P(CppsAgreesWithThePeer, OnTheWholeRecording) {
    const test::TempFolder folder;
    const std::string file = (folder.Path() / "vowel.wav").string();
    tools::WriteVowel(file, tools::GenerateVowel(GetParam().recipe));

    const MonoRecording recording = test::ReadWholeRecording(file);
    const std::optional<double> ours =
        SmoothedCepstralPeakProminence(recording.Samples, recording.SampleRate);
    ASSERT_TRUE(ours.has_value());

    const test::ProcessRun peerRun =
        test::RunCommand("praat --run " + PeerScript + " " + file, folder);
    ASSERT_EQ(peerRun.exitStatus, 0) << peerRun.output;
    double peer = NAN;
    std::istringstream(peerRun.output) >> peer;

    EXPECT_NEAR(*ours, peer, 0.5);
    std::cout << "  CPPS ours " << *ours << " dB, peer " << peer << " dB, deviation "
              << *ours - peer << " dB\n";
}

// Voices of men and women, clean to breathy; the last two without the
// digital silence around the voice, which the others have (its frames,
// nothing but rounding noise once resampled, make up most of the small
// deviations there).
INSTANTIATE_TEST_SUITE_P(
    Table, CppsAgreesWithThePeer,
    ::testing::Values(Case("CleanMale16k", 16000, 110, 0.004, 0.02, 40, 1),
                      Case("HealthyFemale22k", 22050, 210, 0.006, 0.03, 22, 2),
                      Case("HealthyMale44k", 44100, 125, 0.005, 0.025, 25, 3),
                      Case("RoughFemale44k", 44100, 230, 0.012, 0.05, 10, 4),
                      Case("BreathyMale48k", 48000, 105, 0.02, 0.08, 5, 5),
                      Case("BreathyFemale16k", 16000, 220, 0.01, 0.04, 5, 6),
                      Case("CleanFemale48kNoSilence", 48000, 200, 0.003, 0.015, 35, 7, 0),
                      Case("RoughMale44kNoSilence", 44100, 140, 0.015, 0.06, 8, 8, 0)),
    test::CaseName());

}  // namespace
}  // namespace tesmera
