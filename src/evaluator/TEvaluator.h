#pragma once
// Parses and evaluates one expression text against the names that a chain of pools supplies.
//
// Usage:
//     TEvaluator ev;                       // itself the last pool: the built-ins answer last
//     ev.AddVarPool(&plate); ev.AddFuncPool(&plate);
//     ev.AddVarPool(&sample); ev.AddFuncPool(&sample);  // the most specific last: asked first
//     switch (ev.Evaluate(text)) {
//     case 0: result = ev.Result(); break;               // copy keeps result's own name
//     case 1: /* empty expression */ break;
//     default: { QExcErr err; message = err.GetText(); pos = ev.CursorOffset(); }
//     }
//
// A pool belongs to one evaluator's chain at a time (registering it overwrites its next
// pool); the destructor unlinks every pool but destroys none, so a pool must outlive the
// evaluator or be removed first (RemoveVarPool, RestorePoolDepth).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "evaluator/TFuncPool.h"
#include "evaluator/TStackVal.h"
#include "evaluator/TVarPool.h"

namespace vyn {

class TEvaluator : public TVarPool, public TFuncPool {
public:
    static constexpr int kStackSize = 100;   // value slots
    static constexpr int kParseDepth = 100;  // nesting limit of the parser (1414 beyond)

    // Mark-word bits, one word beside each value slot.
    enum : std::uint32_t {
        mkOrAndChain = 1,  // an or / and chain started at this operand
        mkCondTested = 2,  // this conditional's condition was evaluated
        mkFirstItem = 4,   // first item of a list
        mkListItem = 8,    // item of a list
    };

    TEvaluator();
    ~TEvaluator() override;
    TEvaluator(const TEvaluator&) = delete;
    TEvaluator& operator=(const TEvaluator&) = delete;

    // --- pool chains ---
    void AddVarPool(TVarPool* pool);   // becomes the head: asked first
    void AddFuncPool(TFuncPool* pool);
    void RemoveVarPool();              // unlinks the head
    void RemoveFuncPool();
    // Variable pools in the low 16 bits, function pools in the high 16 bits (this evaluator
    // counts in both).
    std::uint32_t PoolDepth() const;
    // Unlinks head pools until both chains have the lengths of a PoolDepth() value again.
    void RestorePoolDepth(std::uint32_t depth);
    TVarPool* VarPoolHead() const { return fVarHead; }
    TFuncPool* FuncPoolHead() const { return fFuncHead; }

    // --- evaluation ---
    // Evaluates (or with evaluate false only parses) the text. A zero byte ends the text.
    // Returns 0 when done, 1 for an empty expression (1400), -1 for any other error; the
    // error's id and context stay pending for QExcErr, and the evaluator is left empty.
    int Evaluate(std::string_view text, bool evaluate = true);
    int Evaluate(const char* text, bool evaluate = true);  // nullptr counts as empty
    // The bottom value of the stack, or a shared number holding NoValue when there is none.
    const TStackVal& Result() const;
    // Where the lexer stopped in the last text (the error position after a failure).
    std::size_t CursorOffset() const { return fCursor; }
    // Frees every stack value, clears every mark; top -1, active.
    void Reset();

    // --- value stack ---
    void Push(TStackVal value);    // 1416 at kStackSize values (the value is not stored)
    TStackVal Pop();               // 1417 on an empty stack
    TStackVal& Peek(int offset);   // 0 = top, -1 below it ...; 1414 outside the stack
    std::uint32_t& PeekMark(int offset);
    int Top() const { return fTop; }  // -1 when empty
    bool IsActive() const { return fActive; }

    // --- the evaluator's own names (the built-in variables and functions) ---
    bool GetVar(TStackVal& value) override;
    bool CallFunc(TStackVal* args, int count) override;

private:
    // lexer
    int NextToken();
    void SkipBlanks();
    unsigned char Byte(std::size_t pos) const;
    int Lookahead();
    void Shift();

    // parser
    void ParseInput();
    void ParseCond();
    void ParseOr();
    void ParseAnd();
    void ParseEq();
    void ParseRel();
    void ParseAdd();
    void ParseMul();
    void ParseUnary();
    void ParsePostfix();
    void ParseList();
    void ParseCallArgs(bool qualified);
    void CheckOperandFollow();
    void Nest(int states);
    void Unnest(int states) { fDepth -= states; }

    // actions
    void OnEmpty();
    void OnCondTest();
    void OnCondElse();
    void OnCondEnd();
    // An or chain settles on a true operand, an and chain on a false one.
    static constexpr bool kOrSettlesOn = true;
    static constexpr bool kAndSettlesOn = false;
    void OnChainLeft(bool settlesOn);
    void OnChainRight(bool settlesOn);
    void OnChainEnd(bool settlesOn);
    void OnCompare(int token);
    void OnAdd();
    void OnArith(int op);
    void OnUnaryPlus();
    void OnNegate();
    void OnNot();
    void OnUnaryMap(double (*op)(double));
    void OnCall(bool qualified, bool hasArgs);
    void OnIndex();
    void OnQualifiedVar();
    void OnVectorLiteral();
    void OnParens();
    void OnListItem(bool first);

    // Ends an action early in parse-only mode or, dropping the right operand, in a skipped
    // branch.
    bool SkipsBinary();
    void Resolve(TStackVal& v);
    void ReplaceTop(int operands, TStackVal result);
    void DropTop(int count);
    int CountListItems();

    TVarPool* fVarHead = nullptr;
    TFuncPool* fFuncHead = nullptr;
    int fIndexBase = 0;
    bool fParseOnly = false;
    bool fActive = true;
    int fTop = -1;
    std::array<TStackVal, kStackSize> fStack;
    std::array<std::uint32_t, kStackSize> fMarks{};

    std::string_view fText;
    std::size_t fCursor = 0;
    int fLookahead = -1;
    TStackVal fTokenValue;
    bool fHasTokenValue = false;
    int fDepth = 0;
};

}  // namespace vyn
