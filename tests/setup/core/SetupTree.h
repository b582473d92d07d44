#pragma once
// A temporary tree for installer tests: a setup folder with the test INF and its source files,
// and the user's folders, registry store and temporary folder redirected into the tree.
#include <deque>
#include <string>
#include <vector>

#include "setup/core/SetupContext.h"

namespace vyn::test {

// Answers messages from a script and records what was shown.
class ScriptedUi : public SetupUi {
public:
    std::deque<int> answers;
    struct Shown {
        std::string text, caption;
        unsigned flags;
    };
    std::vector<Shown> shown;
    int Message(const std::string& text, const std::string& caption, unsigned flags) override;
};

class SetupTree {
public:
    SetupTree();
    ~SetupTree();

    std::string root;         // the whole tree, with a trailing '/'
    std::string setupFolder;  // the unpacked installation medium
    std::string programFiles;
    std::string destination;  // what the wizard would choose
    std::string menuFolder;   // the application menu
    std::string desktop;

    // A context as the setup program (or, with -U, its installed copy) starts.
    void Start(SetupContext& ctx, const std::string& program, const std::vector<std::string>& args, SetupUi& ui);
    // Starts the setup program, opens the INF and sets the wizard's choices.
    void PrepareInstall(SetupContext& ctx, SetupUi& ui, const std::string& menuName = "Vyn Test");
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
bool Exists(const std::string& path);
void SetMTime(const std::string& path, long long unixSeconds);

}  // namespace vyn::test
