#include "platform/gui/DialogTemplate.h"

namespace vyn {

const TDialogTemplate* FindDialogTemplate(int id)
{
    for (int i = 0; i < res::kDialogCount; ++i)
        if (res::kDialogTable[i].id == id) return &res::kDialogTable[i];
    return nullptr;
}

}  // namespace vyn
