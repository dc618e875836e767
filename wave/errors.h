// SPDX-License-Identifier: GPL-3.0-or-later
// The errors of reading and computing that end a command. Each carries the
// exact text that the general error box shows (before the box adds its
// closing full stop).
#pragma once

#include <string>

#include "base/TesmeraError.h"

namespace tesmera {

// A file that cannot be opened, read or written. Codes follow the classic
// runtime-library numbering (2 = not found, 100 = short read, ...), so the
// message is chosen by code and never by the operating system's wording.
class FileError : public TesmeraError {
  public:
    static constexpr int FileNotFound = 2;
    static constexpr int InvalidFilename = 3;
    static constexpr int TooManyOpenFiles = 4;
    static constexpr int AccessDenied = 5;
    static constexpr int ReadBeyondEnd = 100;
    static constexpr int DiskFull = 101;
    static constexpr int InvalidNumericInput = 106;

    explicit FileError(int code);
    // The error for a failed system call, from its errno value.
    static FileError FromErrno(int errnoValue);
    static std::string MessageFor(int code);

    // The runtime-library number, as above.
    int FileCode() const { return fileCode_; }

  private:
    FileError(int code, const std::string& message, StatusCode status);
    int fileCode_;
};

// Division by zero, an invalid operation and overflow are errors, not silent
// infinities or NaNs: a clinician must never see "inf" in a field.
class FloatingPointError : public TesmeraError {
  public:
    enum class Kind { DivisionByZero, InvalidOperation, Overflow };

    explicit FloatingPointError(Kind kind);
    Kind GetKind() const { return kind_; }

  private:
    Kind kind_;
};

// A text that does not convert to an integer, e.g. a grade letter in a file name.
class ConvertError : public TesmeraError {
  public:
    // "'<text>' is not a valid integer value"
    static ConvertError NotAnInteger(const std::string& text);

  private:
    explicit ConvertError(const std::string& message) : TesmeraError(message) {}
};

// The text of the general error box: the message, with a full stop appended
// when its last character sorts after the full stop (letters and digits do;
// '.', '!' and ' ' do not).
std::string ErrorBoxText(const std::string& message);

}  // namespace tesmera
