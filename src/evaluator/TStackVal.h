#pragma once
// The one value type of the expression language: a number, a text, a vector of numbers or of
// texts, a named reference still to be looked up, an error marker, or nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyn {

// Kind bits of TStackVal::Flags().
enum StackValFlags : std::uint32_t {
    svNothing = 0x0000,
    svNumber = 0x0001,      // alone: a number; with svVector: a number vector
    svText = 0x0002,        // alone: a text; with svVector: a text vector
    svVector = 0x0004,
    svNamed = 0x0008,       // named reference; alone it is still unresolved
    svError = 0x8000,       // result of a failed evaluation (set by the calculation passes)
    svNumberVector = svNumber | svVector,
    svTextVector = svText | svVector,
    svEmptyVector = svNumber | svText | svVector,  // the "{}" literal; combines with both kinds
    svKindMask = svNumber | svText | svVector,
};

class TStackVal {
public:
    TStackVal() = default;  // nothing
    explicit TStackVal(double number);
    static TStackVal Named(std::string_view name);  // unresolved named reference
    static TStackVal Text(std::string_view text);   // simple text

    // A copy starts as nothing and then assigns: it gets the content but not the name.
    TStackVal(const TStackVal& other);
    // Relocation keeps everything, the name included, so containers can hold values.
    TStackVal(TStackVal&& other) noexcept;
    // Assignment copies the content and the error bit but keeps this value's own name and
    // named bit: a named reference that a pool fills stays named.
    TStackVal& operator=(const TStackVal& other);
    TStackVal& operator=(TStackVal&& other) noexcept;
    ~TStackVal() = default;

    // Replaces everything, the name included (how the evaluator moves values between slots).
    void MoveFrom(TStackVal&& other) noexcept;

    // --- reading ---
    std::uint32_t Flags() const { return fFlags; }
    std::uint32_t Kind() const { return fFlags & svKindMask; }
    const std::string& Name() const { return fName; }  // empty when there is none
    int Count() const;                                // items of a vector, else 0
    double Number() const { return fNumber; }
    const std::string& Text() const { return fText; }
    // Items of a vector; an index outside the vector gives NoValue / the empty text.
    double NumberAt(int i) const;
    const std::string& TextAt(int i) const;
    const std::vector<double>& Numbers() const { return fNumbers; }
    const std::vector<std::string>& Texts() const { return fTexts; }

    bool IsNothing() const { return Kind() == 0; }
    bool IsNumber() const { return Kind() == svNumber; }            // a simple number
    bool IsText() const { return Kind() == svText; }                // a simple text
    bool IsVector() const { return (fFlags & svVector) != 0; }
    bool IsSimple() const { return !IsVector(); }
    bool IsNumberVector() const { return Kind() == svNumberVector; }
    bool IsTextVector() const { return Kind() == svTextVector; }
    bool IsEmptyVectorLiteral() const { return Kind() == svEmptyVector; }
    bool HasNumbers() const { return (fFlags & svNumber) != 0; }    // number, number vector or {}
    bool HasTexts() const { return (fFlags & svText) != 0; }        // text, text vector or {}
    bool IsNamed() const { return (fFlags & svNamed) != 0; }
    bool IsUnresolved() const { return fFlags == svNamed; }
    bool IsError() const { return (fFlags & svError) != 0; }

    // --- writing ---
    // Zeroes everything, the name included: the value becomes nothing.
    void Clear();
    void SetName(std::string_view name);  // sets the name and the named bit
    void SetErrorFlag(bool on);

    // The setters replace the kind and the content; the named and error bits stay.
    void SetNumber(double number);
    void SetText(std::string_view text);
    // Right-aligns the text in a field of width characters when it is shorter, else a copy.
    void SetTextRight(std::string_view text, int width);
    void SetEmptyVector();                 // flags become exactly svEmptyVector
    void MakeNumberVector(int n);          // n items to be filled by AppendNumber
    void MakeTextVector(int n);            // n items to be filled by AppendText
    void AppendNumber(double number);      // stores at the fill index (grows past the count)
    void AppendText(std::string_view text);
    void ConcatText(const TStackVal& other);    // own text followed by the other's text
    void AppendVector(const TStackVal& other);  // the other vector's items after its own

    // --- text form ---
    // "ERROR", "{}", "VAR", "NOTHING", {a,b,...}, %g of a number (6 digits), or the text.
    std::string Format() const;
    // The text form cut to size - 1 bytes (never inside a UTF-8 character) and terminated;
    // returns the bytes written including the terminator (0 when size <= 0).
    int Format(char* buffer, int size) const;

private:
    void DropContent();

    std::uint32_t fFlags = 0;
    std::string fName;
    double fNumber = 0.0;
    std::string fText;
    std::vector<double> fNumbers;
    std::vector<std::string> fTexts;
    int fFill = 0;
};

}  // namespace vyn
