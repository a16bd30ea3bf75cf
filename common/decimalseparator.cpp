#include "common/decimalseparator.h"

#include <clocale>
#include <cstring>

namespace curvana {

namespace {
char CurrentSeparator = '.';
}

char DecimalSeparator() {
    return CurrentSeparator;
}

void SetDecimalSeparator(char separator) {
    CurrentSeparator = separator;
}

void InitDecimalSeparatorFromLocale() {
    // Ask the C library with the user's numeric locale only, then put the "C" locale back so that
    // no library formatting depends on it: our own conversions apply the separator.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    char saved[256] = "C";
    if (previous != nullptr) {
        std::strncpy(saved, previous, sizeof saved - 1);
    }
    char separator = '.';
    if (std::setlocale(LC_NUMERIC, "") != nullptr) {
        const std::lconv* conv = std::localeconv();
        if (conv != nullptr && conv->decimal_point != nullptr && conv->decimal_point[0] != '\0' &&
            conv->decimal_point[1] == '\0') {
            separator = conv->decimal_point[0];
        }
    }
    std::setlocale(LC_NUMERIC, saved);
    SetDecimalSeparator(separator);
}

} // namespace curvana
