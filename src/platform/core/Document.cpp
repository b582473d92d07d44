#include "platform/core/Document.h"

#include <algorithm>

#include "platform/core/DocManager.h"

namespace vyn {

namespace {
unsigned gNextViewId = 1;
}

TDocument::TDocument(TDocument* parent) : parent_(parent)
{
    if (parent_) parent_->children_.push_back(this);
}

TDocument::~TDocument()
{
    DestroyViews();
    while (!children_.empty()) delete children_.back();
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    if (manager_) manager_->Unregister(*this);
}

void TDocument::DestroyViews()
{
    destroying_ = true;
    // Deleting a view detaches it, so take them from the back until none is left.
    while (!views_.empty()) delete views_.back();
}

bool TDocument::Open(int /*mode*/, const char* path)
{
    if (path) SetDocPath(path);
    return true;
}

bool TDocument::Close()
{
    bool ok = true;
    for (TDocument* child : children_) ok = child->Close() && ok;
    return ok;
}

bool TDocument::Commit(bool force)
{
    for (TDocument* child : children_)
        if (!child->Commit(force)) return false;
    return true;
}

bool TDocument::Revert(bool clear)
{
    for (TDocument* child : children_)
        if (!child->Revert(clear)) return false;
    dirty_ = false;
    return true;
}

bool TDocument::IsDirty()
{
    if (dirty_) return true;
    for (TDocument* child : children_)
        if (child->IsDirty()) return true;
    for (TView* view : views_)
        if (view->IsDirty()) return true;
    return false;
}

bool TDocument::CanClose()
{
    for (TDocument* child : children_)
        if (!child->CanClose()) return false;
    if (!IsDirty()) return true;
    return manager_ ? manager_->FlushDoc(*this) : false;
}

std::string DocTitleOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool TDocument::SetDocPath(const std::string& path)
{
    path_ = path;
    return true;
}

TView* TDocument::NextView(const TView* view) const
{
    if (!view) return views_.empty() ? nullptr : views_.front();
    auto it = std::find(views_.begin(), views_.end(), view);
    if (it == views_.end() || ++it == views_.end()) return nullptr;
    return *it;
}

bool TDocument::HasView(const TView* view) const
{
    return std::find(views_.begin(), views_.end(), view) != views_.end();
}

bool TDocument::NotifyViews(int event, long item, TView* exclude)
{
    const std::vector<TView*> snapshot = views_;
    bool answer = true;
    for (TView* view : snapshot) {
        if (view == exclude || !HasView(view)) continue;
        if (!view->VnNotify(event, item)) answer = false;
    }
    return answer;
}

void TDocument::AttachView(TView& view)
{
    views_.push_back(&view);
}

void TDocument::DetachView(TView& view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
    if (views_.empty() && !destroying_ && manager_ && template_ &&
        template_->IsFlagSet(dtAutoDelete))
        manager_->LastViewGone(*this);
}

TView::TView(TDocument& doc) : doc_(&doc), id_(gNextViewId++)
{
    doc_->AttachView(*this);
}

TView::~TView()
{
    if (TDocManager* manager = doc_->GetDocManager()) manager->ViewDestroyed(this);
    doc_->DetachView(*this);
}

bool TView::VnNotify(int /*event*/, long /*item*/)
{
    return true;
}

bool TView::CanClose()
{
    return doc_->GetViewCount() > 1 || doc_->CanClose();
}

}  // namespace vyn
