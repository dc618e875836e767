#include "wave/errors.h"

#include <cerrno>

namespace tesmera {

FileError::FileError(int code) : TesmeraError(MessageFor(code)), code_(code) {}

FileError::FileError(int code, const std::string& message) : TesmeraError(message), code_(code) {}

FileError FileError::FromErrno(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return FileError(kFileNotFound);
        case ENAMETOOLONG:
        case EINVAL:
            return FileError(kInvalidFilename);
        case EMFILE:
        case ENFILE:
            return FileError(kTooManyOpenFiles);
        case EACCES:
        case EPERM:
        case EISDIR:
            return FileError(kAccessDenied);
        case ENOSPC:
            return FileError(kDiskFull);
        default:
            // Not through MessageFor: errno values overlap the file layer's own
            // codes (EIO is 5, like "File access denied").
            return FileError(errnoValue, "I/O error " + std::to_string(errnoValue));
    }
}

std::string FileError::MessageFor(int code) {
    switch (code) {
        case kFileNotFound:
            return "File not found";
        case kInvalidFilename:
            return "Invalid filename";
        case kTooManyOpenFiles:
            return "Too many open files";
        case kAccessDenied:
            return "File access denied";
        case kReadBeyondEnd:
            return "Read beyond end of file";
        case kDiskFull:
            return "Disk full";
        case kInvalidNumericInput:
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
    : TesmeraError(FloatingPointMessage(kind)), kind_(kind) {}

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
