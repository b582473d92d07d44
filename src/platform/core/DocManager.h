#pragma once
// Document templates and the document manager: which kinds of documents and views exist,
// which files they open, and the list of open documents.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Document.h"

namespace vyn {

// Template and creation flags. The low bits of a template's flag word carry the file
// dialog's options and are kept as given.
enum : long {
    dtNewDoc = 0x80000000L,      // create: a new document, no file to open
    dtAutoDelete = 0x40000000L,  // the document goes when its last view goes
    dtNoAutoView = 0x20000000L,  // create: do not make the first view
    dtSingleView = 0x10000000L,  // one view per document
    dtUpdateDir = 0x04000000L,   // the file dialogs change the current directory
    dtHidden = 0x02000000L,      // not offered by the file dialogs nor matched by name
};

class TDocTemplate {
public:
    TDocTemplate(std::string description, std::string filter, std::string defaultExt, long flags);
    virtual ~TDocTemplate() = default;
    TDocTemplate(const TDocTemplate&) = delete;
    TDocTemplate& operator=(const TDocTemplate&) = delete;

    const std::string& GetDescription() const { return description_; }
    const std::string& GetFileFilter() const { return filter_; }
    const std::string& GetDefaultExt() const { return defaultExt_; }
    long GetFlags() const { return flags_; }
    void SetFlag(long flag) { flags_ |= flag; }
    void ClearFlag(long flag) { flags_ &= ~flag; }
    bool IsFlagSet(long flag) const { return (flags_ & flag) != 0; }
    bool IsVisible() const { return !IsFlagSet(dtHidden); }

    // True when the file name (its last path component) matches one of the filter's
    // patterns, split at ';'. '*' and '?' are wildcards; letters match without regard to
    // case, since files come from installations that wrote ".PLT" as well as ".plt".
    bool MatchesPath(const std::string& path) const;

    virtual std::unique_ptr<TDocument> ConstructDoc(TDocument* parent) = 0;
    // A new view of the document, attached to it; nullptr when the document is not of
    // this template's kind.
    virtual std::unique_ptr<TView> ConstructView(TDocument& doc) = 0;
    virtual bool IsMyKindOfDoc(const TDocument& doc) const = 0;
    virtual bool IsMyKindOfView(const TView& view) const = 0;

private:
    std::string description_;
    std::string filter_;
    std::string defaultExt_;
    long flags_;
};

// The template of one document class D (constructible from a parent document pointer) shown
// in one view class V (constructible from a D&).
template <class D, class V>
class TDocViewTemplate final : public TDocTemplate {
public:
    using TDocTemplate::TDocTemplate;
    std::unique_ptr<TDocument> ConstructDoc(TDocument* parent) override
    {
        return std::make_unique<D>(parent);
    }
    std::unique_ptr<TView> ConstructView(TDocument& doc) override
    {
        D* d = dynamic_cast<D*>(&doc);
        if (!d) return nullptr;
        return std::make_unique<V>(*d);
    }
    bool IsMyKindOfDoc(const TDocument& doc) const override
    {
        return dynamic_cast<const D*>(&doc) != nullptr;
    }
    bool IsMyKindOfView(const TView& view) const override
    {
        return dynamic_cast<const V*>(&view) != nullptr;
    }
};

class TDocManager {
public:
    enum class SaveAnswer { Save, Discard, Cancel };

    TDocManager();
    // Deletes the remaining documents without asking, then the templates.
    ~TDocManager();
    TDocManager(const TDocManager&) = delete;
    TDocManager& operator=(const TDocManager&) = delete;

    // Templates, in the order they were added.
    TDocTemplate& AddTemplate(std::unique_ptr<TDocTemplate> tpl);
    std::vector<TDocTemplate*> GetTemplates() const;
    TDocTemplate* FindTemplate(const std::string& description) const;
    // The first visible template whose filter matches the file name; nullptr for none.
    TDocTemplate* MatchTemplate(const std::string& path) const;

    // Has the template construct a document and initialises it as InitDoc does.
    TDocument* CreateDoc(TDocTemplate& tpl, const std::string& path, long flags = 0);
    // Takes over a document built by the caller: gives it the template, the path (unless
    // dtNewDoc) and a place in the document list, then calls its InitDoc. A document that
    // fails is deleted and nullptr returned. Otherwise, unless dtNoAutoView, the template
    // makes its first view.
    TDocument* InitDoc(std::unique_ptr<TDocument> doc, TDocTemplate& tpl, const std::string& path,
                       long flags);
    // Makes a view of the template's kind for the document and announces it through
    // onViewCreated; nullptr when the template cannot show that document.
    TView* CreateView(TDocTemplate& tpl, TDocument& doc);

    // Open documents in the order they were created.
    const std::vector<TDocument*>& GetDocuments() const { return docs_; }
    // The document kept in the file the path names, however the path spells it (relative,
    // with "." or "..", through a link); nullptr for none. One file is one document: a second
    // document of it would overwrite the first one's saved changes with its own.
    TDocument* FindDocument(const std::string& path) const;
    // Why a file the user named may not be written: an open document is kept in it, or it is
    // one of the program's own files. Neither when both are empty.
    struct WriteRefusal {
        TDocument* holder = nullptr;  // the open document kept in the file
        int programFile = 0;          // the id the program's own file was made known with
        std::string file;             // the refused file as the holder or the program names it
        explicit operator bool() const { return holder || programFile; }
    };
    // Makes one of the program's own files known (a library, the settings): no document is saved
    // into it and nothing the user names is written over it. path answers the file's name as the
    // program uses it at the time of asking (empty: none); id tells the refusal which file it is.
    void AddProgramFile(int id, std::function<std::string()> path);
    // The one check of a file about to be written under a name the user typed or picked (save,
    // save as, export, print to file), made before anything asks whether to replace it. saving
    // is the document to be kept in the file, which may be its own; for anything else (null)
    // every open document's file is refused, for writing other bytes into it would leave its
    // window showing what the file no longer holds.
    WriteRefusal RefusalToWrite(const std::string& path, const TDocument* saving) const;
    // RefusalToWrite, with a refusal told through onWriteRefused; true when the file may be written.
    bool MayWrite(const std::string& path, const TDocument* saving);
    // Saves the document into the file it is kept in, unless that is one of the program's own
    // files (one opened as a document: the method library reads as a plate).
    bool SaveToItsFile(TDocument& doc);

    // Asks the document; when it agrees, closes and deletes it. False leaves it open.
    bool CloseDoc(TDocument& doc);
    // Asks every document first; only when all agree are they closed and deleted.
    bool CloseAll();

    // The active view (set by the GUI layer) and the document it belongs to.
    void SetActiveView(TView* view) { active_ = view; }
    TView* GetActiveView() const { return active_; }
    TDocument* GetCurrentDoc() const;

    // A running number for titles of new, unnamed documents: 1, 2, 3, ...
    int NextUntitledIndex() { return ++untitled_; }

    // The question asked for a dirty document about to close. A dirty document that must
    // be saved but has no path asks onAskSavePath for one; an empty answer keeps it open.
    // Without these hooks a dirty document is not closed.
    bool FlushDoc(TDocument& doc);

    std::function<SaveAnswer(TDocument&)> onAskSave;
    std::function<std::string(TDocument&)> onAskSavePath;
    // A file the user named was refused by MayWrite: nothing is written; this tells the user why.
    std::function<void(const std::string& path, const WriteRefusal& why)> onWriteRefused;
    // Called once a document was written to the file the user just named for it; its title is
    // that file's already, its windows are still to show it.
    std::function<void(TDocument&)> onDocRenamed;
    // Called once a view made by CreateView is attached (the GUI gives it its frame).
    std::function<void(TView&)> onViewCreated;
    // Called from a view's destructor; only the pointer's identity may be used.
    std::function<void(const TView*)> onViewDestroyed;

private:
    friend class TDocument;
    friend class TView;
    void Register(TDocument& doc);
    void Unregister(TDocument& doc);
    void ViewDestroyed(const TView* view);
    void LastViewGone(TDocument& doc);

    std::vector<std::unique_ptr<TDocTemplate>> templates_;
    std::vector<TDocument*> docs_;
    std::vector<std::pair<int, std::function<std::string()>>> programFiles_;
    TView* active_ = nullptr;
    int untitled_ = 0;
};

}  // namespace vyn
