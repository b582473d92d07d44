#include "plate/FilterTable.h"

#include <algorithm>
#include <string>

#include "evaluator/NumFormat.h"
#include "plate/Profile.h"
#include "platform/core/ProfileFile.h"
#include "platform/core/StringTable.h"

namespace vyn {

QFilterTable& QFilterTable::Instance()
{
    static QFilterTable table;
    return table;
}

int QFilterTable::GetFilter(int index) const
{
    if (index < 0 || index >= GetFilterCount()) return 0;
    return fFilters[static_cast<std::size_t>(index)];
}

void QFilterTable::SetFilters(const std::vector<int>& wavelengths)
{
    const std::size_t n = std::min<std::size_t>(wavelengths.size(), kMaxFilters);
    fFilters.assign(wavelengths.begin(), wavelengths.begin() + static_cast<std::ptrdiff_t>(n));
}

namespace {
constexpr const char* kSection = "filters";
constexpr int kDefaultFiltersId = 6005;
}  // namespace

std::vector<std::string> QFilterTable::Load()
{
    std::vector<int> taken;
    std::vector<std::string> notKept;
    // Every key is read, not only as many names as a fixed list would hold, so a full table
    // of 32 comes back whole.
    for (const std::string& key : ProfileFile(kProfileName).Keys(kSection)) {
        if (static_cast<int>(taken.size()) >= kMaxFilters) break;
        const std::string text = ProfileGetString(kSection, key.c_str(), "");
        int v = 0;
        if (ReadTypedWhole(text.c_str(), 0, kMaxWavelength, v) == tnNotANumber)
            notKept.push_back("[" + std::string(kSection) + "] " + key + "=" + text);
        taken.push_back(v);
    }
    if (taken.empty()) {
        const std::string list = GetResStringStd(kDefaultFiltersId);
        std::size_t i = 0;
        while (static_cast<int>(taken.size()) < kMaxFilters) {
            while (i < list.size() && list[i] == ' ') ++i;
            if (i >= list.size() || list[i] < '0' || list[i] > '9') break;
            long v = 0;
            while (i < list.size() && list[i] >= '0' && list[i] <= '9') {
                if (v < 1000000) v = v * 10 + (list[i] - '0');
                ++i;
            }
            taken.push_back(static_cast<int>(v));
        }
    }
    SetFilters(taken);
    return notKept;
}

bool QFilterTable::Save() const
{
    // One rewrite for the whole table: a failure leaves the old table whole, never a part of it.
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::size_t i = 0; i < fFilters.size(); ++i) {
        char key[8];
        key[0] = 'F';
        key[1] = static_cast<char>('0' + (i + 1) / 10);
        key[2] = static_cast<char>('0' + (i + 1) % 10);
        key[3] = '\0';
        entries.emplace_back(key, std::to_string(fFilters[i]));
    }
    return ProfileFile(kProfileName).ReplaceSection(kSection, entries);
}

}  // namespace vyn
