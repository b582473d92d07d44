#pragma once
// The file dialogs of the document templates. filter is "Description|*.a;*.b|..." pairs.
// A test sets the answer function; then nothing is shown and its answer is taken.
#include <functional>
#include <string>

namespace vyn {

class TWindow;

// True with the chosen path; false when cancelled.
bool GetOpenFileName(TWindow* parent, const std::string& title, const std::string& filter, std::string& path);
bool GetSaveFileName(TWindow* parent, const std::string& title, const std::string& filter,
                     const std::string& defaultExt, std::string& path);

// (save, title) -> path, empty for cancel. Empty function: the real dialogs.
void SetFileDialogAnswer(std::function<std::string(bool save, const std::string& title)> answer);

}  // namespace vyn
