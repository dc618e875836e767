// SPDX-License-Identifier: GPL-3.0-or-later
// Texts for machine-readable outputs: independent of the user's locale and
// exact, unlike the window's fixed texts. They are appended to a text being
// built, so a record needs no string per field.
#pragma once

#include <string>
#include <string_view>

namespace tesmera {

// Appends the shortest text that reads back as the same double, with a
// full stop, and a fraction even for a whole number ("0.1", "-3.0",
// "1e-07"), so it never reads as an integer.
void AppendRoundTripText(std::string& text, double value);

// Appends the integer in decimal digits ("-12").
void AppendIntegerText(std::string& text, long long value);

// Appends `text` as one CSV cell: quoted (inner quotes doubled) when it
// holds a comma, a quote or a line break, and led by an apostrophe when a
// spreadsheet would take it for a formula.
void AppendCsvText(std::string& line, std::string_view text);

// Appends fields separated by commas into a buffer that serves line after
// line (its capacity is kept): numbers go in as characters, never as a
// string of their own.
class CsvLine {
  public:
    explicit CsvLine(std::string& buffer) : line_(buffer) { line_.clear(); }

    void Add(std::string_view field) {
        Separate();
        line_ += field;
    }
    void AddText(std::string_view text) {
        Separate();
        AppendCsvText(line_, text);
    }
    // Shortest text that reads back as the same double ("0.1", "1e-07").
    void AddNumber(double value) {
        Separate();
        AppendRoundTripText(line_, value);
    }
    void AddInteger(long long value) {
        Separate();
        AppendIntegerText(line_, value);
    }
    // Ends the line with its "\n".
    void Finish() { line_ += '\n'; }

  private:
    void Separate() {
        if (!first_) {
            line_ += ',';
        }
        first_ = false;
    }

    std::string& line_;
    bool first_ = true;
};

}  // namespace tesmera
