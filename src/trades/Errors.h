#pragma once

#include <stdexcept>
#include <string>

namespace corvane {

// A cell that must hold a number holds something else. The message is the one the user sees:
// "'<cell text>' is not a valid floating point value".
class ConversionError : public std::runtime_error
{
public:
    explicit ConversionError(const std::string& cellText)
        : std::runtime_error("'" + cellText + "' is not a valid floating point value")
    {
    }
};

// A file could not be opened, read or written; the message names the file and the reason.
class FileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace corvane
