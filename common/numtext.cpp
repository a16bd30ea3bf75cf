#include "common/numtext.h"

#include "common/decimalseparator.h"
#include "common/doublearithmetic.h"
#include "common/errors.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace curvana {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

std::string_view Trim(std::string_view s) {
    s = TrimLeft(s);
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

int HexDigit(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Plain decimals of up to 15 digits ("-12.375"), the numbers documents are made of, without the
// extended detour: the digits form an exact integer m below 2^53 and the value is m / 10^k,
// computed as the extended conversion would round it whenever the double quotient provably
// matches (nearly always). False for every other form; those take the full conversion.
bool ReadPlainDecimal(std::string_view s, double& value) {
    static constexpr double PowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    s = Trim(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    const char separator = DecimalSeparator();
    std::uint64_t m = 0;
    int digits = 0;
    int fraction = -1; // digits after the separator, -1 before it
    for (const char c : s) {
        if (IsDigit(c)) {
            m = m * 10 + static_cast<std::uint64_t>(c - '0');
            fraction += fraction >= 0 ? 1 : 0;
            if (++digits > 15) {
                return false;
            }
        } else if (c == separator && fraction < 0) {
            fraction = 0;
        } else {
            return false;
        }
    }
    if (digits == 0) {
        return false;
    }
    double r = static_cast<double>(m); // exact
    if (m != 0 && fraction > 0 && !doublearithmetic::Divide(r, PowersOfTen[fraction], r)) {
        return false;
    }
    value = negative ? -r : r;
    return true;
}

} // namespace

TTextToReal TextToExtended(std::string_view text, long double& value) {
    std::string_view s = Trim(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // Rebuild the number in the notation std::from_chars reads (locale independent).
    std::string digits;
    bool seenMantissa = false;
    long leadingExponent = 0; // decimal exponent of the first significant digit, for range
    bool seenNonZero = false;
    long integerDigits = 0;
    while (!s.empty() && IsDigit(s.front())) {
        if (s.front() != '0' || seenNonZero) {
            seenNonZero = true;
            ++integerDigits;
        }
        digits += s.front();
        s.remove_prefix(1);
        seenMantissa = true;
    }
    long zerosAfterSeparator = 0;
    // "." is a decimal point in every locale, besides the regional separator.
    if (!s.empty() && (s.front() == DecimalSeparator() || s.front() == '.')) {
        s.remove_prefix(1);
        seenMantissa = true;
        digits += '.';
        while (!s.empty() && IsDigit(s.front())) {
            if (!seenNonZero) {
                if (s.front() == '0') {
                    ++zerosAfterSeparator;
                } else {
                    seenNonZero = true;
                }
            }
            digits += s.front();
            s.remove_prefix(1);
        }
    }
    if (!seenMantissa) {
        return TTextToReal::Invalid;
    }
    long exponent = 0;
    if (!s.empty() && (s.front() == 'e' || s.front() == 'E')) {
        s.remove_prefix(1);
        bool negativeExponent = false;
        if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
            negativeExponent = s.front() == '-';
            s.remove_prefix(1);
        }
        if (s.empty() || !IsDigit(s.front())) {
            return TTextToReal::Invalid;
        }
        while (!s.empty() && IsDigit(s.front())) {
            if (exponent < 100000000) {
                exponent = exponent * 10 + (s.front() - '0');
            }
            s.remove_prefix(1);
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (!s.empty()) {
        return TTextToReal::Invalid;
    }
    if (!seenNonZero) {
        value = negative ? -0.0L : 0.0L;
        return TTextToReal::Ok;
    }
    leadingExponent =
        (integerDigits > 0 ? integerDigits - 1 : -(zerosAfterSeparator + 1)) + exponent;
    if (leadingExponent > 5000) {
        value = std::numeric_limits<long double>::infinity();
    } else if (leadingExponent < -5000) {
        value = 0.0L;
    } else {
        if (digits.front() == '.') {
            digits.insert(digits.begin(), '0');
        }
        digits += 'e';
        digits += std::to_string(exponent);
        long double parsed = 0.0L;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
        if (result.ec == std::errc::result_out_of_range) {
            parsed = leadingExponent > 0 ? std::numeric_limits<long double>::infinity() : 0.0L;
        } else if (result.ec != std::errc()) {
            return TTextToReal::Invalid;
        }
        value = parsed;
    }
    if (negative) {
        value = -value;
    }
    return TTextToReal::Ok;
}

double StoreDouble(long double value) {
    const double stored = static_cast<double>(value);
    if (std::isinf(stored)) {
        throw EOverflow();
    }
    return stored;
}

bool TryStrToFloat(std::string_view text, double& value) {
    if (ReadPlainDecimal(text, value)) {
        return true;
    }
    long double extended = 0;
    if (TextToExtended(text, extended) != TTextToReal::Ok) {
        return false;
    }
    const double stored = static_cast<double>(extended);
    if (std::isinf(stored)) {
        return false;
    }
    value = stored;
    return true;
}

double StrToFloat(std::string_view text) {
    if (double value = 0; TryStrToFloat(text, value)) {
        return value;
    }
    // Failed: convert again only to tell which failure it was.
    long double value = 0;
    if (TextToExtended(text, value) != TTextToReal::Ok) {
        throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    }
    return StoreDouble(value);
}

double StrToFloatDef(std::string_view text, double fallback) {
    long double value = 0;
    if (TextToExtended(text, value) != TTextToReal::Ok) {
        return fallback;
    }
    const double stored = static_cast<double>(value);
    return std::isinf(stored) ? fallback : stored;
}

bool TryStrToInt(std::string_view text, std::int32_t& value) {
    std::string_view s = TrimLeft(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    bool hex = false;
    if (!s.empty() && (s.front() == '$' || s.front() == 'x' || s.front() == 'X')) {
        hex = true;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        hex = true;
        s.remove_prefix(2);
    }
    if (s.empty()) {
        return false;
    }
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    for (const char c : s) {
        const int digit = hex ? HexDigit(c) : (IsDigit(c) ? c - '0' : -1);
        if (digit < 0) {
            return false;
        }
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) {
            return false;
        }
    }
    // Hexadecimal fills all 32 bits, so $FFFFFFFF is -1 as on the platform the format comes from.
    const auto bits = static_cast<std::uint32_t>(magnitude);
    const auto result = static_cast<std::int32_t>(negative ? 0u - bits : bits);
    value = result;
    return true;
}

std::int32_t StrToInt(std::string_view text) {
    std::int32_t value = 0;
    if (!TryStrToInt(text, value)) {
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    }
    return value;
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback) {
    std::int32_t value = 0;
    return TryStrToInt(text, value) ? value : fallback;
}

std::string FloatToStr(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    if (value == 0) {
        return "0";
    }
    // 15 significant digits: d.dddddddddddddde±x
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    std::string digits;
    for (const char c : text.substr(0, e)) {
        if (IsDigit(c)) {
            digits += c;
        }
    }
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exponent);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    const char separator = DecimalSeparator();
    std::string out = value < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        out += digits[0];
        if (digits.size() > 1) {
            out += separator;
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += '0';
        out += separator;
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent + 1);
        if (digits.size() <= integerDigits) {
            out += digits;
            out.append(integerDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, integerDigits);
            out += separator;
            out.append(digits, integerDigits);
        }
    }
    return out;
}

} // namespace curvana
