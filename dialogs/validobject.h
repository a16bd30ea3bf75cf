#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace curvana {

// A message registered for one check code.
class TErrMessage {
public:
    std::int32_t Code = 0;
    std::string Text;

    TErrMessage(std::int32_t code, std::string text);
};

// One queued value.
struct TStackIntElem {
    std::int32_t Value = 0;
};

// Despite the name, a queue: Pop takes the oldest value, so the first failed check comes out
// first.
class TStackInt {
public:
    void Push(std::int32_t value);
    // The oldest value, removed; -1 when empty.
    std::int32_t Pop();
    int Count() const { return static_cast<int>(FItems.size()); }
    void Clear() { FItems.clear(); }

private:
    std::deque<TStackIntElem> FItems;
};

// Checks the texts of a settings dialog before any of them is applied. The caller registers a
// message per code, runs every check (a failure does not stop the later ones) and then shows
// the message of the first failure.
//
// Numbers follow the regional decimal separator. A text that does not convert takes the
// fallback value (FloatDefault, IntDefault), which lies below every sensible limit; a text that
// converts to exactly the fallback counts as not a number.
class TValidObject {
public:
    std::string Text;
    // Code of the most recent failed check; 0 while none failed.
    std::int32_t ErrorCode = 0;
    bool CollectErrors = true;
    // Failed codes in order of failure.
    TStackInt ErrorQueue;
    double FloatDefault = -9999999.999;
    std::int32_t IntDefault = -9999999;

    void SetText(std::string_view text) { Text = std::string(text); }

    // A code may be registered more than once; MessageOf finds the first.
    void AddMessage(std::int32_t code, std::string text);
    // Empty when the code has no message.
    std::string MessageOf(std::int32_t code) const;
    int MessageCount() const { return static_cast<int>(FMessages.size()); }

    // The oldest failed code, removed; 0 when none is queued or CollectErrors is false.
    std::int32_t PopError();
    // The message of PopError(); empty when it gives 0.
    std::string FirstErrorText();

    // Each returns true when Text passes; on failure it records the code and returns false.
    // Not empty once characters of code 32 or less are trimmed at both ends.
    bool CheckNotEmpty(std::int32_t code);
    bool CheckFloat(std::int32_t code);
    bool CheckInteger(std::int32_t code);
    bool CheckGreaterThan(std::int32_t code, double limit);
    bool CheckLessThan(std::int32_t code, double limit);
    // Text's value below otherText's value (the other text comes first).
    bool CheckLessThanText(std::string_view otherText, std::int32_t code);

    // The conversions the checks use, with the fallbacks above.
    double RealOf(std::string_view text) const;
    std::int32_t IntOf(std::string_view text) const;

private:
    bool Fail(std::int32_t code);

    std::vector<TErrMessage> FMessages;
};

} // namespace curvana
