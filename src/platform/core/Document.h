#pragma once
// The document/view core: a document holds the data, its views show it and follow its
// notifications. Nothing here knows about windows; the GUI layer gives views their windows.
#include <string>
#include <vector>

namespace vyn {

class TView;
class TDocTemplate;
class TDocManager;

// The title of a document kept in the file at path: the file's name without its folder.
std::string DocTitleOf(const std::string& path);

class TDocument {
public:
    // A child document is owned by its parent and deleted with it.
    explicit TDocument(TDocument* parent = nullptr);
    // Deletes the remaining views and child documents and leaves the document manager.
    virtual ~TDocument();
    TDocument(const TDocument&) = delete;
    TDocument& operator=(const TDocument&) = delete;

    // Called by the document manager once the template and the path are set; a document
    // that answers false is discarded.
    virtual bool InitDoc() { return true; }
    // Remembers the path when one is given; reading is left to the derived document.
    virtual bool Open(int mode, const char* path = nullptr);
    // Closes the child documents.
    virtual bool Close();
    // Stores the child documents. The base has nothing of its own to store, so it never
    // clears the dirty flag: only a document that really wrote its data may call itself clean.
    virtual bool Commit(bool force = false);
    // Reverts the child documents and clears the dirty flag.
    virtual bool Revert(bool clear = false);
    // The own dirty flag, any dirty child document or any dirty view.
    virtual bool IsDirty();
    // True when the children agree and the document is clean, or its changes were saved or
    // deliberately discarded through the document manager's question. A dirty document
    // outside any manager cannot ask and refuses, so that no change is lost silently.
    virtual bool CanClose();

    void SetDirty(bool dirty = true) { dirty_ = dirty; }
    bool GetDirtyFlag() const { return dirty_; }

    const std::string& GetDocPath() const { return path_; }
    bool HasDocPath() const { return !path_.empty(); }
    virtual bool SetDocPath(const std::string& path);
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    TDocument* GetParentDoc() const { return parent_; }
    const std::vector<TDocument*>& GetChildDocs() const { return children_; }
    TDocTemplate* GetTemplate() const { return template_; }
    void SetTemplate(TDocTemplate* tpl) { template_ = tpl; }
    TDocManager* GetDocManager() const { return manager_; }

    // View iteration in the order the views were attached: NextView(nullptr) is the first
    // view, NextView(last) is nullptr, and so is NextView of a view of another document.
    TView* NextView(const TView* view) const;
    int GetViewCount() const { return static_cast<int>(views_.size()); }
    bool HasView(const TView* view) const;

    // Calls every view's notification handler (except the excluded one) with the event and
    // its item; true when no view refused. A handler may destroy or create views: views
    // destroyed meanwhile are not called, views created meanwhile are not called either.
    bool NotifyViews(int event, long item = 0, TView* exclude = nullptr);

protected:
    // Deletes the views now. A document whose views use its own members on their way out calls
    // it in its destructor: by the time the base destructor runs, those members are gone.
    void DestroyViews();

private:
    friend class TView;
    friend class TDocManager;
    void AttachView(TView& view);
    void DetachView(TView& view);

    TDocument* parent_ = nullptr;
    std::vector<TDocument*> children_;
    std::vector<TView*> views_;
    TDocTemplate* template_ = nullptr;
    TDocManager* manager_ = nullptr;
    std::string path_;
    std::string title_;
    bool dirty_ = false;
    bool destroying_ = false;
};

class TView {
public:
    // Attaches the view to the end of the document's view list.
    explicit TView(TDocument& doc);
    // Unlinks the view from its document, so that the document's view iteration no longer
    // returns it. When it was the last view of an auto-delete document that a document
    // manager holds, the document is closed and deleted too: the caller must not touch the
    // document after deleting its last view.
    virtual ~TView();
    TView(const TView&) = delete;
    TView& operator=(const TView&) = delete;

    // The kind of view, e.g. "QPView"; documents tell their views apart by it.
    virtual const char* GetViewName() = 0;
    // The document's notification handler; true means the view has no objection.
    virtual bool VnNotify(int event, long item);
    // A view may close when another view stays with the document or the document agrees.
    virtual bool CanClose();
    virtual bool IsDirty() { return false; }
    // The menu resource its frame shows in the main window while the view is active (0: the
    // main window's own).
    virtual int GetViewMenu() const { return 0; }

    TDocument& GetDocument() const { return *doc_; }
    unsigned GetViewId() const { return id_; }

private:
    TDocument* doc_;
    unsigned id_;
};

}  // namespace vyn
