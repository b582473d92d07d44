// The folder chooser: a path line that follows the folder chosen in the list and may be typed
// over, the folder list (double click enters a folder, ".." goes up), and the current folder.
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

#include "platform/core/StringTable.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dialog.h"
#include "setup/core/SetupContext.h"
#include "setup/core/SetupResIds.h"
#include "setup/core/SetupText.h"
#include "setup/wizard/SetupWizard.h"

namespace vyn {

namespace {

bool IsFolder(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class FolderChooser : public TDialog {
public:
    FolderChooser(TWindow* owner, const std::string& start, const std::string& path)
        : TDialog(owner, kIddFolderChooser), folder_(start), result_(path)
    {
        list_ = new TListBox(this, 1121);
        OnNotify(1121, LBN_SELCHANGE, [this] { SetDlgItemText(101, GetDlgItemText(1088)); });
        OnNotify(1121, LBN_DBLCLK, [this] { Enter(list_->GetString(list_->GetSelIndex())); });
    }
    const std::string& Result() const { return result_; }

protected:
    void SetupWindow() override
    {
        TDialog::SetupWindow();
        SetWindowText(GetResString(kIdsChooseFolder));
        Fill();
        SetDlgItemText(101, result_);
    }
    void CmOk() override
    {
        // A path typed by the user wins over the folder chosen in the list.
        result_ = GetDlgItemText(101);
        TDialog::CmOk();
    }

private:
    void Enter(const std::string& name)
    {
        if (name.empty()) return;
        std::string next = folder_;
        if (name == "..") {
            while (next.size() > 1 && next.back() == '/') next.pop_back();
            next = FolderOf(next);
            if (next.empty()) next.assign(1, '/');
        } else {
            next.append(name);
            next.push_back('/');
        }
        if (!IsFolder(next)) return;
        folder_ = next;
        Fill();
        SetDlgItemText(101, folder_);
    }

    void Fill()
    {
        EnsureTrailingSlash(folder_);
        SetDlgItemText(1088, folder_);
        list_->ClearList();
        std::vector<std::string> names;
        if (DIR* d = ::opendir(folder_.c_str())) {
            while (dirent* e = ::readdir(d)) {
                std::string n = e->d_name;
                if (n == "." || n == ".." || n[0] == '.') continue;
                if (IsFolder(folder_ + n)) names.push_back(n);
            }
            ::closedir(d);
        }
        std::sort(names.begin(), names.end());
        if (folder_ != "/") list_->AddString("..");
        for (const std::string& n : names) list_->AddString(n);
    }

    TListBox* list_;
    std::string folder_;
    std::string result_;
};

}  // namespace

std::string NearestExistingFolder(const std::string& start, const std::string& fallback)
{
    std::string folder = start;
    while (true) {
        struct stat st{};
        if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return folder;
        int err = errno;
        if (err == EACCES) return fallback;
        // Cut the last level: "/a/b/c/" becomes "/a/b/".
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        std::size_t slash = folder.rfind('/');
        if (slash == std::string::npos) return fallback;
        folder.resize(slash + 1);
    }
}

bool BrowseForFolder(TWindow* owner, SetupContext& ctx)
{
    EnsureTrailingSlash(ctx.destination);
    std::string start = NearestExistingFolder(ctx.destination, ctx.programFilesFolder);
    FolderChooser dlg(owner, start, ctx.destination);
    if (dlg.Execute() != IDOK) return false;
    ctx.destination = dlg.Result();
    return true;
}

}  // namespace vyn
