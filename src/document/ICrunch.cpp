#include "document/ICrunch.h"

#include <climits>
#include <cmath>

#include "document/TagNames.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"

namespace vyn {

namespace {

constexpr int kMsgCannotRead = 3101;
constexpr int kMsgBadStructure = 3102;

const std::string kNoField;

bool IsLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool StartsNumber(unsigned char c)
{
    return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9') ||
           c == static_cast<unsigned char>(gDecimalChar);
}

long long ReadInteger(const std::string& text, long long lo, long long hi)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int d = text[i] - '0';
        if (negative) {
            value = value < (lo + d) / 10 ? lo : value * 10 - d;
        } else {
            value = value > (hi - d) / 10 ? hi : value * 10 + d;
        }
    }
    return value < lo ? lo : value > hi ? hi : value;
}

}  // namespace

ICrunch::ICrunch(LineReader& reader) : reader_(reader)
{
    if (reader_.IsError()) {
        Fail(kMsgCannotRead);
        return;
    }
    if (!ReadAhead()) return;
    NextLine();
}

void ICrunch::Fail(int message)
{
    tag_ = -1;
    message_ = message;
    done_ = true;
    fields_.clear();
    kinds_.clear();
}

bool ICrunch::ReadAhead()
{
    reader_.ReadLine(line_, kMaxTaggedLine);
    lineOverflow_ = reader_.IsOverflow();
    if (reader_.IsError()) {
        Fail(kMsgCannotRead);
        return false;
    }
    return true;
}

const std::string& ICrunch::GetField(int i) const
{
    return i >= 0 && i < GetCount() ? fields_[static_cast<std::size_t>(i)] : kNoField;
}

int ICrunch::GetKind(int i) const
{
    return i >= 0 && i < GetCount() ? kinds_[static_cast<std::size_t>(i)] : 0;
}

int ICrunch::GetInt(int i) const
{
    return static_cast<int>(ReadInteger(GetField(i), INT_MIN, INT_MAX));
}

long ICrunch::GetLong(int i) const
{
    return static_cast<long>(ReadInteger(GetField(i), LONG_MIN, LONG_MAX));
}

double ICrunch::GetReal(int i) const
{
    const std::string& text = GetField(i);
    if (text.empty()) return NoValue;
    // "-nan" passes as a number field; taken in, it could never be written back.
    const double v = ParseDouble(text.c_str());
    return std::isnan(v) ? NoValue : v;
}

// Reads a quoted text from the character after its opening quote up to and including the
// ';' that ends the field, following its continuation lines.
bool ICrunch::ReadQuoted(std::size_t& pos, std::string& text)
{
    for (;;) {
        // The characters of the text up to its closing quote, all on this line.
        for (;;) {
            if (pos >= line_.size()) {
                Fail(kMsgBadStructure);
                return false;
            }
            unsigned char c = static_cast<unsigned char>(line_[pos++]);
            if (c == '\'') break;
            if (c == '\\') {
                if (pos >= line_.size()) {
                    Fail(kMsgBadStructure);
                    return false;
                }
                c = static_cast<unsigned char>(line_[pos++]);
                if (c < 32) {
                    Fail(kMsgBadStructure);
                    return false;
                }
                text.push_back(c == 't' ? '\t' : static_cast<char>(c));
                continue;
            }
            if (c < 32) {
                Fail(kMsgBadStructure);
                return false;
            }
            text.push_back(static_cast<char>(c));
        }
        while (pos < line_.size() && line_[pos] == ' ') ++pos;
        if (pos < line_.size()) {
            if (line_[pos] != ';') {
                Fail(kMsgBadStructure);
                return false;
            }
            ++pos;
            return true;
        }
        // The text goes on in a continuation line: a blank, any blanks, a quote.
        if (!ReadAhead()) return false;
        if (reader_.IsEnd() || lineOverflow_ || line_.empty() || line_[0] != ' ') {
            Fail(kMsgBadStructure);
            return false;
        }
        pos = 1;
        while (pos < line_.size() && line_[pos] == ' ') ++pos;
        if (pos >= line_.size() || line_[pos] != '\'') {
            Fail(kMsgBadStructure);
            return false;
        }
        ++pos;
    }
}

void ICrunch::NextLine()
{
    if (done_) return;
    fields_.clear();
    kinds_.clear();
    if (reader_.IsError()) return Fail(kMsgCannotRead);
    if (reader_.IsEnd()) {
        tag_ = 0;
        done_ = true;
        fileEnd_ = true;
        return;
    }
    if (lineOverflow_ || line_.size() < 4) return Fail(kMsgBadStructure);
    const int tag = FindTag(line_.c_str());
    if (tag < 0) return Fail(kMsgBadStructure);

    std::size_t pos = 4;
    for (;;) {
        if (pos >= line_.size()) {
            if (!ReadAhead()) return;
            if (reader_.IsEnd() || line_.empty() || line_[0] != ' ') break;
            if (lineOverflow_) return Fail(kMsgBadStructure);
            pos = 1;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(line_[pos]);
        if (c == ' ') {
            ++pos;
        } else if (c < 32) {
            return Fail(kMsgBadStructure);
        } else if (c == ';') {
            fields_.emplace_back();
            kinds_.push_back(kFieldEmpty);
            ++pos;
        } else if (c == '\'') {
            std::string text;
            ++pos;
            if (!ReadQuoted(pos, text)) return;
            fields_.push_back(std::move(text));
            kinds_.push_back(kFieldText);
        } else if (StartsNumber(c) || c == '_' || IsLetter(c)) {
            const std::size_t semi = line_.find(';', pos);
            if (semi == std::string::npos) return Fail(kMsgBadStructure);
            std::size_t end = semi;
            while (end > pos && line_[end - 1] == ' ') --end;
            fields_.push_back(line_.substr(pos, end - pos));
            kinds_.push_back(StartsNumber(c) ? kFieldNumber : kFieldName);
            pos = semi + 1;
        } else {
            return Fail(kMsgBadStructure);
        }
    }
    tag_ = tag;
    done_ = tag == kTagQEND;
}

}  // namespace vyn
