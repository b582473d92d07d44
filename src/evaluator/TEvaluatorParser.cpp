// The lexer and the parser of the expression language.
//
// The parser descends the grammar by precedence level but keeps the behaviour of the
// table-driven LR parser the language was defined with: each rule's action runs when the rule
// is complete, the M-actions run between a left operand and its operator, and a token that
// cannot follow a finished operand is a syntax error before any action that would need that
// token as lookahead. The LR state stack is counted (fDepth) so that deep nesting ends with
// 1414 at the same depth as before.
#include "evaluator/EvalErrors.h"
#include "evaluator/NumberText.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"
#include "evaluator/Tokens.h"

namespace vyn {

namespace {
constexpr int kMaxTokenChars = 127;

bool IsNameStart(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

[[noreturn]] void SyntaxError() { ThrowEvalError(kErrSyntax); }
}  // namespace

// ---------------------------------------------------------------- lexer

unsigned char TEvaluator::Byte(std::size_t pos) const
{
    return pos < fText.size() ? static_cast<unsigned char>(fText[pos]) : 0;
}

void TEvaluator::SkipBlanks()
{
    // Only control characters and the space are blanks. Bytes from 128 up are not: outside a
    // text literal they are syntax errors, so that a name like "OD²" is not silently read as
    // "OD".
    while (true) {
        unsigned char c = Byte(fCursor);
        if (c == 0 || c > 32) return;
        ++fCursor;
    }
}

int TEvaluator::NextToken()
{
    SkipBlanks();
    fTokenValue.Clear();
    fHasTokenValue = false;
    const unsigned char c = Byte(fCursor);
    if (c == 0) return tkEnd;

    if (IsNameStart(c)) {
        std::size_t start = fCursor;
        while (IsNameChar(Byte(fCursor))) {
            if (fCursor - start == kMaxTokenChars) ThrowEvalError(kErrTokenTooLong, fText.substr(start, kMaxTokenChars));
            ++fCursor;
        }
        fTokenValue.MoveFrom(TStackVal::Named(fText.substr(start, fCursor - start)));
        fHasTokenValue = true;
        return tkName;
    }

    if ((c >= '0' && c <= '9') || c == '.') {
        double value = 0.0;
        std::size_t used = ScanDecimal(fText.substr(fCursor), value);
        if (used == 0) {  // a '.' without a digit: the qualifier dot
            ++fCursor;
            return '.';
        }
        fCursor += used;
        fTokenValue.MoveFrom(TStackVal(value));
        fHasTokenValue = true;
        return tkConst;
    }

    if (c == '"') {
        // No escapes; a missing closing quote runs to the end. The limit counts characters,
        // so a UTF-8 character of several bytes counts once.
        std::size_t start = ++fCursor;
        int chars = 0;
        while (true) {
            unsigned char b = Byte(fCursor);
            if (b == 0 || b == '"') break;
            if ((b & 0xC0) != 0x80) {
                if (chars == kMaxTokenChars) ThrowEvalError(kErrTokenTooLong, fText.substr(start, fCursor - start));
                ++chars;
            }
            ++fCursor;
        }
        fTokenValue.MoveFrom(TStackVal::Text(fText.substr(start, fCursor - start)));
        fHasTokenValue = true;
        if (Byte(fCursor) == '"') ++fCursor;
        return tkConst;
    }

    ++fCursor;
    switch (c) {
    case '{': {
        std::size_t save = fCursor;
        SkipBlanks();
        if (Byte(fCursor) == '}') {
            ++fCursor;
            fTokenValue.SetEmptyVector();
            fHasTokenValue = true;
            return tkEmptyVector;
        }
        fCursor = save;
        return '{';
    }
    case '<':
    case '>':
    case '!': {
        std::size_t save = fCursor;
        SkipBlanks();
        if (Byte(fCursor) == '=') {
            ++fCursor;
            return c == '<' ? int(tkLe) : c == '>' ? int(tkGe) : int(tkNe);
        }
        fCursor = save;
        return c == '<' ? int(tkLt) : c == '>' ? int(tkGt) : int('!');
    }
    case '=':
        return tkEq;
    default:
        return c;
    }
}

int TEvaluator::Lookahead()
{
    if (fLookahead < 0) fLookahead = NextToken();
    return fLookahead;
}

void TEvaluator::Shift()
{
    fLookahead = -1;
    if (!fHasTokenValue) return;
    fHasTokenValue = false;
    if (fParseOnly) fTokenValue.Clear();
    else Push(std::move(fTokenValue));
}

// ---------------------------------------------------------------- parser

void TEvaluator::Nest(int states)
{
    fDepth += states;
    if (fDepth >= kParseDepth) ThrowEvalError(kErrInternal);
}

void TEvaluator::CheckOperandFollow()
{
    switch (Lookahead()) {
    case tkEnd: case '?': case ':': case '|': case '&':
    case tkEq: case tkNe: case tkLt: case tkGt: case tkLe: case tkGe:
    case '+': case '-': case '*': case '/':
    case '[': case ']': case ')': case ',': case '}':
        return;
    default:
        SyntaxError();
    }
}

void TEvaluator::ParseInput()
{
    fDepth = 1;  // the LR parser's start state
    if (Lookahead() == tkEnd) {
        OnEmpty();
        return;
    }
    ParseCond();
    if (Lookahead() != tkEnd) SyntaxError();
}

void TEvaluator::ParseCond()
{
    ParseOr();
    if (Lookahead() != '?') return;
    OnCondTest();
    Shift();
    Nest(3);  // or Mq '?'
    ParseCond();
    if (Lookahead() != ':') SyntaxError();
    OnCondElse();
    Shift();
    Nest(3);  // cond Mc ':'
    ParseCond();
    Unnest(6);
    OnCondEnd();
}

void TEvaluator::ParseOr()
{
    ParseAnd();
    while (Lookahead() == '|') {
        OnChainLeft(kOrSettlesOn);
        Shift();
        Nest(3);  // orlist Mo '|'
        ParseAnd();
        Unnest(3);
        OnChainRight(kOrSettlesOn);
    }
    OnChainEnd(kOrSettlesOn);
}

void TEvaluator::ParseAnd()
{
    ParseEq();
    while (Lookahead() == '&') {
        OnChainLeft(kAndSettlesOn);
        Shift();
        Nest(3);  // andlist Ma '&'
        ParseEq();
        Unnest(3);
        OnChainRight(kAndSettlesOn);
    }
    OnChainEnd(kAndSettlesOn);
}

void TEvaluator::ParseEq()
{
    ParseRel();
    for (int tok = Lookahead(); tok == tkEq || tok == tkNe; tok = Lookahead()) {
        Shift();
        Nest(2);
        ParseRel();
        Unnest(2);
        OnCompare(tok);
    }
}

void TEvaluator::ParseRel()
{
    ParseAdd();
    for (int tok = Lookahead(); tok == tkLt || tok == tkGt || tok == tkLe || tok == tkGe; tok = Lookahead()) {
        Shift();
        Nest(2);
        ParseAdd();
        Unnest(2);
        OnCompare(tok);
    }
}

void TEvaluator::ParseAdd()
{
    ParseMul();
    for (int tok = Lookahead(); tok == '+' || tok == '-'; tok = Lookahead()) {
        Shift();
        Nest(2);
        ParseMul();
        Unnest(2);
        if (tok == '+') OnAdd();
        else OnArith('-');
    }
}

void TEvaluator::ParseMul()
{
    ParseUnary();
    for (int tok = Lookahead(); tok == '*' || tok == '/'; tok = Lookahead()) {
        Shift();
        Nest(2);
        ParseUnary();
        Unnest(2);
        OnArith(tok);
    }
}

void TEvaluator::ParseUnary()
{
    const int tok = Lookahead();
    if (tok != '+' && tok != '-' && tok != '!') {
        ParsePostfix();
        return;
    }
    Shift();
    Nest(1);
    ParseUnary();
    Unnest(1);
    if (tok == '+') OnUnaryPlus();
    else if (tok == '-') OnNegate();
    else OnNot();
}

void TEvaluator::ParseList()
{
    ParseCond();
    OnListItem(true);
    while (Lookahead() == ',') {
        Shift();
        Nest(2);  // list ','
        ParseCond();
        Unnest(2);
        OnListItem(false);
    }
}

// From the '(' after a function's name to its ')'.
void TEvaluator::ParseCallArgs(bool qualified)
{
    const int states = qualified ? 4 : 2;  // name '.' name '('  or  name '('
    Shift();
    Nest(states);
    const bool hasArgs = Lookahead() != ')';
    if (hasArgs) ParseList();
    if (Lookahead() != ')') SyntaxError();
    Shift();
    Unnest(states);
    OnCall(qualified, hasArgs);
}

void TEvaluator::ParsePostfix()
{
    switch (Lookahead()) {
    case tkName: {
        Shift();
        int tok = Lookahead();
        if (tok == '(') {
            ParseCallArgs(false);
        } else if (tok == '.') {
            Shift();
            if (Lookahead() != tkName) SyntaxError();
            Shift();
            if (Lookahead() == '(') {
                ParseCallArgs(true);
            } else {
                CheckOperandFollow();
                OnQualifiedVar();
            }
        }
        // A plain name stays an unresolved reference until an action uses it.
        break;
    }
    case tkConst:
    case tkEmptyVector:
        Shift();
        break;
    case '{':
        Shift();
        Nest(1);
        ParseList();
        if (Lookahead() != '}') SyntaxError();
        Shift();
        Unnest(1);
        OnVectorLiteral();
        break;
    case '(':
        Shift();
        Nest(1);
        ParseCond();
        if (Lookahead() != ')') SyntaxError();
        Shift();
        Unnest(1);
        OnParens();
        break;
    default:
        SyntaxError();
    }

    while (Lookahead() == '[') {
        Shift();
        Nest(2);  // postfix '['
        ParseCond();
        if (Lookahead() != ']') SyntaxError();
        Shift();
        Unnest(2);
        OnIndex();
    }
    CheckOperandFollow();
}

}  // namespace vyn
