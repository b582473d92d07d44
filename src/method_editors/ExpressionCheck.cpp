#include "method_editors/ExpressionCheck.h"

#include <algorithm>
#include <initializer_list>

#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"
#include "platform/core/StringTable.h"
#include "platform/gui/MsgBox.h"

namespace vyn {

namespace {

constexpr int kFaultQuestion = 3242;  // "%s" name, message, position, text before, text after
constexpr int kWarningCaption = 3254;

int CharCount(const std::string& text, std::size_t bytes)
{
    int n = 0;
    for (std::size_t i = 0; i < bytes && i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++n;
    return n;
}

// Puts the values in place of the pattern's "%s" in order; a value's own "%s" stays as it is.
std::string Fill(const std::string& pattern, std::initializer_list<std::string> values)
{
    std::string out;
    std::size_t from = 0;
    for (const std::string& value : values) {
        const std::size_t at = pattern.find("%s", from);
        if (at == std::string::npos) break;
        out += pattern.substr(from, at - from) + value;
        from = at + 2;
    }
    return out + pattern.substr(from);
}

}  // namespace

ExpressionFault CheckExpression(const std::string& text)
{
    ExpressionFault fault;
    TEvaluator ev;
    if (ev.Evaluate(text, false) >= 0) return fault;
    fault.parses = false;
    fault.message = QExcErr().GetText();
    const std::size_t at = std::min(ev.CursorOffset(), text.size());
    fault.position = CharCount(text, at);
    return fault;
}

bool ExpressionGuard::Accept(TWindow* parent, const std::string& name, const std::string& text, int& position)
{
    if (kept_.count(text)) return true;
    const ExpressionFault fault = CheckExpression(text);
    if (fault.parses) return true;
    std::size_t at = 0;
    for (int chars = 0; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) continue;
        if (chars++ == fault.position) break;
    }
    const std::string question = Fill(GetResString(kFaultQuestion), {name, fault.message,
                                      std::to_string(fault.position + 1), text.substr(0, at), text.substr(at)});
    if (MessageBox(parent, question, GetResString(kWarningCaption), MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) ==
        IDYES) {
        kept_.insert(text);
        return true;
    }
    position = fault.position;
    return false;
}

bool ExpressionGuard::AcceptAll(TWindow* parent, const TwostrArray& defs, int& index, int& position)
{
    for (std::size_t i = 0; i < defs.size(); ++i) {
        if (Accept(parent, defs[i].name, defs[i].text, position)) continue;
        index = static_cast<int>(i);
        return false;
    }
    return true;
}

}  // namespace vyn
