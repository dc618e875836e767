// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/errors.h"

#include <cerrno>

namespace tesmera {

namespace {

StatusCode FileStatusCode(int fileCode) {
    switch (fileCode) {
        case FileError::FileNotFound:
            return StatusCode::NotFound;
        case FileError::InvalidFilename:
            return StatusCode::InvalidName;
        case FileError::TooManyOpenFiles:
            return StatusCode::TooManyOpenFiles;
        case FileError::AccessDenied:
            return StatusCode::AccessDenied;
        case FileError::ReadBeyondEnd:
            return StatusCode::ReadBeyondEnd;
        case FileError::DiskFull:
            return StatusCode::DiskFull;
        case FileError::InvalidNumericInput:
            return StatusCode::InvalidNumericInput;
        default:
            return StatusCode::IoError;
    }
}

StatusCode FloatingPointStatusCode(FloatingPointError::Kind kind) {
    switch (kind) {
        case FloatingPointError::Kind::DivisionByZero:
            return StatusCode::DivisionByZero;
        case FloatingPointError::Kind::Overflow:
            return StatusCode::Overflow;
        case FloatingPointError::Kind::InvalidOperation:
            break;
    }
    return StatusCode::InvalidOperation;
}

}  // namespace

FileError::FileError(int code) : FileError(code, MessageFor(code), FileStatusCode(code)) {}

FileError::FileError(int code, const std::string& message, StatusCode status)
    : TesmeraError(message, status), fileCode_(code) {}

FileError FileError::FromErrno(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return FileError(FileNotFound);
        case ENAMETOOLONG:
        case EINVAL:
            return FileError(InvalidFilename);
        case EMFILE:
        case ENFILE:
            return FileError(TooManyOpenFiles);
        case EACCES:
        case EPERM:
        case EISDIR:
            return FileError(AccessDenied);
        case ENOSPC:
            return FileError(DiskFull);
        default:
            // Not through MessageFor: errno values overlap the file layer's own
            // codes (EIO is 5, like "File access denied").
            return FileError(errnoValue, "I/O error " + std::to_string(errnoValue),
                             StatusCode::IoError);
    }
}

std::string FileError::MessageFor(int code) {
    switch (code) {
        case FileNotFound:
            return "File not found";
        case InvalidFilename:
            return "Invalid filename";
        case TooManyOpenFiles:
            return "Too many open files";
        case AccessDenied:
            return "File access denied";
        case ReadBeyondEnd:
            return "Read beyond end of file";
        case DiskFull:
            return "Disk full";
        case InvalidNumericInput:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

namespace {

const char* FloatingPointMessage(FloatingPointError::Kind kind) {
    switch (kind) {
        case FloatingPointError::Kind::DivisionByZero:
            return "Floating point division by zero";
        case FloatingPointError::Kind::InvalidOperation:
            return "Invalid floating point operation";
        case FloatingPointError::Kind::Overflow:
            return "Floating point overflow";
    }
    return "Invalid floating point operation";
}

}  // namespace

FloatingPointError::FloatingPointError(Kind kind)
    : TesmeraError(FloatingPointMessage(kind), FloatingPointStatusCode(kind)), kind_(kind) {}

ConvertError ConvertError::NotAnInteger(const std::string& text) {
    return ConvertError("'" + text + "' is not a valid integer value");
}

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + ".";
    }
    return message;
}

}  // namespace tesmera
