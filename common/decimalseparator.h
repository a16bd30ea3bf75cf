#pragma once

namespace curvana {

// The decimal separator of the user's regional settings (LC_NUMERIC). It is read once at
// program start; the program never forces "." so documents follow the user's notation.
char DecimalSeparator();

// Tests and the start-up code set it directly.
void SetDecimalSeparator(char separator);

// Reads LC_NUMERIC from the environment (LC_ALL, LC_NUMERIC, LANG in that order) and sets the
// separator from it; "." when the locale is unknown.
void InitDecimalSeparatorFromLocale();

// Sets a separator for the lifetime of a scope and restores the previous one.
class TDecimalSeparatorScope {
public:
    explicit TDecimalSeparatorScope(char separator) : Previous(DecimalSeparator()) {
        SetDecimalSeparator(separator);
    }
    ~TDecimalSeparatorScope() { SetDecimalSeparator(Previous); }
    TDecimalSeparatorScope(const TDecimalSeparatorScope&) = delete;
    TDecimalSeparatorScope& operator=(const TDecimalSeparatorScope&) = delete;

private:
    char Previous;
};

} // namespace curvana
