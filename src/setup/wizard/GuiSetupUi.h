#pragma once
// The installer's messages as message boxes.
#include "setup/core/SetupContext.h"

namespace vyn {

class TWindow;

class GuiSetupUi : public SetupUi {
public:
    explicit GuiSetupUi(TWindow* owner = nullptr) : owner_(owner) {}
    void SetOwner(TWindow* owner) { owner_ = owner; }
    int Message(const std::string& text, const std::string& caption, unsigned flags) override;

private:
    TWindow* owner_;
};

}  // namespace vyn
