#pragma once

#include <stdexcept>
#include <string>

namespace norvale {

// The one base of every error the core raises. Its text is what the user sees in
// the general error report, so it is always a complete, user-readable message.
class ENorvaleError : public std::runtime_error {
public:
    explicit ENorvaleError(const std::string& message) : std::runtime_error(message) {}
};

// A file could not be opened, read, created or written; the text names the file.
class EFileError : public ENorvaleError {
public:
    using ENorvaleError::ENorvaleError;
};

}  // namespace norvale
