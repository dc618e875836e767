// SPDX-License-Identifier: GPL-3.0-or-later
// A problem as a value: a code for scripts and the exact text for people,
// made together where the problem arises, so nothing has to decode a text
// back into its code.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace tesmera {

// Every status a record, a report or a refusal can carry. The names are
// what outputs write (StatusCodeName); they never change once published.
enum class StatusCode {
    Ok,
    NoGrade,  // ok, but the name gives no expert grade
    // Files.
    NotFound,
    InvalidName,
    AccessDenied,
    TooManyOpenFiles,
    ReadBeyondEnd,
    DiskFull,
    InvalidNumericInput,
    IoError,
    // The period file's header check.
    NotRiff,
    NotWave,
    NoFmt,
    NotPcm,
    NotMono,
    Not16Bit,
    NoData,
    RateNotice,  // a rate other than the nominal one; the period is still analysed
    TooLong,
    // The score models' warnings.
    ZeroNorm,
    ZeroAmplitude,
    // Arithmetic.
    DivisionByZero,
    InvalidOperation,
    Overflow,
    // Paths found in folders.
    FolderNotRead,
    IsFolder,
    NotRegularFile,
    // Recordings.
    Unreadable,
    Silent,
    Unvoiced,
    OutsideRecording,  // a chosen time outside the recording
    UnvoicedAtTime,    // a chosen time where no voice sounds
    TooShort,
    AbovePitchRange,
    NotAVoice,  // no harmonics above the fundamental: a pure tone
    TwoVoices,  // two periodicities at unrelated pitches
    Cancelled,
    // Anything else.
    Error,
};

namespace detail {

inline constexpr std::array<std::pair<StatusCode, std::string_view>, 38> StatusCodeNames{{
    {StatusCode::Ok, "ok"},
    {StatusCode::NoGrade, "no_grade"},
    {StatusCode::NotFound, "not_found"},
    {StatusCode::InvalidName, "invalid_name"},
    {StatusCode::AccessDenied, "access_denied"},
    {StatusCode::TooManyOpenFiles, "too_many_open_files"},
    {StatusCode::ReadBeyondEnd, "read_beyond_end"},
    {StatusCode::DiskFull, "disk_full"},
    {StatusCode::InvalidNumericInput, "invalid_numeric_input"},
    {StatusCode::IoError, "io_error"},
    {StatusCode::NotRiff, "not_riff"},
    {StatusCode::NotWave, "not_wave"},
    {StatusCode::NoFmt, "no_fmt"},
    {StatusCode::NotPcm, "not_pcm"},
    {StatusCode::NotMono, "not_mono"},
    {StatusCode::Not16Bit, "not_16bit"},
    {StatusCode::NoData, "no_data"},
    {StatusCode::RateNotice, "rate_notice"},
    {StatusCode::TooLong, "too_long"},
    {StatusCode::ZeroNorm, "zero_norm"},
    {StatusCode::ZeroAmplitude, "zero_amplitude"},
    {StatusCode::DivisionByZero, "division_by_zero"},
    {StatusCode::InvalidOperation, "invalid_operation"},
    {StatusCode::Overflow, "overflow"},
    {StatusCode::FolderNotRead, "folder_not_read"},
    {StatusCode::IsFolder, "is_folder"},
    {StatusCode::NotRegularFile, "not_regular_file"},
    {StatusCode::Unreadable, "unreadable"},
    {StatusCode::Silent, "silent"},
    {StatusCode::Unvoiced, "unvoiced"},
    {StatusCode::OutsideRecording, "outside_recording"},
    {StatusCode::UnvoicedAtTime, "unvoiced_at_time"},
    {StatusCode::TooShort, "too_short"},
    {StatusCode::AbovePitchRange, "above_pitch_range"},
    {StatusCode::NotAVoice, "not_a_voice"},
    {StatusCode::TwoVoices, "two_voices"},
    {StatusCode::Cancelled, "cancelled"},
    {StatusCode::Error, "error"},
}};

}  // namespace detail

// The name outputs write for `code`: "ok", "not_found", ...
constexpr std::string_view StatusCodeName(StatusCode code) {
    for (const auto& [known, name] : detail::StatusCodeNames) {
        if (known == code) {
            return name;
        }
    }
    return "error";
}

// A code with the text a person reads.
struct Status {
    StatusCode Code = StatusCode::Ok;
    std::string Text = "ok";

    bool Ok() const { return Code == StatusCode::Ok; }
    bool operator==(const Status&) const = default;
};

}  // namespace tesmera
