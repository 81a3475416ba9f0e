#pragma once

#include <stdexcept>

// Data handed to the reader that is not Rich Text Format. The reader leaves the document
// as it was; callers turn this into their own kind of failure.
class RtfFormatError : public std::runtime_error {
public:
    RtfFormatError() : std::runtime_error("The file is not in Rich Text Format.") {}
};
