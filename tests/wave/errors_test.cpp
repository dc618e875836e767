// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/errors.h"

#include <cerrno>
#include <cmath>
#include <ostream>

#include <gtest/gtest.h>

#include "support/param_name.h"
#include "wave/checked_math.h"

namespace tesmera {
namespace {

struct ErrnoCase {
    const char* name;
    int errnoValue;
    const char* message;
    friend void PrintTo(const ErrnoCase& c, std::ostream* os) { *os << "errno " << c.errnoValue; }
};

class FileErrorFromErrno : public testing::TestWithParam<ErrnoCase> {};

TEST_P(FileErrorFromErrno, MapsToTheFixedMessage) {
    EXPECT_STREQ(FileError::FromErrno(GetParam().errnoValue).what(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Errno, FileErrorFromErrno,
                         testing::Values(ErrnoCase{"NoSuchFile", ENOENT, "File not found"},
                                         ErrnoCase{"NameTooLong", ENAMETOOLONG, "Invalid filename"},
                                         ErrnoCase{"TooManyOpenFiles", EMFILE,
                                                   "Too many open files"},
                                         ErrnoCase{"AccessDenied", EACCES, "File access denied"},
                                         ErrnoCase{"IsADirectory", EISDIR, "File access denied"},
                                         ErrnoCase{"NoSpaceLeft", ENOSPC, "Disk full"},
                                         ErrnoCase{"InputOutput", EIO, "I/O error 5"}),
                         test::CaseName());

TEST(FileError, OwnCodesHaveTheirMessages) {
    EXPECT_STREQ(FileError(FileError::ReadBeyondEnd).what(), "Read beyond end of file");
    EXPECT_STREQ(FileError(FileError::InvalidNumericInput).what(), "Invalid numeric input");
    EXPECT_STREQ(FileError(32).what(), "I/O error 32");
}

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(ErrorBoxText("File not found"), "File not found.");
    EXPECT_EQ(ErrorBoxText("I/O error 5"), "I/O error 5.");
    EXPECT_EQ(ErrorBoxText("'a' is not a valid integer value"),
              "'a' is not a valid integer value.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
    EXPECT_EQ(ErrorBoxText("Ends in a blank "), "Ends in a blank ");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ConvertError, QuotesTheText) {
    EXPECT_STREQ(ConvertError::NotAnInteger("b").what(), "'b' is not a valid integer value");
}

TEST(CheckedMath, RaisesTheMatchingFloatingPointError) {
    EXPECT_THROW(
        {
            try {
                CheckedDivide(85.0L, 0.0L);
            } catch (const FloatingPointError& e) {
                EXPECT_STREQ(e.what(), "Floating point division by zero");
                throw;
            }
        },
        FloatingPointError);
    EXPECT_THROW(
        {
            try {
                CheckedSqrt(-1e-30L);
            } catch (const FloatingPointError& e) {
                EXPECT_STREQ(e.what(), "Invalid floating point operation");
                throw;
            }
        },
        FloatingPointError);
    try {
        CheckedDivide(1e4000L, 1e-4000L);
        FAIL();
    } catch (const FloatingPointError& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
    try {
        CheckedDivide(0.0L, 0.0L);
        FAIL();
    } catch (const FloatingPointError& e) {
        EXPECT_EQ(e.GetKind(), FloatingPointError::Kind::InvalidOperation);
    }
    EXPECT_THROW(CheckedLog(0.0L), FloatingPointError);
    EXPECT_THROW(CheckedLog(-2.0L), FloatingPointError);
}

TEST(CheckedMath, PassesFiniteResults) {
    EXPECT_EQ(CheckedDivide(85.0L, 2.0L), 42.5L);
    EXPECT_EQ(CheckedSqrt(0.0L), 0.0L);
    EXPECT_NEAR(static_cast<double>(CheckedLog(std::exp(1.0L))), 1.0, 1e-15);
}

}  // namespace
}  // namespace tesmera
