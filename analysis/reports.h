// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a compute: the expert grade read from the file name, the
// score report and the coefficient table. Each line ends in "\r\n", the
// memo's own line break.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "analysis/fourier_apr.h"
#include "analysis/scores.h"

namespace tesmera {

// Rows 0..CoefficientTableRows−1 of the coefficient table.
constexpr int CoefficientTableRows = 16;

// The header line above the coefficient table, without a line end.
extern const std::string_view CoefficientTableHeader;

// The refusal of an analysis: no recording loaded, or one longer than the
// signal buffers (MaxSamples samples).
constexpr std::string_view NothingToAnalyseWarning =
    " Soubor *.WAV neni v pameti  \r\n Delka zaznamu je vetsi nez 10000 vzorku ";

// The part of a file name (already without its folder and lower-cased)
// before the first full stop that follows its first character; the first
// character always belongs to it, even when it is a full stop. Characters
// are UTF-8 sequences, never split. Empty for an empty name.
std::string GradeStem(std::string_view lowerCaseFileName);

// The expert's grade: the last character of the grade stem as a digit 0..9.
// Throws ConvertError ("'<character>' is not a valid integer value") for any
// other character, and with an empty text for an empty name.
std::int32_t ExpertGradeOf(std::string_view lowerCaseFileName);

// Eight lines: the expert grade, a rule, then "SCORE(<id>)" with each
// model's score and value (fixed text with 4 decimals), models in the order
// of ScoreModels.
std::string ScoreReport(std::int32_t ExpertGrade,
                        std::span<const std::int32_t, ScoreModelCount> Score,
                        std::span<const double, ScoreModelCount> ScoreValue,
                        std::string_view decimalSeparator);

// One line of the coefficient table: the harmonic, then ax, bx and AA with
// one decimal, separated by tabs.
std::string CoefficientTableRow(int i, double ax, double bx, double AA,
                                std::string_view decimalSeparator);

// Rows for harmonics 0..15, one after the other.
std::string CoefficientTable(std::span<const double, CoefficientCount> ax,
                             std::span<const double, CoefficientCount> bx,
                             std::span<const double, CoefficientCount> AA,
                             std::string_view decimalSeparator);

}  // namespace tesmera
