#pragma once
// ProjectRCVersion: the program's own version block, as the build wrote it. Each getter points
// the text at the value and answers true, or answers false when the block has no such value.
namespace vyn {

class ProjectRCVersion {
public:
    ProjectRCVersion();
    bool GetProductName(const char*& text) const;
    bool GetProductVersion(const char*& text) const;
    bool GetLegalNotice(const char*& text) const;
    bool GetSpecialBuild(const char*& text) const;

private:
    static bool Value(const char* value, const char*& text);
};

}  // namespace vyn
