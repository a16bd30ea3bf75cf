#include "common/decimalseparator.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/types.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace curvana {
namespace {

struct RealCase {
    char separator;
    const char* text;
    bool converts;
    double value;
};

TEST(TextToReal, ReadsTheDocumentGrammarInTheRegionalNotation) {
    const RealCase cases[] = {
        {'.', "1.5", true, 1.5},      {'.', "  -2.25  ", true, -2.25},
        {'.', "+3", true, 3},         {'.', "1e3", true, 1000},
        {'.', "1.5E-2", true, 0.015}, {'.', "2.", true, 2},
        {'.', ".5", true, 0.5},       {'.', ".", true, 0},
        {'.', "\t7\n", true, 7},      {'.', "1e-400", true, 0},
        {',', "1,5", true, 1.5},      {',', "1.5", true, 1.5}, // "." reads in every locale
        {',', "-.25e1", true, -2.5},  {',', "1,5.2", false, 0},
        {',', "1.5,2", false, 0},     {'.', "1,5", false, 0},
        {'.', "", false, 0},          {'.', "   ", false, 0},
        {'.', "-", false, 0},         {'.', "1e", false, 0},
        {'.', "e5", false, 0},        {'.', "1.2.3", false, 0},
        {'.', "1 000", false, 0},     {'.', "inf", false, 0},
        {'.', "nan", false, 0},       {'.', "0x10", false, 0},
        {'.', "abc", false, 0},
    };
    for (const RealCase& c : cases) {
        TDecimalSeparatorScope scope(c.separator);
        long double value = -1;
        const bool ok = TextToExtended(c.text, value) == TTextToReal::Ok;
        EXPECT_EQ(ok, c.converts) << "'" << c.text << "' with separator " << c.separator;
        if (ok && c.converts) {
            EXPECT_DOUBLE_EQ(static_cast<double>(value), c.value) << c.text;
        }
    }
}

TEST(TextToReal, StrToFloatReportsTheTextOrOverflow) {
    TDecimalSeparatorScope scope('.');
    EXPECT_DOUBLE_EQ(StrToFloat("-10"), -10.0);
    try {
        StrToFloat("ten");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'ten' is not a valid floating point value");
    }
    EXPECT_THROW(StrToFloat("1e400"), EOverflow);
    EXPECT_THROW(StrToFloat("1" + std::string(400, '0')), EOverflow);
    EXPECT_THROW(StrToFloat("-1e99999999999"), EOverflow);
    EXPECT_DOUBLE_EQ(StrToFloat("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(StrToFloatDef("x", -9999999.999), -9999999.999);
    EXPECT_EQ(StrToFloatDef("1e999", 4.0), 4.0);
    EXPECT_EQ(StrToFloatDef("4.5", 0), 4.5);
}

// The table reader converts with TryStrToFloat and leaves every failure to StrToFloat, so both
// must agree on every text: the same double where one converts, a failure where the other throws.
TEST(TextToReal, TryStrToFloatAgreesWithStrToFloat) {
    TDecimalSeparatorScope scope('.');
    for (const char* text :
         {"-10", " 2.5\n", "1e-400", "1.7976931348623157e308", "0.1", "-0", "12345678901234567",
          "ten", "", " ", "1e400", "-1e99999999999", "1,5", "1.2.3"}) {
        double tried = -7;
        const bool ok = TryStrToFloat(text, tried);
        try {
            const double thrown = StrToFloat(text);
            EXPECT_TRUE(ok) << text;
            EXPECT_EQ(std::memcmp(&tried, &thrown, sizeof tried), 0) << text;
        } catch (const ECurvanaError&) {
            EXPECT_FALSE(ok) << text;
            EXPECT_EQ(tried, -7) << text; // untouched
        }
    }
}

// Plain decimals take a quicker way than the extended conversion; it must give the same double,
// bit for bit, also where rounding twice (to extended, then to double) differs from rounding once.
TEST(TextToReal, PlainDecimalsConvertAsTheExtendedWayDoes) {
    std::mt19937_64 random(17);
    int onceRoundedDiffers = 0;
    for (const char separator : {'.', ','}) {
        TDecimalSeparatorScope scope(separator);
        for (int i = 0; i < 200000; ++i) {
            const int digits = 1 + static_cast<int>(random() % 17);
            std::string text = random() % 4 == 0 ? " -" : (random() % 5 == 0 ? "+" : "");
            const int point = static_cast<int>(random() % (digits + 2)) - 1; // -1: none
            for (int d = 0; d < digits; ++d) {
                if (d == point) {
                    text += separator;
                }
                text += static_cast<char>('0' + random() % 10);
            }
            if (point == digits) {
                text += separator;
            }
            long double extended = 0;
            ASSERT_EQ(TextToExtended(text, extended), TTextToReal::Ok) << text;
            const double expected = StoreDouble(extended);
            const double got = StrToFloat(text);
            ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << text;
            std::string plain = text;
            for (char& c : plain) {
                c = c == separator ? '.' : c;
            }
            const std::size_t start = plain.find_first_not_of(" +");
            double once = 0;
            std::from_chars(plain.data() + start, plain.data() + plain.size(), once);
            onceRoundedDiffers += once != expected ? 1 : 0;
        }
    }
    EXPECT_GT(onceRoundedDiffers, 10); // the fixture reaches the cases that matter
}

TEST(TextToReal, HugeExponentsAndLongMantissasStayBounded) {
    TDecimalSeparatorScope scope('.');
    long double value = 0;
    ASSERT_EQ(TextToExtended("0." + std::string(100000, '0') + "1", value), TTextToReal::Ok);
    EXPECT_EQ(value, 0.0L);
    ASSERT_EQ(TextToExtended("1e4000", value), TTextToReal::Ok);
    EXPECT_TRUE(std::isfinite(value)); // inside the extended range
    ASSERT_EQ(TextToExtended("1e6000", value), TTextToReal::Ok);
    EXPECT_TRUE(std::isinf(value));
}

struct IntCase {
    const char* text;
    bool converts;
    std::int32_t value;
};

TEST(TextToInteger, DecimalAndHexadecimal) {
    const IntCase cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"  -7", true, -7},
        {"+8", true, 8},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, std::numeric_limits<std::int32_t>::min()},
        {"2147483648", false, 0},
        {"$FF", true, 255},
        {"x1f", true, 31},
        {"0x10", true, 16},
        {"0X10", true, 16},
        {"-$10", true, -16},
        {"$FFFFFFFF", true, -1},
        {"$FF000008", true, static_cast<std::int32_t>(0xFF000008u)},
        {"$100000000", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"1 ", false, 0},
        {"1.0", false, 0},
        {"true", false, 0},
        {"12a", false, 0},
        {"99999999999999999999999", false, 0},
    };
    for (const IntCase& c : cases) {
        std::int32_t value = -123;
        EXPECT_EQ(TryStrToInt(c.text, value), c.converts) << "'" << c.text << "'";
        if (c.converts) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(TextToInteger, StrToIntReportsTheText) {
    try {
        StrToInt("yes");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'yes' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_EQ(StrToIntDef("nope", -9999999), -9999999);
    EXPECT_EQ(StrToIntDef("12", 0), 12);
}

struct FormatCase {
    double value;
    const char* text;
};

TEST(GeneralFormat, ShortestFormWithFifteenDigits) {
    TDecimalSeparatorScope scope('.');
    const FormatCase cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-10, "-10"},
        {1.5, "1.5"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {3.141592653589793, "3.14159265358979"},
        {0.0001, "0.0001"},
        {0.00012, "0.00012"},
        {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"},
        {123456789012345, "123456789012345"},
        {999999999999999, "999999999999999"},
        {1e15, "1E15"},
        {1.25e20, "1.25E20"},
        {-2.5e-300, "-2.5E-300"},
        {1e308, "1E308"},
        {100, "100"},
        {1234.5, "1234.5"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
    }
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(GeneralFormat, UsesTheRegionalSeparatorAndRoundTrips) {
    TDecimalSeparatorScope scope(',');
    EXPECT_EQ(FloatToStr(-2.5), "-2,5");
    EXPECT_EQ(FloatToStr(2.5e-9), "2,5E-9");
    for (const double v : {0.1, -123.456, 6.02214076e23, 1e-5, 0.3}) {
        EXPECT_EQ(StrToFloat(FloatToStr(v)), v);
    }
}

TEST(Colors, SystemColorsHaveTheTopByteSet) {
    EXPECT_TRUE(IsSystemColor(clWindowText));
    EXPECT_EQ(SystemColorIndex(clWindowText), 8);
    EXPECT_EQ(clWindow, static_cast<TColor>(0xFF000005u));
    EXPECT_FALSE(IsSystemColor(clWhite));
    EXPECT_FALSE(IsSystemColor(0x7FFFFFFF));
    EXPECT_EQ(RGBColor(255, 0, 0), 255);
    EXPECT_EQ(BlueOf(0x00FF0000), 255);
    EXPECT_EQ(GreenOf(clGray), 0x80);
}

} // namespace
} // namespace curvana
