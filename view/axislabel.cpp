#include "view/axislabel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace curvana {

namespace {

// Decimal exponent of the leading digit of a finite, non-zero value.
int LeadingExponent(double value) {
    return static_cast<int>(std::floor(std::log10(std::fabs(value))));
}

// Decimal exponent of the last digit of the value's shortest form of up to 15 significant
// digits (the general number format's), or INT_MAX for 0.
int LastDigitExponent(double value) {
    if (value == 0)
        return std::numeric_limits<int>::max();
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exponent);
    // d.dddddddddddddd: the digits after the point, less the trailing zeros.
    int decimals = static_cast<int>(e) - 2;
    while (decimals > 0 && text[static_cast<std::size_t>(decimals) + 1] == '0')
        --decimals;
    return exponent - decimals;
}

} // namespace

double AxisLabelValue(double sum, double first, double step) {
    if (!std::isfinite(sum) || !std::isfinite(first) || !std::isfinite(step) || step == 0)
        return sum;
    const int lead = LeadingExponent(step);
    const int written = std::min(LastDigitExponent(first), LastDigitExponent(step));
    const int precision = std::max(lead - 9, std::min(lead - 6, written));
    // Rounded in units of 10^precision; powers of ten up to 10^22 are exact doubles.
    const double unit = std::pow(10.0, std::abs(precision));
    if (!std::isfinite(unit) || unit == 0)
        return sum;
    const double scaled = precision < 0 ? sum * unit : sum / unit;
    // Beyond 2^53 units the sum is already a whole number of them.
    if (!(std::fabs(scaled) < 9007199254740992.0))
        return sum;
    const double units = std::round(scaled);
    const double rounded = precision < 0 ? units / unit : units * unit;
    return rounded == 0 ? 0 : rounded; // no negative zero
}

} // namespace curvana
