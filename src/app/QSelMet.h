#pragma once
// QSelMet: the method library's dialog in its three forms. "Select a method" positions a
// reader at the chosen method for a new plate, "Add to Methods" stores the current plate's
// method (or replaces a stored one), "Method List Updates" deletes stored methods and changes
// their names and comments. The library file itself is handled by QMetod; this class only
// shows it and passes the user's choices on.
#include <string>

#include "document/QMetod.h"
#include "platform/gui/Dialog.h"

namespace vyn {

class LineReader;
class QPlate;
class TButton;
class TEdit;
class TListBox;
class TScrollBar;

class QSelMet : public TDialog {
public:
    static constexpr int kUpdateId = 1456, kSelectId = 1457, kAddId = 1458;

    // The library at the program's path.
    QSelMet(TWindow* parent, int resId);
    // The library given (tests).
    QSelMet(TWindow* parent, int resId, QMetod library);
    ~QSelMet() override;

    // "Select a method": the reader the plate is read from and, after OK, the sequential
    // sample limit (-1 after "Empty").
    LineReader* Reader = nullptr;
    int Limit = 0;
    // "Add to Methods": the plate whose method is stored, and the name and comment the user
    // left in the edits.
    QPlate* Plate = nullptr;
    std::string Name;
    std::string Comment;

    QMetod& Library() { return library_; }
    // The selected list entry, -1 none.
    int Current() const;

    // The commands' three operations.
    // 0 cancelled; 1 the reader stands at the chosen method and *limit is set; 2 "Empty".
    static int Select(TWindow* parent, LineReader& reader, int* limit);
    // True when the plate's method was stored; name and comment as the user left them.
    static bool Add(TWindow* parent, QPlate& plate, std::string& name, std::string& comment);
    static void Update(TWindow* parent);

protected:
    void SetupWindow() override;
    void CmOk() override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;

private:
    void FillList(int select);
    void Refresh();
    void CmSelect();
    void CmEmpty();
    void CmStore(bool change);
    void CmCopy();
    void CmRename();
    void CmToggleMark();
    void CmSysFile();
    void Complain(const std::string& text);

    QMetod library_;
    TListBox* list_;
    TEdit* count_;
    TScrollBar* spin_ = nullptr;
    TEdit* name_ = nullptr;
    TEdit* comment_ = nullptr;
};

}  // namespace vyn
