#pragma once

#include <stdexcept>
#include <string>

namespace curvana {

// Errors that end the current command and are shown to the user with their own text.
class ECurvanaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that does not convert to the number it should hold.
class EConvertError : public ECurvanaError {
public:
    using ECurvanaError::ECurvanaError;
};

// A value beyond the range of a double where one has to be stored.
class EOverflow : public ECurvanaError {
public:
    EOverflow() : ECurvanaError("Floating point overflow") {}
};

} // namespace curvana
