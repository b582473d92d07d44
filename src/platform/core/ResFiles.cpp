#include "platform/core/ResFiles.h"

namespace vyn {

const res::ResFileEntry* FindResFile(std::string_view name)
{
    for (int i = 0; i < res::kFileCount; ++i)
        if (res::kFileTable[i].data && name == res::kFileTable[i].name) return &res::kFileTable[i];
    return nullptr;
}

bool ReadResFile(std::string_view name, std::string& content)
{
    const res::ResFileEntry* e = FindResFile(name);
    if (!e) return false;
    content.assign(reinterpret_cast<const char*>(e->data), e->size);
    return true;
}

}  // namespace vyn
