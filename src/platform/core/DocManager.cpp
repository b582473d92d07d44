#include "platform/core/DocManager.h"

#include <algorithm>
#include <cctype>

#include "platform/core/AtomicFile.h"

namespace vyn {

namespace {

unsigned char Fold(char c)
{
    return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
}

// Wildcard match with '*' and '?'; iterative with one backtrack point, so that a long name
// against many stars cannot blow up.
bool WildMatch(const std::string& pattern, const std::string& name)
{
    std::size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string Trim(const std::string& s)
{
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// Whether the document is kept in the file the path names, however either spells it.
bool KeptIn(const TDocument& doc, const std::string& path)
{
    if (path.empty() || !doc.HasDocPath()) return false;
    return doc.GetDocPath() == path || SameFile(doc.GetDocPath(), path);
}

}  // namespace

TDocTemplate::TDocTemplate(std::string description, std::string filter, std::string defaultExt,
                           long flags)
    : description_(std::move(description)),
      filter_(std::move(filter)),
      defaultExt_(std::move(defaultExt)),
      flags_(flags)
{
}

bool TDocTemplate::MatchesPath(const std::string& path) const
{
    const std::string name = DocTitleOf(path);
    if (name.empty()) return false;
    std::size_t start = 0;
    while (start <= filter_.size()) {
        std::size_t end = filter_.find(';', start);
        if (end == std::string::npos) end = filter_.size();
        const std::string pattern = Trim(filter_.substr(start, end - start));
        if (!pattern.empty() && WildMatch(pattern, name)) return true;
        start = end + 1;
    }
    return false;
}

TDocManager::TDocManager() = default;

TDocManager::~TDocManager()
{
    while (!docs_.empty()) delete docs_.back();
    templates_.clear();
}

TDocTemplate& TDocManager::AddTemplate(std::unique_ptr<TDocTemplate> tpl)
{
    templates_.push_back(std::move(tpl));
    return *templates_.back();
}

std::vector<TDocTemplate*> TDocManager::GetTemplates() const
{
    std::vector<TDocTemplate*> list;
    for (const auto& tpl : templates_) list.push_back(tpl.get());
    return list;
}

TDocTemplate* TDocManager::FindTemplate(const std::string& description) const
{
    for (const auto& tpl : templates_)
        if (tpl->GetDescription() == description) return tpl.get();
    return nullptr;
}

TDocTemplate* TDocManager::MatchTemplate(const std::string& path) const
{
    for (const auto& tpl : templates_)
        if (tpl->IsVisible() && tpl->MatchesPath(path)) return tpl.get();
    return nullptr;
}

TDocument* TDocManager::CreateDoc(TDocTemplate& tpl, const std::string& path, long flags)
{
    std::unique_ptr<TDocument> doc = tpl.ConstructDoc(nullptr);
    if (!doc) return nullptr;
    return InitDoc(std::move(doc), tpl, path, flags);
}

TDocument* TDocManager::InitDoc(std::unique_ptr<TDocument> owned, TDocTemplate& tpl,
                                const std::string& path, long flags)
{
    if (!owned) return nullptr;
    TDocument* doc = owned.release();
    doc->SetTemplate(&tpl);
    if (!(flags & dtNewDoc) && !path.empty()) {
        doc->SetDocPath(path);
        // Where the document is named in lists and reports: its file's name.
        if (doc->GetTitle().empty()) doc->SetTitle(DocTitleOf(path));
    }
    Register(*doc);
    if (!doc->InitDoc()) {
        delete doc;
        return nullptr;
    }
    if (!(flags & dtNoAutoView) && !CreateView(tpl, *doc)) {
        // A document nobody can see would stay open for ever.
        delete doc;
        return nullptr;
    }
    return doc;
}

TView* TDocManager::CreateView(TDocTemplate& tpl, TDocument& doc)
{
    std::unique_ptr<TView> view = tpl.ConstructView(doc);
    if (!view) return nullptr;
    TView* v = view.release();  // the document owns its views from here on
    if (onViewCreated) onViewCreated(*v);
    return v;
}

TDocument* TDocManager::FindDocument(const std::string& path) const
{
    for (TDocument* doc : docs_)
        if (KeptIn(*doc, path)) return doc;
    return nullptr;
}

void TDocManager::AddProgramFile(int id, std::function<std::string()> path)
{
    programFiles_.emplace_back(id, std::move(path));
}

TDocManager::WriteRefusal TDocManager::RefusalToWrite(const std::string& path, const TDocument* saving) const
{
    WriteRefusal why;
    if (path.empty()) return why;
    for (const auto& [id, file] : programFiles_) {
        const std::string own = file ? file() : std::string();
        if (!own.empty() && (own == path || SameFile(own, path))) {
            why.programFile = id;
            why.file = own;
            return why;
        }
    }
    for (TDocument* doc : docs_)
        if (doc != saving && KeptIn(*doc, path)) {
            why.holder = doc;
            why.file = doc->GetDocPath();
            break;
        }
    return why;
}

bool TDocManager::MayWrite(const std::string& path, const TDocument* saving)
{
    const WriteRefusal why = RefusalToWrite(path, saving);
    if (why && onWriteRefused) onWriteRefused(path, why);
    return !why;
}

bool TDocManager::SaveToItsFile(TDocument& doc)
{
    return MayWrite(doc.GetDocPath(), &doc) && doc.Commit(true);
}

bool TDocManager::CloseDoc(TDocument& doc)
{
    if (!doc.CanClose()) return false;
    doc.Close();
    delete &doc;
    return true;
}

bool TDocManager::CloseAll()
{
    const std::vector<TDocument*> snapshot = docs_;
    for (TDocument* doc : snapshot)
        if (std::find(docs_.begin(), docs_.end(), doc) != docs_.end() && !doc->CanClose())
            return false;
    while (!docs_.empty()) {
        TDocument* doc = docs_.back();
        doc->Close();
        delete doc;
    }
    return true;
}

TDocument* TDocManager::GetCurrentDoc() const
{
    return active_ ? &active_->GetDocument() : nullptr;
}

bool TDocManager::FlushDoc(TDocument& doc)
{
    const SaveAnswer answer = onAskSave ? onAskSave(doc) : SaveAnswer::Cancel;
    switch (answer) {
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::Save:
        break;
    }
    if (!doc.HasDocPath()) {
        const std::string path = onAskSavePath ? onAskSavePath(doc) : std::string();
        if (path.empty()) return false;
        if (!MayWrite(path, &doc)) return false;
        doc.SetDocPath(path);
        // A file that could not be written is not the document's: it stays unnamed, and the
        // next save asks for a name again.
        if (!doc.Commit(true)) {
            doc.SetDocPath(std::string());
            return false;
        }
        // The close may still be cancelled by a later question: the document then stays open
        // and must be known by the file it is kept in from now on.
        doc.SetTitle(DocTitleOf(path));
        if (onDocRenamed) onDocRenamed(doc);
        return true;
    }
    return SaveToItsFile(doc);
}

void TDocManager::Register(TDocument& doc)
{
    doc.manager_ = this;
    if (std::find(docs_.begin(), docs_.end(), &doc) == docs_.end()) docs_.push_back(&doc);
}

void TDocManager::Unregister(TDocument& doc)
{
    docs_.erase(std::remove(docs_.begin(), docs_.end(), &doc), docs_.end());
    doc.manager_ = nullptr;
}

void TDocManager::ViewDestroyed(const TView* view)
{
    if (active_ == view) active_ = nullptr;
    if (onViewDestroyed) onViewDestroyed(view);
}

void TDocManager::LastViewGone(TDocument& doc)
{
    doc.Close();
    delete &doc;
}

}  // namespace vyn
