#include "setup/wizard/SetupWizard.h"

#include <dirent.h>
#include <sys/stat.h>

#include "platform/core/StringTable.h"
#include "platform/gui/Control.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/MsgBox.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/ResBitmap.h"
#include "setup/core/SetupContext.h"
#include "setup/core/SetupResIds.h"
#include "setup/core/SetupText.h"

namespace vyn {

namespace {

using Sheet = TPropertySheet;

// The page's picture at its left, in control 101.
void ShowPagePicture(TWindow* page, int pictureId)
{
    (new TStatic(page, 101))->SetPicture(LoadResBitmap(pictureId));
}

int Ask(TWindow* owner, int textId, int captionId, unsigned flags)
{
    return MessageBox(owner, GetResString(textId), GetResString(captionId), flags);
}

class WelcomePage : public TPropertyPage {
public:
    WelcomePage(Sheet* sheet, SetupContext& ctx) : TPropertyPage(sheet, kIddWelcome), ctx_(ctx)
    {
        ShowPagePicture(this, 604);
        if (!ctx.systemName.empty()) SetTitle(GetResString(kIdsSetupFor) + ctx.systemName);
        OnCommand(kCmInfMissing, [this] { InfMissing(); });
        OnCommand(kCmRunningCheck, [] {});  // the program is never found running here
    }

protected:
    int SetActive() override
    {
        if (!ctx_.inf.IsOpen()) PostCommand(kCmInfMissing);
        else if (!checked_) PostCommand(kCmRunningCheck);
        checked_ = true;
        GetSheet()->SetWizardButtons(Sheet::PSWIZB_NEXT);
        return 0;
    }

    int WizNext() override
    {
        if (!ctx_.inf.IsOpen()) return -1;
        ctx_.destination = DefaultDestination(ctx_);
        return 0;
    }

private:
    void InfMissing()
    {
        // A file that is there but damaged says what is wrong with it.
        std::string text = GetResString(kIdsInfMissing);
        if (ctx_.inf.ErrorId() != 0 && ctx_.inf.ErrorId() != kIdsInfCannotOpen) text += "\n" + ctx_.inf.ErrorText();
        MessageBox(this, text, GetResString(kIdsCaptionProblem), MB_OK | MB_ICONERROR);
        GetSheet()->PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    }

    SetupContext& ctx_;
    bool checked_ = false;
};

class DestinationPage : public TPropertyPage {
public:
    DestinationPage(Sheet* sheet, SetupContext& ctx) : TPropertyPage(sheet, kIddDestination), ctx_(ctx)
    {
        ShowPagePicture(this, 602);
        OnCommand(302, [this] {
            BrowseForFolder(this, ctx_);
            SetDlgItemText(301, ctx_.destination);
        });
    }

protected:
    int SetActive() override
    {
        SetDlgItemText(301, ctx_.destination);
        GetSheet()->SetWizardButtons(Sheet::PSWIZB_BACK | Sheet::PSWIZB_NEXT);
        return 0;
    }

    int WizNext() override
    {
        std::string dest = CutUtf8(GetDlgItemText(301), 259);
        TrimAndAddSlash(dest);
        ctx_.destination = dest;
        SetDlgItemText(301, dest);
        if (dest.front() != '/' && Ask(this, kIdsNoFullPath, kIdsCaptionWarning, MB_OKCANCEL | MB_ICONWARNING) != IDOK) return -1;
        ctx_.menuName = GetInfString(ctx_.inf, "MainVynSetup", "DefaMenuName", "Vyn Immunochemical Processing");
        return 0;
    }

private:
    SetupContext& ctx_;
};

class StartMenuPage : public TPropertyPage {
public:
    StartMenuPage(Sheet* sheet, SetupContext& ctx) : TPropertyPage(sheet, kIddStartMenu), ctx_(ctx)
    {
        ShowPagePicture(this, 603);
        list_ = new TListBox(this, 402);
        OnNotify(402, LBN_SELCHANGE, [this] {
            if (list_->GetSelIndex() >= 0) SetDlgItemText(401, list_->GetString(list_->GetSelIndex()));
        });
    }

protected:
    void SetupWindow() override
    {
        TPropertyPage::SetupWindow();
        const std::string& programs = ctx_.GetProgramsFolder();
        if (DIR* d = ::opendir(programs.c_str())) {
            while (dirent* e = ::readdir(d)) {
                std::string name = e->d_name;
                struct stat st{};
                if (name.empty() || name[0] == '.') continue;
                if (::stat((programs + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) list_->AddString(name);
            }
            ::closedir(d);
        }
    }

    int SetActive() override
    {
        SetDlgItemText(401, ctx_.menuName);
        list_->SetSelIndex(list_->FindStringExact(ctx_.menuName));
        GetSheet()->SetWizardButtons(Sheet::PSWIZB_BACK | Sheet::PSWIZB_NEXT);
        return 0;
    }

    int WizNext() override
    {
        std::string name = CutUtf8(GetDlgItemText(401), 259);
        TrimSpaces(name);
        ctx_.menuName = name;
        SetDlgItemText(401, name);
        if (int id = CheckMenuFolderName(name)) {
            Ask(this, id, kIdsCaptionProblem, MB_OK | MB_ICONERROR);
            return -1;
        }
        return 0;
    }

private:
    SetupContext& ctx_;
    TListBox* list_;
};

class ConfirmPage : public TPropertyPage {
public:
    ConfirmPage(Sheet* sheet, SetupContext& ctx) : TPropertyPage(sheet, kIddConfirm), ctx_(ctx)
    {
        ShowPagePicture(this, 601);
    }

protected:
    int SetActive() override
    {
        if (ctx_.destination.empty() || ctx_.destination.back() != '/') ctx_.destination += '/';
        SetDlgItemText(501, ctx_.destination);
        SetDlgItemText(502, ctx_.menuName);
        GetSheet()->SetWizardButtons(Sheet::PSWIZB_BACK | Sheet::PSWIZB_FINISH);
        return 0;
    }

private:
    SetupContext& ctx_;
};

}  // namespace

std::string DefaultDestination(SetupContext& ctx)
{
    std::string dest = ctx.programFilesFolder;
    if (dest.empty() || dest.back() != '/') dest += '/';
    std::string def = CutUtf8(GetInfString(ctx.inf, "MainVynSetup", "DefaDestPath", "Orrin Talvorne/Vyn"), 259);
    if (!def.empty() && def.front() == '/') return def;
    return dest + def;
}

int CheckMenuFolderName(const std::string& name)
{
    if (name.empty()) return kIdsMenuEmpty;
    if (name.front() == '.') return kIdsMenuDot;
    if (name.find_first_of("\\/") != std::string::npos) return kIdsMenuSlash;
    return 0;
}

int RunWizard(SetupContext& ctx, TWindow* parent)
{
    // Dialog units of the page's place in the sheet.
    Sheet sheet(parent, kIddWizardSheet, TPoint(7, 5));
    if (!sheet.GetTemplate()) return -1;
    sheet.AddPage(new WelcomePage(&sheet, ctx));
    sheet.AddPage(new DestinationPage(&sheet, ctx));
    sheet.AddPage(new StartMenuPage(&sheet, ctx));
    sheet.AddPage(new ConfirmPage(&sheet, ctx));
    int rc = sheet.Execute();
    return rc == IDOK ? 1 : rc == -1 ? -1 : 0;
}

}  // namespace vyn
