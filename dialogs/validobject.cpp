#include "dialogs/validobject.h"

#include "common/numtext.h"

#include <utility>

namespace curvana {

TErrMessage::TErrMessage(std::int32_t code, std::string text) : Code(code), Text(std::move(text)) {}

void TStackInt::Push(std::int32_t value) {
    FItems.push_back(TStackIntElem{value});
}

std::int32_t TStackInt::Pop() {
    if (FItems.empty())
        return -1;
    const std::int32_t value = FItems.front().Value;
    FItems.pop_front();
    return value;
}

void TValidObject::AddMessage(std::int32_t code, std::string text) {
    FMessages.emplace_back(code, std::move(text));
}

std::string TValidObject::MessageOf(std::int32_t code) const {
    for (const TErrMessage& message : FMessages)
        if (message.Code == code)
            return message.Text;
    return {};
}

std::int32_t TValidObject::PopError() {
    if (!CollectErrors || ErrorQueue.Count() == 0)
        return 0;
    return ErrorQueue.Pop();
}

std::string TValidObject::FirstErrorText() {
    const std::int32_t code = PopError();
    return code == 0 ? std::string() : MessageOf(code);
}

bool TValidObject::Fail(std::int32_t code) {
    ErrorCode = code;
    if (CollectErrors)
        ErrorQueue.Push(code);
    return false;
}

double TValidObject::RealOf(std::string_view text) const {
    return StrToFloatDef(text, FloatDefault);
}

std::int32_t TValidObject::IntOf(std::string_view text) const {
    return StrToIntDef(text, IntDefault);
}

bool TValidObject::CheckNotEmpty(std::int32_t code) {
    // Compared as unsigned bytes: the lead bytes of UTF-8 text are not blanks.
    for (char c : Text)
        if (static_cast<unsigned char>(c) > 32)
            return true;
    return Fail(code);
}

bool TValidObject::CheckFloat(std::int32_t code) {
    return RealOf(Text) != FloatDefault || Fail(code);
}

bool TValidObject::CheckInteger(std::int32_t code) {
    return IntOf(Text) != IntDefault || Fail(code);
}

bool TValidObject::CheckGreaterThan(std::int32_t code, double limit) {
    return RealOf(Text) > limit || Fail(code);
}

bool TValidObject::CheckLessThan(std::int32_t code, double limit) {
    return RealOf(Text) < limit || Fail(code);
}

bool TValidObject::CheckLessThanText(std::string_view otherText, std::int32_t code) {
    return RealOf(Text) < RealOf(otherText) || Fail(code);
}

} // namespace curvana
