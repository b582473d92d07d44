#include "document/TagNames.h"

#include <cstring>

namespace vyn {

namespace {
const char* const kTagNames[kTagCount] = {
    "QEND", "MNAM", "MNAD", "DSEP", "DESC", "BLNK", "FDEF", "VALI", "CALI", "CALJ", "QUAL",
    "QUAN", "SMGL", "SMST", "SMQF", "SMQS", "SMNF", "SMNS", "DMEA", "FMTM", "FMTT", "FMTR",
    "UNIT", "WIDT", "GRAF", "DA96", "DM96", "DT96", "TMEA", "SMPL", "REPO"};
}

const char* GetTagName(int tag)
{
    return tag >= 0 && tag < kTagCount ? kTagNames[tag] : "";
}

int FindTag(const char* text)
{
    for (int i = 0; i < kTagCount; ++i)
        if (std::memcmp(text, kTagNames[i], 4) == 0) return i;
    return -1;
}

}  // namespace vyn
