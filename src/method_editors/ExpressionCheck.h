#pragma once
// The syntax check of an expression typed on a method page. A page does not keep a text that
// does not parse without asking: the error would otherwise show only at calculation, as a
// cascade of errors in everything that uses the definition.
#include <set>
#include <string>

#include "plate/twostr.h"

namespace vyn {

class TWindow;

struct ExpressionFault {
    bool parses = true;
    std::string message;  // the evaluator's message
    int position = 0;     // where the parser stopped, in characters
};

// Parses the text without evaluating it: names are not looked up. The empty text parses.
ExpressionFault CheckExpression(const std::string& text);

// Asks about texts that do not parse, and remembers those the user chose to keep, so that
// leaving the page again does not ask again.
class ExpressionGuard {
public:
    // True when the text parses or the user keeps it; else the caret position to correct at.
    bool Accept(TWindow* parent, const std::string& name, const std::string& text, int& position);
    // The same for every definition of the list; false with the index of the one to correct.
    bool AcceptAll(TWindow* parent, const TwostrArray& defs, int& index, int& position);

private:
    std::set<std::string> kept_;
};

}  // namespace vyn
