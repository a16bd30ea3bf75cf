#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace curvana {

// Text to number and back, in the user's regional notation (see decimalseparator.h).
//
// Real grammar: optional blanks, optional sign, digits, optionally a decimal mark (the regional
// separator or ".", which reads in every locale) and digits, optionally an exponent (E or e,
// optional sign, digits), optional blanks. A lone separator reads as 0. No thousands separators, no
// "inf" or "nan".

enum class TTextToReal { Ok, Invalid };

// Converts in extended precision. A magnitude beyond the extended range gives an infinity,
// a tiny one 0: the caller decides whether storing it as a double overflows.
TTextToReal TextToExtended(std::string_view text, long double& value);

// Converts and stores as a double. Throws EConvertError "'<text>' is not a valid floating point
// value" for text that does not convert and EOverflow for a value beyond the double range.
double StrToFloat(std::string_view text);
// The same without exceptions: false where StrToFloat throws, value untouched then.
bool TryStrToFloat(std::string_view text, double& value);
// The fallback replaces text that does not convert or overflows.
double StrToFloatDef(std::string_view text, double fallback);

// Integer grammar: optional leading blanks, optional sign, then decimal digits or hexadecimal
// digits after "$", "x" or "0x"; nothing after. Hexadecimal takes up to 32 bits (so $FFFFFFFF
// is -1); decimal must fit a signed 32-bit integer.
bool TryStrToInt(std::string_view text, std::int32_t& value);
// Throws EConvertError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

// The general number format: shortest form with up to 15 significant digits, no trailing zeros,
// exponent form when the decimal exponent is 15 or more or below -4, the regional separator.
std::string FloatToStr(double value);

// Stores an extended value as a double; throws EOverflow where it does not fit.
double StoreDouble(long double value);

} // namespace curvana
