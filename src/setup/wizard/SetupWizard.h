#pragma once
// The installation wizard: Welcome, Destination, Start Menu and Confirm pages in one sheet. It
// only fills the context's destination folder and menu folder name; the installation starts
// after it returns.
#include <string>

namespace vyn {

struct SetupContext;
class TWindow;

inline constexpr int kIddWizardSheet = 27009;
inline constexpr int kIddWelcome = 27002;
inline constexpr int kIddDestination = 27003;
inline constexpr int kIddStartMenu = 27004;
inline constexpr int kIddConfirm = 27005;
inline constexpr int kIddFolderChooser = 27010;

// Commands the Welcome page posts to itself: the INF is missing, and the running check.
inline constexpr int kCmInfMissing = 978;
inline constexpr int kCmRunningCheck = 979;

// Above 0 when the user pressed Finish, 0 when cancelled, -1 when the sheet cannot be made.
int RunWizard(SetupContext& ctx, TWindow* parent = nullptr);

// The destination the Welcome page proposes: the program-files folder followed by DefaDestPath,
// or DefaDestPath alone when it is a full path.
std::string DefaultDestination(SetupContext& ctx);

// The message for a menu folder name (already trimmed), or 0 when it is acceptable.
int CheckMenuFolderName(const std::string& name);

// Runs the folder chooser from the destination; true (and the destination changed) on OK.
bool BrowseForFolder(TWindow* owner, SetupContext& ctx);
// The folder the chooser opens at: the nearest existing folder of the start, or the
// program-files folder when none can be reached.
std::string NearestExistingFolder(const std::string& start, const std::string& fallback);

}  // namespace vyn
