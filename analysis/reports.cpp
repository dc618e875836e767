// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/reports.h"

#include "analysis/number_text.h"
#include "wave/errors.h"

namespace tesmera {

const std::string_view CoefficientTableHeader = " i\tax[i]\tbx[i]\tAA[i]";

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view Rule = " -----------------------------------------------------------";

// Fixed-text forms of the report (precision, digits).
constexpr int ScoreValuePrecision = 10;
constexpr int ScoreValueDigits = 4;
constexpr int CoefficientPrecision = 8;
constexpr int CoefficientDigits = 1;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Length of the UTF-8 character that starts at `text[0]`.
std::size_t FirstCharacterLength(std::string_view text) {
    std::size_t length = text.empty() ? 0 : 1;
    while (length < text.size() && IsContinuationByte(text[length])) {
        ++length;
    }
    return length;
}

// The UTF-8 character at the end of a non-empty text.
std::string_view LastCharacter(std::string_view text) {
    std::size_t start = text.size() - 1;
    while (start > 0 && IsContinuationByte(text[start])) {
        --start;
    }
    return text.substr(start);
}

std::string FixedCoefficient(double value, std::string_view decimalSeparator) {
    return FixedText(value, CoefficientPrecision, CoefficientDigits, decimalSeparator);
}

}  // namespace

std::string GradeStem(std::string_view lowerCaseFileName) {
    const std::size_t first = FirstCharacterLength(lowerCaseFileName);
    const std::size_t stop = lowerCaseFileName.find('.', first);
    return std::string(lowerCaseFileName.substr(0, stop));
}

std::int32_t ExpertGradeOf(std::string_view lowerCaseFileName) {
    const std::string stem = GradeStem(lowerCaseFileName);
    if (stem.empty()) {
        throw ConvertError::NotAnInteger("");
    }
    const std::string_view last = LastCharacter(stem);
    if (last.size() != 1 || last[0] < '0' || last[0] > '9') {
        throw ConvertError::NotAnInteger(std::string(last));
    }
    return last[0] - '0';
}

std::string ScoreReport(std::int32_t ExpertGrade,
                        std::span<const std::int32_t, ScoreModelCount> Score,
                        std::span<const double, ScoreModelCount> ScoreValue,
                        std::string_view decimalSeparator) {
    std::string report;
    report.append(" expert ORL\t =  ").append(IntegerText(ExpertGrade)).append(LineEnd);
    report.append(Rule).append(LineEnd);
    for (std::size_t j = 0; j < ScoreModelCount; ++j) {
        report.append(" SCORE(").append(ScoreModels[j].id).append(") \t =  ");
        report.append(IntegerText(Score[j])).append("\t");
        report.append(
            FixedText(ScoreValue[j], ScoreValuePrecision, ScoreValueDigits, decimalSeparator));
        report.append(LineEnd);
    }
    return report;
}

std::string CoefficientTableRow(int i, double ax, double bx, double AA,
                                std::string_view decimalSeparator) {
    std::string row(" ");
    row.append(IntegerText(i));
    for (const double value : {ax, bx, AA}) {
        row.append("\t").append(FixedCoefficient(value, decimalSeparator));
    }
    return row.append(LineEnd);
}

std::string CoefficientTable(std::span<const double, CoefficientCount> ax,
                             std::span<const double, CoefficientCount> bx,
                             std::span<const double, CoefficientCount> AA,
                             std::string_view decimalSeparator) {
    std::string table;
    for (int i = 0; i < CoefficientTableRows; ++i) {
        table.append(CoefficientTableRow(i, ax[i], bx[i], AA[i], decimalSeparator));
    }
    return table;
}

}  // namespace tesmera
