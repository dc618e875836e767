// SPDX-License-Identifier: GPL-3.0-or-later
// The voice quality index against the peer voice tool running the
// published procedure on the same generated vowel and reading: healthy,
// rough and breathy voices, and readings that start a few milliseconds
// later (the peer's index moves with where its 30-ms windows fall, so ours
// must walk the windows as it does). The index within 0.3, each measure
// within its own cross-check's tolerance, and the voiced speech kept within
// a sample's length.
#include "recording/avqi.h"
#include "recording/whole_recording.h"
#include "support/TempFolder.h"
#include "support/param_name.h"
#include "support/process_run.h"
#include "tools/reading_sample.h"
#include "tools/sustained_vowel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

const std::string PeerScript = TESMERA_SOURCE_DIR "/tests/cli/praat/avqi.praat";

constexpr double AvqiTolerance = 0.3;
constexpr double DbTolerance = 0.5;  // CPPS, HNR, LTAS slope and tilt
// Shimmer as the report's cross-check allows it: the larger of a floor and
// a share of the peer's value.
constexpr double ShimmerFloorPct = 0.5;
constexpr double ShimmerFloorDb = 0.05;
constexpr double ShimmerRelative = 0.15;

struct PeerCase : test::NamedCase<PeerCase> {
    tools::VowelRecipe voice;
    double speechDelay = 0;  // seconds of silence before the reading
};

PeerCase Case(std::string name, double f0, double jitter, double shimmer, double hnrDb,
              bool breathy, std::uint32_t seed, double delay = 0) {
    tools::VowelRecipe voice{.Rate = 44100,
                             .F0 = f0,
                             .Jitter = jitter,
                             .Shimmer = shimmer,
                             .HnrDb = hnrDb,
                             .Seconds = 4,
                             .Seed = seed};
    if (breathy) {
        voice.Noise = tools::VowelNoise::Aspiration;
    }
    return {std::move(name), voice, delay};
}

AvqiFigures PeerFigures(const std::string& vowel, const std::string& speech,
                        const test::TempFolder& folder) {
    const test::ProcessRun run =
        test::RunCommand("praat --run " + PeerScript + " " + vowel + " " + speech, folder);
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    AvqiFigures peer;
    std::istringstream(run.output) >> peer.CppsDb >> peer.HnrDb >> peer.ShimmerLocalPct >>
        peer.ShimmerLocalDb >> peer.LtasSlopeDb >> peer.LtasTiltDb >> peer.Avqi >>
        peer.SpeechVoicedSeconds;
    return peer;
}

void ExpectClose(const char* what, double ours, double peer, double allowed) {
    EXPECT_LE(std::fabs(ours - peer), allowed)
        << what << ": ours " << ours << ", peer " << peer << ", allowed " << allowed;
    std::cout << "  " << what << " ours " << ours << " peer " << peer << " deviation "
              << ours - peer << "\n";
}

class AvqiAgreesWithThePeer : public ::testing::TestWithParam<PeerCase> {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(std::system("command -v praat >/dev/null 2>&1"), 0)
            << "the peer voice tool is missing: ./scripts/test installs Debian's praat";
    }
};

TEST_P(AvqiAgreesWithThePeer, OnTheSameVowelAndReading) {
    const test::TempFolder folder;
    const std::string vowelFile = (folder.Path() / "vowel.wav").string();
    const std::string speechFile = (folder.Path() / "reading.wav").string();
    const tools::VowelRecipe& voice = GetParam().voice;
    tools::WriteVowel(vowelFile, tools::GenerateVowel(voice));
    tools::VowelRecipe reading = voice;
    reading.Seconds = 6;
    reading.Silence = 0.3 + GetParam().speechDelay;
    tools::WriteMonoWav(speechFile, voice.Rate, tools::GenerateReading(reading));

    const MonoRecording vowel = test::ReadWholeRecording(vowelFile);
    const MonoRecording speech = test::ReadWholeRecording(speechFile);
    const std::optional<AvqiFigures> ours =
        MeasureAvqi(vowel.Samples, speech.Samples, vowel.SampleRate);
    ASSERT_TRUE(ours.has_value());
    const AvqiFigures peer = PeerFigures(vowelFile, speechFile, folder);

    ExpectClose("AVQI", ours->Avqi, peer.Avqi, AvqiTolerance);
    ExpectClose("CPPS (dB)", ours->CppsDb, peer.CppsDb, DbTolerance);
    ExpectClose("HNR (dB)", ours->HnrDb, peer.HnrDb, DbTolerance);
    ExpectClose("shimmer local (%)", ours->ShimmerLocalPct, peer.ShimmerLocalPct,
                std::max(ShimmerFloorPct, ShimmerRelative * peer.ShimmerLocalPct));
    ExpectClose("shimmer local (dB)", ours->ShimmerLocalDb, peer.ShimmerLocalDb,
                std::max(ShimmerFloorDb, ShimmerRelative * peer.ShimmerLocalDb));
    ExpectClose("LTAS slope (dB)", ours->LtasSlopeDb, peer.LtasSlopeDb, DbTolerance);
    ExpectClose("LTAS tilt (dB)", ours->LtasTiltDb, peer.LtasTiltDb, DbTolerance);
    ExpectClose("voiced speech (s)", ours->SpeechVoicedSeconds, peer.SpeechVoicedSeconds,
                1.0 / voice.Rate);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AvqiAgreesWithThePeer,
    ::testing::Values(Case("HealthyMale", 130, 0.005, 0.03, 25, false, 1),
                      Case("HealthyMaleReadingLater7ms", 130, 0.005, 0.03, 25, false, 1, 0.007),
                      Case("RoughMale", 120, 0.015, 0.08, 10, false, 2),
                      Case("RoughMaleReadingLater11ms", 120, 0.015, 0.08, 10, false, 2, 0.011),
                      Case("BreathyFemale", 200, 0.006, 0.04, 14, true, 3),
                      Case("BreathyFemaleReadingLater23ms", 200, 0.006, 0.04, 14, true, 3, 0.023)),
    test::CaseName());

}  // namespace
}  // namespace tesmera
