#include "app/ProjectRCVersion.h"

#ifndef VYN_VERSION
#error "the build gives the program's version"
#endif

namespace vyn {

ProjectRCVersion::ProjectRCVersion() = default;

bool ProjectRCVersion::Value(const char* value, const char*& text)
{
    if (!value || !*value) return false;
    text = value;
    return true;
}

bool ProjectRCVersion::GetProductName(const char*& text) const { return Value("Vyn", text); }
bool ProjectRCVersion::GetProductVersion(const char*& text) const { return Value(VYN_VERSION, text); }
bool ProjectRCVersion::GetLegalNotice(const char*& text) const { return Value(VYN_LEGAL_NOTICE, text); }
bool ProjectRCVersion::GetSpecialBuild(const char*& text) const { return Value(VYN_SPECIAL_BUILD, text); }

}  // namespace vyn
