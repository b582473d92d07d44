#pragma once
// The method library: one file of method blocks one after another. Methods are listed from
// it, one is opened for a new plate, the current plate's method is added or replaces a stored
// one (the old block's tag becomes MNAD and the block stays until the next rewrite), and the
// maintenance step deletes methods and changes their names and comments by rewriting the
// whole file through a temporary file. Several programs may share one library (a laboratory's
// shared folder): every change is made while holding the library's lock, on the library as it
// is on disk then, and only when it is still what was listed; otherwise the list is read again
// and the change is refused with kMsgLibraryChanged, the user's choices kept on the methods
// that are still there. The dialogs drive this class; it shows nothing.
#include <string>
#include <vector>

namespace vyn {

class LineReader;
class QPlate;

// One listed method. Everything the dialogs decide on lives here, never in display text.
struct QMethodEntry {
    std::string name;
    std::string comment;
    long offset = 0;     // of its MNAM line in the library file
    int seqCount = 0;    // its SMQS and SMNS lines
    bool marked = false; // for deletion at the next rewrite
    bool edited = false; // name or comment changed, written at the next rewrite
    // The method's lines as listed, MNAM to QEND with their line ends: what makes it this
    // method, wherever it stands in the file.
    std::string block;
};

// The state of a listing; 967 + state is its text in the string table.
enum QMethodListState : int {
    mlNoFile = 0,
    mlRead = 1,
    mlCannotRead = 2,
    mlWrongStructure = 3,
};

// Messages of adding and rewriting.
inline constexpr int kMsgLibraryCaption = 3170;
inline constexpr int kMsgLibraryOpen = 3171;
inline constexpr int kMsgLibraryUpdate = 3172;
inline constexpr int kMsgLibraryAppend = 3173;
inline constexpr int kMsgLibraryTempCreate = 3174;
inline constexpr int kMsgLibraryRename = 3176;
inline constexpr int kMsgLibraryRead = 3177;
inline constexpr int kMsgLibraryTempWrite = 3178;
inline constexpr int kMsgLibraryChanged = 3179;
inline constexpr int kMsgLibraryBusy = 3181;

// The offset of the method chosen last, -1 at start; each listing preselects it.
extern long gLastMethodOffset;

class QMetod {
public:
    // The library at GetMtwFilePath().
    QMetod();
    explicit QMetod(std::string libraryPath);

    const std::string& LibraryPath() const { return library_; }

    // --- listing ---
    // Reads the index of the library afresh; marks and edits are forgotten. A block that ends
    // before its QEND (a write cut short) is left out, the blocks around it are listed.
    int List();
    int GetListState() const { return state_; }
    // "No method defined yet." etc. for a listing that is not mlRead; empty otherwise.
    std::string ListStateText() const;
    const std::vector<QMethodEntry>& Entries() const { return entries_; }
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    // The entry with that offset (gLastMethodOffset for the preselection), or -1.
    int FindOffset(long offset) const;
    int PreselectedEntry() const { return FindOffset(gLastMethodOffset); }

    // --- select a method for a new plate ---
    // One step of the limit's scroll bar from the edit's text (no number: count).
    static int StepLimit(const std::string& text, int step, int count);
    // Opens reader on the library at the entry's MNAM line, sets *limit (clamped) and
    // gLastMethodOffset; answers 1. 0 when that fails: the reader is closed, and when the
    // method no longer stands where it was listed the list is read again (LastMessage says so).
    int SelectMethod(int entry, int typedLimit, LineReader& reader, int* limit);
    // "Empty": a new plate without a method. The reader is left closed and clear of errors, so
    // the plate reads nothing; limit -1; answers 2.
    static int SelectEmpty(LineReader& reader, int* limit);

    // --- add or change ---
    // Appends the plate's method (no measurement) under name and comment. replaceEntry >= 0
    // replaces that method: its old block is marked MNAD only after the new block is whole, and
    // only while the library is still what was listed (else kMsgLibraryChanged). A new method is
    // added to the library as it stands, whatever another program stored meanwhile.
    // On any failure the library keeps its old length and content and the plate its method's
    // name and comment; the answer is 0 or the message id (LastMessage has the text). On
    // success the plate's method takes the name and comment, the library is listed afresh and
    // gLastMethodOffset names the new block.
    int AddMethod(QPlate& plate, const std::string& name, const std::string& comment,
                  int replaceEntry = -1);

    // --- maintenance ---
    // Toggles the deletion mark; answers the new mark.
    bool ToggleMark(int entry);
    // New name and comment, written at the next rewrite; false for an entry outside the list
    // or marked for deletion.
    bool Rename(int entry, const std::string& name, const std::string& comment);
    int MarkedCount() const { return marked_; }
    int EditedCount() const { return edited_; }
    bool HasChanges() const { return marked_ != 0 || edited_ != 0; }
    // One '+' per marked entry, at most 31.
    std::string MarkText() const;
    // Writes the library without the marked methods and replaced blocks, edited names and
    // comments in place, to a temporary file and renames it over the library in one step:
    // a failure at any point leaves the library as it was. selected is the entry whose new
    // offset becomes gLastMethodOffset (-1 when it was deleted). Lists afresh on success.
    // Answers 0 or the message id; kMsgLibraryChanged when another program changed the library
    // since it was listed (nothing written, the list read again with the marks and edits kept
    // on the methods still there).
    int Rewrite(int selected);

    const std::string& LastMessage() const { return message_; }
    int LastMessageId() const { return messageId_; }
    // After kMsgLibraryChanged: where the method the user had chosen stands in the list read
    // again, -1 when it is gone.
    int ChosenAfterRelist() const { return chosenAfter_; }

private:
    int Fail(int id);
    // Reads the library as it is now; the user's marks, edits and the entry given go over to
    // the methods that are still there. Answers the entry's new index, -1 when it is gone.
    int Relist(int keep);
    // Holds the library for a change. 0 when it is still what was listed (now holds its
    // content); otherwise the list is read again and the answer is the message id.
    int HoldUnchanged(class FileHold& hold, std::string& now, int keep);

    std::string library_;
    // The bytes the list was read from; listedFile_ false when there was no file.
    std::string listed_;
    bool listedFile_ = false;
    std::vector<QMethodEntry> entries_;
    int state_ = mlNoFile;
    int marked_ = 0;
    int edited_ = 0;
    std::string message_;
    int messageId_ = 0;
    int chosenAfter_ = -1;
};

}  // namespace vyn
