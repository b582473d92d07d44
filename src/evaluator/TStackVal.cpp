#include "evaluator/TStackVal.h"

#include <cstring>
#include <utility>

#include "evaluator/NoValue.h"
#include "evaluator/NumberText.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {
const std::string kEmptyText;

std::size_t Utf8Length(std::string_view s)
{
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}
}  // namespace

TStackVal::TStackVal(double number) : fFlags(svNumber), fNumber(number) {}

TStackVal TStackVal::Named(std::string_view name)
{
    TStackVal v;
    v.fFlags = svNamed;
    v.fName.assign(name);
    return v;
}

TStackVal TStackVal::Text(std::string_view text)
{
    TStackVal v;
    v.fFlags = svText;
    v.fText.assign(text);
    return v;
}

TStackVal::TStackVal(const TStackVal& other) { *this = other; }

TStackVal::TStackVal(TStackVal&& other) noexcept
    : fFlags(other.fFlags),
      fName(std::move(other.fName)),
      fNumber(other.fNumber),
      fText(std::move(other.fText)),
      fNumbers(std::move(other.fNumbers)),
      fTexts(std::move(other.fTexts)),
      fFill(other.fFill)
{
    other.Clear();
}

TStackVal& TStackVal::operator=(const TStackVal& other)
{
    if (this == &other) return *this;
    DropContent();
    fFlags = (fFlags & svNamed) | (other.fFlags & ~std::uint32_t(svNamed));
    fNumber = other.fNumber;
    fFill = 0;
    if (other.IsVector()) {
        if (other.HasNumbers() && !other.HasTexts()) fNumbers = other.fNumbers;
        else if (other.HasTexts() && !other.HasNumbers()) fTexts = other.fTexts;
    } else if (other.HasTexts()) {
        fText = other.fText;
    }
    return *this;
}

TStackVal& TStackVal::operator=(TStackVal&& other) noexcept
{
    if (this == &other) return *this;
    DropContent();
    fFlags = (fFlags & svNamed) | (other.fFlags & ~std::uint32_t(svNamed));
    fNumber = other.fNumber;
    fFill = 0;
    fText = std::move(other.fText);
    fNumbers = std::move(other.fNumbers);
    fTexts = std::move(other.fTexts);
    other.Clear();
    return *this;
}

void TStackVal::MoveFrom(TStackVal&& other) noexcept
{
    if (this == &other) return;
    fFlags = other.fFlags;
    fName = std::move(other.fName);
    fNumber = other.fNumber;
    fText = std::move(other.fText);
    fNumbers = std::move(other.fNumbers);
    fTexts = std::move(other.fTexts);
    fFill = other.fFill;
    other.Clear();
}

void TStackVal::DropContent()
{
    fText.clear();
    fNumbers.clear();
    fTexts.clear();
}

int TStackVal::Count() const
{
    if (!IsVector()) return 0;
    return static_cast<int>(HasTexts() && !HasNumbers() ? fTexts.size() : fNumbers.size());
}

double TStackVal::NumberAt(int i) const
{
    if (i < 0 || static_cast<std::size_t>(i) >= fNumbers.size()) return NoValue;
    return fNumbers[static_cast<std::size_t>(i)];
}

const std::string& TStackVal::TextAt(int i) const
{
    if (i < 0 || static_cast<std::size_t>(i) >= fTexts.size()) return kEmptyText;
    return fTexts[static_cast<std::size_t>(i)];
}

void TStackVal::Clear()
{
    fFlags = 0;
    fName.clear();
    fNumber = 0.0;
    fFill = 0;
    DropContent();
}

void TStackVal::SetName(std::string_view name)
{
    fName.assign(name);
    fFlags |= svNamed;
}

void TStackVal::SetErrorFlag(bool on)
{
    if (on) fFlags |= svError;
    else fFlags &= ~std::uint32_t(svError);
}

void TStackVal::SetNumber(double number)
{
    DropContent();
    fFlags = (fFlags & ~std::uint32_t(svKindMask)) | svNumber;
    fNumber = number;
}

void TStackVal::SetText(std::string_view text)
{
    DropContent();
    fFlags = (fFlags & ~std::uint32_t(svKindMask)) | svText;
    fText.assign(text);
}

void TStackVal::SetTextRight(std::string_view text, int width)
{
    std::size_t len = Utf8Length(text);
    if (width > 0 && len < static_cast<std::size_t>(width)) {
        std::string field(static_cast<std::size_t>(width) - len, ' ');
        field.append(text);
        SetText(field);
    } else {
        SetText(text);
    }
}

void TStackVal::SetEmptyVector()
{
    DropContent();
    fFlags = svEmptyVector;
    fFill = 0;
}

void TStackVal::MakeNumberVector(int n)
{
    DropContent();
    fFlags = (fFlags & ~std::uint32_t(svKindMask)) | svNumberVector;
    fNumbers.assign(n > 0 ? static_cast<std::size_t>(n) : 0, 0.0);
    fFill = 0;
}

void TStackVal::MakeTextVector(int n)
{
    DropContent();
    fFlags = (fFlags & ~std::uint32_t(svKindMask)) | svTextVector;
    fTexts.assign(n > 0 ? static_cast<std::size_t>(n) : 0, std::string());
    fFill = 0;
}

void TStackVal::AppendNumber(double number)
{
    // A builder that appends more than it announced grows the vector instead of writing
    // past its end.
    auto at = static_cast<std::size_t>(fFill);
    if (at < fNumbers.size()) fNumbers[at] = number;
    else fNumbers.push_back(number);
    ++fFill;
}

void TStackVal::AppendText(std::string_view text)
{
    auto at = static_cast<std::size_t>(fFill);
    if (at < fTexts.size()) fTexts[at].assign(text);
    else fTexts.emplace_back(text);
    ++fFill;
}

void TStackVal::ConcatText(const TStackVal& other) { fText += other.fText; }

void TStackVal::AppendVector(const TStackVal& other)
{
    if (!other.IsVector() || other.Count() == 0) return;
    if (IsEmptyVectorLiteral() || (IsVector() && Count() == 0)) {
        // An empty vector takes the kind of what is appended.
        fFlags = (fFlags & ~std::uint32_t(svKindMask)) | other.Kind();
        fNumbers.clear();
        fTexts.clear();
    }
    if (IsNumberVector() && other.IsNumberVector())
        fNumbers.insert(fNumbers.end(), other.fNumbers.begin(), other.fNumbers.end());
    else if (IsTextVector() && other.IsTextVector())
        fTexts.insert(fTexts.end(), other.fTexts.begin(), other.fTexts.end());
}

std::string TStackVal::Format() const
{
    if (IsError()) return "ERROR";
    if (IsVector() && Count() == 0) return "{}";
    if (fFlags == svNamed) return "VAR";
    if (!HasNumbers() && !HasTexts()) return "NOTHING";
    if (IsVector()) {
        std::string out = "{";
        if (IsTextVector()) {
            for (const std::string& t : fTexts) {
                out += t;
                out += ',';
            }
        } else {
            for (double d : fNumbers) {
                out += FormatG(d);
                out += ',';
            }
        }
        out.back() = '}';
        return out;
    }
    if (HasNumbers()) return FormatG(fNumber);
    return fText;
}

int TStackVal::Format(char* buffer, int size) const
{
    if (!buffer || size <= 0) return 0;
    std::string cut = CutUtf8(Format(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, cut.data(), cut.size());
    buffer[cut.size()] = '\0';
    return static_cast<int>(cut.size()) + 1;
}

}  // namespace vyn
