// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one sustained vowel of known perturbation as 16-bit PCM WAV, to try
// `tesmera-cli report` on a voice whose jitter, shimmer and noise are known,
// or the whole cross-check set into a folder.
//
// Usage: make_vowel OUT.wav RATE F0 JITTER% SHIMMER% HNR_DB SECONDS [SEED] [OPTIONS]
//        make_vowel --crosscheck-set FOLDER
// With --reading, the file holds continuous speech in that voice instead
// (syllables, fricatives and pauses), the sample of speech that the voice
// quality index takes beside the vowel.
//   e.g. make_vowel /tmp/rough_g4.wav 44100 130 1.5 6 8 3
//        make_vowel /tmp/tremor.wav 44100 130 0.5 3 25 3 --tremor 0.08:3 --drift 0.03
// The options (fractions, seconds and Hz) are listed by the usage text below.

#include <cstdlib>
#include <exception>
#include <iomanip>
#include <iostream>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/crosscheck_voices.h"
#include "tools/reading_sample.h"
#include "tools/sustained_vowel.h"

namespace {

using tesmera::tools::VowelRecipe;

struct Option {
    std::string_view Name;
    std::size_t FewestValues;
    std::size_t MostValues;  // given as VALUE:VALUE:...
    void (*Apply)(VowelRecipe&, const std::vector<double>&);
    std::string_view Values;  // how its values are written, for the usage text
    std::string_view Help;
};

// A value left out of an option takes the recipe's default.
double ValueOr(const std::vector<double>& values, std::size_t index, double fallback) {
    return index < values.size() ? values[index] : fallback;
}

constexpr Option Options[] = {
    {"--drift", 1, 1, [](VowelRecipe& r, const auto& v) { r.Drift = v[0]; }, "FRACTION",
     "F0 rises by this fraction over the voice (0.03)"},
    {"--tremor", 2, 3,
     [](VowelRecipe& r, const auto& v) {
         r.TremorDepth = v[0];
         r.TremorHz = v[1];
         r.TremorAmplitude = ValueOr(v, 2, 0);
     },
     "DEPTH:HZ[:AMP]", "F0 swings by ±DEPTH at HZ, the amplitude by ±AMP (0.08:3)"},
    {"--breathy", 0, 0,
     [](VowelRecipe& r, const auto&) { r.Noise = tesmera::tools::VowelNoise::Aspiration; }, "",
     "the noise is aspiration, shaped and pulsed with each cycle"},
    {"--jump", 2, 2,
     [](VowelRecipe& r, const auto& v) {
         r.JumpAt = v[0];
         r.JumpFactor = v[1];
     },
     "SECONDS:FACTOR", "F0 is multiplied by FACTOR from SECONDS of the voice on (1.2:2)"},
    {"--creak", 1, 2,
     [](VowelRecipe& r, const auto& v) {
         r.CreakShare = v[0];
         r.CreakF0 = ValueOr(v, 1, r.CreakF0);
     },
     "SHARE[:F0]", "the last SHARE of the voice falls into vocal fry (0.3:45)"},
    {"--diplophonia", 1, 2,
     [](VowelRecipe& r, const auto& v) {
         r.AlternatePeriods = v[0];
         r.AlternateAmplitudes = ValueOr(v, 1, 0);
     },
     "PERIODS[:AMPS]", "every other period longer, the others shorter (0.05:0.2)"},
    {"--pure", 0, 0,
     [](VowelRecipe& r, const auto&) { r.Source = tesmera::tools::VowelSource::PureTone; }, "",
     "only the fundamental"},
    {"--whisper", 0, 0,
     [](VowelRecipe& r, const auto&) { r.Source = tesmera::tools::VowelSource::Whisper; }, "",
     "noise through the resonances of /a/, no voice"},
    {"--second", 1, 1, [](VowelRecipe& r, const auto& v) { r.SecondF0 = v[0]; }, "F0",
     "a second, independent voice at this F0 mixed in (210)"},
};

void PrintUsage() {
    std::cerr << "usage: make_vowel OUT.wav RATE F0 JITTER% SHIMMER% HNR_DB SECONDS [SEED] "
                 "[OPTIONS]\n"
                 "       make_vowel --crosscheck-set FOLDER\n"
                 "options:\n"
                 "  --reading                     continuous speech in this voice, not a vowel\n";
    for (const Option& option : Options) {
        const std::string call = std::string(option.Name) + " " + std::string(option.Values);
        std::cerr << "  " << std::left << std::setw(30) << call << option.Help << "\n";
    }
}

std::vector<double> ValuesOf(const std::string& text) {
    std::vector<double> values;
    std::istringstream parts(text);
    for (std::string part; std::getline(parts, part, ':');) {
        values.push_back(std::stod(part));
    }
    return values;
}

const Option& OptionNamed(std::string_view name) {
    for (const Option& option : Options) {
        if (option.Name == name) {
            return option;
        }
    }
    throw std::invalid_argument("unknown option " + std::string(name));
}

// Applies the named options in `arguments` to `recipe` and returns the
// positional arguments.
std::vector<std::string> ApplyOptions(std::span<char*> arguments, VowelRecipe& recipe) {
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string argument = arguments[i];
        if (!argument.starts_with("--")) {
            positional.push_back(argument);
            continue;
        }
        const Option& option = OptionNamed(argument);
        std::vector<double> values;
        if (option.MostValues > 0) {
            if (++i == arguments.size()) {
                throw std::invalid_argument(argument + " needs a value");
            }
            values = ValuesOf(arguments[i]);
        }
        if (values.size() < option.FewestValues || values.size() > option.MostValues) {
            throw std::invalid_argument("wrong number of values for " + argument);
        }
        option.Apply(recipe, values);
    }
    return positional;
}

// The positional arguments after OUT.wav, in their old order.
void ApplyPositional(const std::vector<std::string>& positional, VowelRecipe& recipe) {
    recipe.Rate = std::stoi(positional[1]);
    recipe.F0 = std::stod(positional[2]);
    recipe.Jitter = std::stod(positional[3]) / 100;
    recipe.Shimmer = std::stod(positional[4]) / 100;
    recipe.HnrDb = std::stod(positional[5]);
    recipe.Seconds = std::stod(positional[6]);
    if (positional.size() == 8) {
        recipe.Seed = static_cast<std::uint32_t>(std::stoul(positional[7]));
    }
}

int Run(std::span<char*> arguments) {
    if (arguments.size() == 2 && std::string_view(arguments[0]) == "--crosscheck-set") {
        tesmera::tools::WriteCrossCheckVoices(arguments[1]);
        return 0;
    }
    std::vector<char*> rest(arguments.begin(), arguments.end());
    const bool reading =
        std::erase_if(rest, [](const char* a) { return std::string_view(a) == "--reading"; }) > 0;
    VowelRecipe recipe;
    const std::vector<std::string> positional = ApplyOptions(rest, recipe);
    if (positional.size() != 7 && positional.size() != 8) {
        PrintUsage();
        return 2;
    }
    ApplyPositional(positional, recipe);
    if (reading) {
        tesmera::tools::WriteMonoWav(positional[0], recipe.Rate,
                                     tesmera::tools::GenerateReading(recipe));
    } else {
        tesmera::tools::WriteVowel(positional[0], tesmera::tools::GenerateVowel(recipe));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::span<char*>(argv + 1, argc - 1));
    } catch (const std::exception& error) {
        std::cerr << "make_vowel: " << error.what() << "\n";
        PrintUsage();
        return 1;
    }
}
