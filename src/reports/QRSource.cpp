#include "reports/QRSource.h"

#include <algorithm>
#include <cctype>

#include "platform/core/StringTable.h"
#include "reports/ReportStrings.h"

namespace vyn {

namespace {

std::string Trim(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void QRSource::Clear(int kind_)
{
    kind = (kind_ >= 0 && kind_ <= 3) ? kind_ : srNone;
    id.clear();
    column = 0;
    row = 0;
}

void QRSource::Set(int kind_, const std::string& cellText, const std::string& sampleId)
{
    Clear(kind_);
    if (kind == srCell) {
        column = row = -1;
        const std::string t = Trim(cellText);
        if (t.size() < 2 || t.size() > 3) return;
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
        if (letter < 'A' || letter > 'P') return;
        row = letter - 'A';
        if (!IsDigit(t[1])) return;
        int n = t[1] - '0';
        if (t.size() == 3) {
            if (!IsDigit(t[2])) return;
            n = n * 10 + (t[2] - '0');
        }
        if (n >= 1) column = n - 1;
    } else if (kind == srSample) {
        const std::string t = Trim(sampleId);
        const bool ok = !t.empty() && std::all_of(t.begin(), t.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
        });
        if (ok) id = t;
    }
}

void QRSource::Assign(const QRSource& o)
{
    id.clear();
    column = row = -1;
    kind = (o.kind >= 0 && o.kind <= 3) ? o.kind : srNone;
    if (kind == srCell) {
        column = o.column;
        row = o.row;
    } else if (kind == srSample) {
        id = o.id;
    }
}

bool QRSource::operator==(const QRSource& o) const
{
    if (kind != o.kind) return false;
    if (kind == srCell) return column == o.column && row == o.row;
    if (kind == srSample) return id == o.id;
    return true;
}

std::string QRSource::CellName() const
{
    if (column < 0 || column > 23 || row < 0 || row > 15) return {};
    return std::string(1, static_cast<char>('A' + row)) + std::to_string(column + 1);
}

std::string QRSource::KindName(int k)
{
    std::string name = GetResString(kStrSourceDefault + std::clamp(k, 0, 3));
    if (name.size() > 15) name.resize(15);
    return name;
}

std::string QRSource::Describe() const
{
    switch (kind) {
    case srDefault: return KindName(srDefault);
    case srCell: {
        const std::string cell = CellName();
        return KindName(srCell) + ":" + (cell.empty() ? "?" : cell);
    }
    case srSample: return KindName(srSample) + ":" + (id.empty() ? "?" : id);
    case srGlobal: return KindName(srGlobal);
    default: return {};
    }
}

const QRSource& DefaultSource()
{
    static const QRSource source;
    return source;
}

}  // namespace vyn
