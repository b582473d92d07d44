#include "controls/TypedNumberEntry.h"

#include "platform/core/StringTable.h"
#include "platform/gui/MsgBox.h"

namespace vyn {

namespace {
constexpr int kMsgNotANumber = 21340;
constexpr int kAppCaption = 21090;
}  // namespace

std::string NotANumberText(const std::string& typed)
{
    const std::string pattern = GetResStringStd(kMsgNotANumber);
    return FormatWithArg(pattern.c_str(), CutUtf8(typed, 40).c_str());
}

void TellNotANumber(TWindow* owner, const std::string& text)
{
    MessageBox(owner, NotANumberText(text), GetResStringStd(kAppCaption), MB_OK | MB_ICONEXCLAMATION);
}

TypedNumber TakeTypedNumber(TWindow* owner, const std::string& text, double& value)
{
    const TypedNumber kind = ReadTypedNumber(text.c_str(), value);
    if (kind == tnNotANumber) TellNotANumber(owner, text);
    return kind;
}

}  // namespace vyn
