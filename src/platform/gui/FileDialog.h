#pragma once
// The file dialogs of the document templates. filter is "Description|*.a;*.b|..." pairs.
// A test sets the answer function; then nothing is shown and its answer is taken.
#include <functional>
#include <string>

namespace vyn {

class TDocument;
class TWindow;

// True with the chosen path; false when cancelled.
bool GetOpenFileName(TWindow* parent, const std::string& title, const std::string& filter, std::string& path);
// The save dialog takes a name only once MayWriteChosenFile agreed to it; a refused name leaves
// the dialog open for another one (a test's answer ends it as cancelled). saving: the document
// to be kept in the file, none for anything else written there.
bool GetSaveFileName(TWindow* parent, const std::string& title, const std::string& filter,
                     const std::string& defaultExt, std::string& path, const TDocument* saving = nullptr);

// The program's check of a name the user chose for a file about to be written: false refuses
// it, once the check has told the user why (over the active window, the dialog the name was
// chosen in). saving as for GetSaveFileName. Without a check set every name is taken.
using TWriteNameCheck = std::function<bool(const std::string& path, const TDocument* saving)>;
void SetWriteNameCheck(TWriteNameCheck check);
// What every place that takes such a name (the save dialog, the print dialog's file) does
// before it writes: the check first, so a refused name is never asked about, then, for a file
// that is there, the question whether to replace it (with the caption given). True when the
// file may be written.
bool MayWriteChosenFile(TWindow* parent, const std::string& path, const TDocument* saving, const std::string& caption);

// (save, title) -> path, empty for cancel. Empty function: the real dialogs.
void SetFileDialogAnswer(std::function<std::string(bool save, const std::string& title)> answer);

}  // namespace vyn
