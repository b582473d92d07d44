#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <unistd.h>

#include "platform/core/DocManager.h"
#include "platform/core/Document.h"

namespace vyn {
namespace {

// A document that records what the framework asked of it.
struct TestDoc : TDocument {
    explicit TestDoc(TDocument* parent = nullptr) : TDocument(parent) {}
    ~TestDoc() override { ++destroyed; }
    bool InitDoc() override { return initResult; }
    bool Commit(bool) override
    {
        committedPath = GetDocPath();
        if (commitResult) SetDirty(false);
        return commitResult;
    }
    bool Close() override
    {
        ++closed;
        return true;
    }
    static inline int destroyed = 0;
    static inline bool initResult = true;
    bool commitResult = true;
    int closed = 0;
    std::string committedPath = "<none>";
};

struct Event {
    std::string view;
    int event;
    long item;
    bool operator==(const Event&) const = default;
};

struct TestView : TView {
    TestView(TestDoc& doc, const char* name = "QPView") : TView(doc), name_(name) {}
    ~TestView() override { ++destroyed; }
    const char* GetViewName() override { return name_; }
    bool VnNotify(int event, long item) override
    {
        if (log) log->push_back({name_, event, item});
        if (onNotify) onNotify();
        return answer;
    }
    const char* name_;
    std::vector<Event>* log = nullptr;
    std::function<void()> onNotify;
    bool answer = true;
    static inline int destroyed = 0;
};

struct GraphView : TestView {
    explicit GraphView(TestDoc& doc) : TestView(doc, "QNView") {}
};

class DocViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestDoc::destroyed = 0;
        TestDoc::initResult = true;
        TestView::destroyed = 0;
        plates = &mgr.AddTemplate(std::make_unique<TDocViewTemplate<TestDoc, TestView>>(
            "Plates", "*.plt", "plt", dtAutoDelete | dtUpdateDir | 0x1006));
        graphs = &mgr.AddTemplate(std::make_unique<TDocViewTemplate<TestDoc, GraphView>>(
            "Sample", "*.plt", "plt", dtAutoDelete | dtUpdateDir | dtHidden | 0x4));
        reports = &mgr.AddTemplate(std::make_unique<TDocViewTemplate<TestDoc, TestView>>(
            "Report", "*.qrp;*.rep", "qrp", dtSingleView));
    }
    TDocManager mgr;
    TDocTemplate* plates = nullptr;
    TDocTemplate* graphs = nullptr;
    TDocTemplate* reports = nullptr;
};

TEST_F(DocViewTest, NotifyViewsReachesEveryViewInOrderExceptTheExcludedOne)
{
    TestDoc doc;
    std::vector<Event> log;
    TestView a(doc, "QPView"), b(doc, "QLView"), c(doc, "QNView");
    a.log = b.log = c.log = &log;

    EXPECT_TRUE(doc.NotifyViews(103, 7));
    EXPECT_EQ(log, (std::vector<Event>{{"QPView", 103, 7}, {"QLView", 103, 7}, {"QNView", 103, 7}}));

    log.clear();
    b.answer = false;
    EXPECT_FALSE(doc.NotifyViews(101, 0, &a)) << "one refusing view makes the answer false";
    EXPECT_EQ(log, (std::vector<Event>{{"QLView", 101, 0}, {"QNView", 101, 0}}));
}

TEST_F(DocViewTest, AViewDestroyedByAnotherViewsHandlerIsNotCalled)
{
    TestDoc doc;
    std::vector<Event> log;
    auto* a = new TestView(doc, "QPView");
    auto* b = new TestView(doc, "QNView");
    a->log = b->log = &log;
    a->onNotify = [&] { delete b; };

    EXPECT_TRUE(doc.NotifyViews(101, 0));
    EXPECT_EQ(log, (std::vector<Event>{{"QPView", 101, 0}}));
    EXPECT_EQ(doc.GetViewCount(), 1);
}

TEST_F(DocViewTest, DestroyedViewLeavesTheViewIteration)
{
    TestDoc doc;
    auto* a = new TestView(doc, "QPView");
    auto* b = new TestView(doc, "QLView");
    auto* c = new TestView(doc, "QNView");
    EXPECT_EQ(doc.NextView(nullptr), a);
    EXPECT_EQ(doc.NextView(a), b);
    EXPECT_EQ(doc.NextView(c), nullptr);

    delete b;
    EXPECT_EQ(doc.NextView(a), c);
    EXPECT_FALSE(doc.HasView(b));
    EXPECT_EQ(doc.GetViewCount(), 2);  // the document deletes a and c when it goes
}

TEST_F(DocViewTest, LastViewOfAnAutoDeleteDocumentTakesTheDocumentWithIt)
{
    TDocument* doc = mgr.CreateDoc(*plates, "/data/a.plt");
    ASSERT_NE(doc, nullptr);
    TView* first = doc->NextView(nullptr);
    ASSERT_NE(first, nullptr) << "the template made the first view";
    TView* second = mgr.CreateView(*graphs, *doc);
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(second->GetViewName(), "QNView");

    delete first;
    EXPECT_EQ(mgr.GetDocuments().size(), 1u);
    EXPECT_EQ(TestDoc::destroyed, 0);
    delete second;
    EXPECT_TRUE(mgr.GetDocuments().empty());
    EXPECT_EQ(TestDoc::destroyed, 1);
}

TEST_F(DocViewTest, DocumentWithoutAutoDeleteOutlivesItsViews)
{
    TDocument* doc = mgr.CreateDoc(*reports, "r.qrp");
    ASSERT_NE(doc, nullptr);
    delete doc->NextView(nullptr);
    EXPECT_EQ(mgr.GetDocuments().size(), 1u);
    EXPECT_EQ(TestDoc::destroyed, 0);
}

TEST_F(DocViewTest, DeletingADocumentDeletesItsViewsAndClearsTheActiveView)
{
    TDocument* doc = mgr.CreateDoc(*plates, "a.plt");
    ASSERT_NE(doc, nullptr);
    mgr.CreateView(*plates, *doc);
    mgr.SetActiveView(doc->NextView(nullptr));
    EXPECT_EQ(mgr.GetCurrentDoc(), doc);

    std::vector<const TView*> gone;
    mgr.onViewDestroyed = [&](const TView* v) { gone.push_back(v); };
    delete doc;
    EXPECT_EQ(TestView::destroyed, 2);
    EXPECT_EQ(gone.size(), 2u);
    EXPECT_EQ(mgr.GetActiveView(), nullptr);
    EXPECT_EQ(mgr.GetCurrentDoc(), nullptr);
    EXPECT_TRUE(mgr.GetDocuments().empty());
}

TEST_F(DocViewTest, FailedInitDiscardsTheDocument)
{
    TestDoc::initResult = false;
    int announced = 0;
    mgr.onViewCreated = [&](TView&) { ++announced; };
    EXPECT_EQ(mgr.CreateDoc(*plates, "bad.plt"), nullptr);
    EXPECT_TRUE(mgr.GetDocuments().empty());
    EXPECT_EQ(TestDoc::destroyed, 1);
    EXPECT_EQ(announced, 0);
}

TEST_F(DocViewTest, InitDocTakesTheCallersDocumentAndAnnouncesItsView)
{
    std::vector<std::string> announced;
    mgr.onViewCreated = [&](TView& v) { announced.push_back(v.GetViewName()); };
    TDocument* doc = mgr.InitDoc(std::make_unique<TestDoc>(), *plates, "ignored.plt", dtNewDoc);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->HasDocPath()) << "a new document has no path";
    EXPECT_EQ(doc->GetTemplate(), plates);
    EXPECT_EQ(doc->GetDocManager(), &mgr);
    EXPECT_EQ(announced, std::vector<std::string>{"QPView"});

    TDocument* quiet = mgr.InitDoc(std::make_unique<TestDoc>(), *plates, "", dtNoAutoView);
    ASSERT_NE(quiet, nullptr);
    EXPECT_EQ(quiet->GetViewCount(), 0);
}

TEST_F(DocViewTest, TemplatesAreMatchedByFilterInOrderSkippingHiddenOnes)
{
    struct Row {
        const char* name;
        const char* path;
        const char* expected;  // description, or nullptr for no template
    };
    const Row rows[] = {
        {"plate file", "/home/u/x.plt", "Plates"},
        {"upper-case extension", "/home/u/X.PLT", "Plates"},
        {"second pattern of a filter", "old.rep", "Report"},
        {"no match", "notes.txt", nullptr},
        {"extension only in the folder", "/a.plt/notes", nullptr},
        {"pattern must cover the whole name", "x.plt.bak", nullptr},
    };
    for (const Row& r : rows) {
        TDocTemplate* t = mgr.MatchTemplate(r.path);
        EXPECT_EQ(t ? t->GetDescription() : std::string("<none>"),
                  r.expected ? r.expected : "<none>")
            << r.name;
    }
    // The hidden "Sample" template shares the filter but is never chosen by name; shown
    // alone it is.
    plates->SetFlag(dtHidden);
    EXPECT_EQ(mgr.MatchTemplate("x.plt"), nullptr);
    graphs->ClearFlag(dtHidden);
    EXPECT_EQ(mgr.MatchTemplate("x.plt"), graphs);
    EXPECT_EQ(mgr.FindTemplate("Report"), reports);
    EXPECT_EQ(mgr.GetTemplates().size(), 3u);
}

TEST_F(DocViewTest, FindDocumentComparesThePathExactly)
{
    TDocument* doc = mgr.CreateDoc(*plates, "/d/Plate.plt");
    EXPECT_EQ(mgr.FindDocument("/d/Plate.plt"), doc);
    EXPECT_EQ(mgr.FindDocument("/d/plate.plt"), nullptr);
}

// A second document of one file would overwrite what the first one saved: whatever spelling
// names an open document's file finds that document, and saving another document there is refused.
TEST_F(DocViewTest, OneFileIsOneDocumentHoweverItsNameIsSpelled)
{
    namespace fs = std::filesystem;
    std::string tmpl = (fs::temp_directory_path() / "vyn-docs-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    const std::string dir = tmpl;
    fs::create_directories(dir + "/data");
    fs::create_directories(dir + "/other");
    std::ofstream(dir + "/data/A.plt") << "A";
    std::ofstream(dir + "/data/B.plt") << "B";
    fs::create_directory_symlink(dir + "/data", dir + "/linked");
    fs::create_hard_link(dir + "/data/A.plt", dir + "/other/hard.plt");

    TDocument* a = mgr.CreateDoc(*plates, dir + "/data/A.plt");
    // Not on the disk yet: a new file saved under this name later.
    TDocument* fresh = mgr.CreateDoc(*plates, dir + "/data/new.plt");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(fresh, nullptr);
    struct Row {
        const char* name;
        std::string path;
        TDocument* found;
    };
    const Row rows[] = {
        {"as opened", dir + "/data/A.plt", a},
        {"with a dot", dir + "/data/./A.plt", a},
        {"up and down again", dir + "/other/../data/A.plt", a},
        {"through a linked folder", dir + "/linked/A.plt", a},
        {"up from a linked folder", dir + "/linked/../data/A.plt", a},
        {"a hard link", dir + "/other/hard.plt", a},
        {"a file to be made, through the link", dir + "/linked/new.plt", fresh},
        {"another file", dir + "/data/B.plt", nullptr},
        {"another case", dir + "/data/a.plt", nullptr},
        {"nothing", "", nullptr},
    };
    for (const Row& r : rows) EXPECT_EQ(mgr.FindDocument(r.path), r.found) << r.name;

    // A relative name is taken in the current folder.
    const fs::path here = fs::current_path();
    fs::current_path(dir + "/other");
    EXPECT_EQ(mgr.FindDocument("../linked/A.plt"), a);
    fs::current_path(here);

    // A new document saved on closing, under a name that the open A.plt holds: refused, kept open.
    TDocument* held = nullptr;
    mgr.onAskSave = [](TDocument&) { return TDocManager::SaveAnswer::Save; };
    mgr.onAskSavePath = [&dir](TDocument&) { return dir + "/linked/A.plt"; };
    mgr.onWriteRefused = [&held](const std::string&, const TDocManager::WriteRefusal& why) { held = why.holder; };
    auto* unnamed = static_cast<TestDoc*>(mgr.InitDoc(std::make_unique<TestDoc>(), *plates, {}, dtNewDoc));
    ASSERT_NE(unnamed, nullptr);
    unnamed->SetDirty();
    EXPECT_FALSE(mgr.CloseDoc(*unnamed));
    EXPECT_EQ(held, a);
    EXPECT_EQ(unnamed->committedPath, "<none>");
    EXPECT_FALSE(unnamed->HasDocPath());
    EXPECT_EQ(mgr.RefusalToWrite(dir + "/linked/A.plt", a).holder, nullptr) << "a document may be saved over its own file";
    EXPECT_EQ(mgr.RefusalToWrite(dir + "/linked/A.plt", unnamed).holder, a);
    EXPECT_EQ(mgr.RefusalToWrite(dir + "/linked/A.plt", nullptr).holder, a) << "nothing else is written over it";

    // The program's own files are nobody's to write over, whether they exist yet or not.
    mgr.AddProgramFile(7, [&dir] { return dir + "/data/LIB.MTW"; });
    mgr.AddProgramFile(8, [] { return std::string(); });  // not in use
    std::ofstream(dir + "/data/LIB.MTW") << "methods";
    EXPECT_EQ(mgr.RefusalToWrite(dir + "/linked/../data/LIB.MTW", a).programFile, 7);
    EXPECT_EQ(mgr.RefusalToWrite(dir + "/linked/LIB.MTW", nullptr).programFile, 7);
    fs::remove(dir + "/data/LIB.MTW");
    EXPECT_EQ(mgr.RefusalToWrite(dir + "/other/../data/LIB.MTW", nullptr).programFile, 7);
    EXPECT_FALSE(mgr.RefusalToWrite(dir + "/data/B.plt", nullptr));
    EXPECT_FALSE(mgr.RefusalToWrite("", nullptr));
    fs::remove_all(dir);
}

TEST_F(DocViewTest, TemplateShowsOnlyDocumentsOfItsKind)
{
    struct OtherDoc : TDocument {
        explicit OtherDoc(TDocument* parent) : TDocument(parent) {}
    };
    struct OtherView : TView {
        explicit OtherView(OtherDoc& d) : TView(d) {}
        const char* GetViewName() override { return "QRepView"; }
    };
    TDocViewTemplate<OtherDoc, OtherView> other("Other", "*.x", "x", 0);
    TestDoc doc;
    EXPECT_EQ(mgr.CreateView(other, doc), nullptr);
    EXPECT_EQ(doc.GetViewCount(), 0);
    EXPECT_FALSE(other.IsMyKindOfDoc(doc));
    TestView v(doc);
    EXPECT_TRUE(plates->IsMyKindOfView(v));
    EXPECT_FALSE(graphs->IsMyKindOfView(v));
}

// Closing a dirty document: what the user answers decides, and a failed save keeps it open.
TEST_F(DocViewTest, DirtyDocumentClosesOnlyWhenSavedOrDiscarded)
{
    using A = TDocManager::SaveAnswer;
    struct Row {
        const char* name;
        bool hooks;
        A answer;
        const char* docPath;
        const char* pathAnswer;
        bool commitOk;
        bool closes;
        const char* committed;
    };
    const Row rows[] = {
        {"no question can be asked", false, A::Save, "a.plt", "", true, false, "<none>"},
        {"cancel", true, A::Cancel, "a.plt", "", true, false, "<none>"},
        {"discard", true, A::Discard, "a.plt", "", true, true, "<none>"},
        {"save to its path", true, A::Save, "a.plt", "", true, true, "a.plt"},
        {"save fails", true, A::Save, "a.plt", "", false, false, "a.plt"},
        {"save without path, path given", true, A::Save, "", "new.plt", true, true, "new.plt"},
        {"save without path, none given", true, A::Save, "", "", true, false, "<none>"},
    };
    for (const Row& r : rows) {
        TDocManager m;
        TDocTemplate& t = m.AddTemplate(
            std::make_unique<TDocViewTemplate<TestDoc, TestView>>("Plates", "*.plt", "plt", 0));
        if (r.hooks) {
            m.onAskSave = [&](TDocument&) { return r.answer; };
            m.onAskSavePath = [&](TDocument&) { return std::string(r.pathAnswer); };
        }
        auto* doc = static_cast<TestDoc*>(m.CreateDoc(t, r.docPath));
        ASSERT_NE(doc, nullptr) << r.name;
        doc->commitResult = r.commitOk;
        doc->SetDirty();
        EXPECT_EQ(m.CloseDoc(*doc), r.closes) << r.name;
        EXPECT_EQ(m.GetDocuments().size(), r.closes ? 0u : 1u) << r.name;
        if (!r.closes) {
            EXPECT_EQ(doc->committedPath, r.committed) << r.name;
            EXPECT_TRUE(doc->IsDirty()) << r.name << ": the changes are still there";
        }
    }
}

TEST_F(DocViewTest, CloseAllClosesNothingWhenOneDocumentRefuses)
{
    mgr.onAskSave = [](TDocument& d) {
        return d.GetDocPath() == "keep.plt" ? TDocManager::SaveAnswer::Cancel
                                            : TDocManager::SaveAnswer::Discard;
    };
    TDocument* a = mgr.CreateDoc(*plates, "a.plt");
    TDocument* keep = mgr.CreateDoc(*plates, "keep.plt");
    a->SetDirty();
    keep->SetDirty();
    EXPECT_FALSE(mgr.CloseAll());
    EXPECT_EQ(mgr.GetDocuments().size(), 2u);

    keep->SetDirty(false);
    EXPECT_TRUE(mgr.CloseAll());
    EXPECT_TRUE(mgr.GetDocuments().empty());
    EXPECT_EQ(TestDoc::destroyed, 2);
}

TEST_F(DocViewTest, DirtinessComesFromTheDocumentItsChildrenAndItsViews)
{
    struct DirtyView : TestView {
        using TestView::TestView;
        bool IsDirty() override { return dirty; }
        bool dirty = false;
    };
    TestDoc parent;
    auto* child = new TestDoc(&parent);
    EXPECT_FALSE(parent.IsDirty());
    child->SetDirty();
    EXPECT_TRUE(parent.IsDirty());
    EXPECT_FALSE(parent.CanClose()) << "a dirty child outside a manager cannot be flushed";
    EXPECT_TRUE(parent.Revert(true));
    EXPECT_FALSE(parent.IsDirty());

    DirtyView v(parent);
    v.dirty = true;
    EXPECT_TRUE(parent.IsDirty());
    EXPECT_FALSE(parent.GetDirtyFlag());
}

TEST_F(DocViewTest, ViewAsksTheDocumentOnlyWhenItIsTheLastView)
{
    TestDoc doc;
    doc.SetDirty();  // outside a manager a dirty document refuses to close
    TestView a(doc);
    {
        TestView b(doc);
        EXPECT_TRUE(a.CanClose());
    }
    EXPECT_FALSE(a.CanClose());
    doc.SetDirty(false);
    EXPECT_TRUE(a.CanClose());
}

TEST_F(DocViewTest, UntitledNumbersRunUpwards)
{
    EXPECT_EQ(mgr.NextUntitledIndex(), 1);
    EXPECT_EQ(mgr.NextUntitledIndex(), 2);
}

// A document whose views read its own parts as they go: it takes its views down itself.
TEST(DocumentTeardown, ViewsDestroyedByTheDerivedDocumentSeeItWhole)
{
    struct PartsDoc : TDocument {
        ~PartsDoc() override { DestroyViews(); }
        virtual std::string Part() const { return part; }
        std::string part = "whole";
    };
    struct PartsView : TView {
        PartsView(PartsDoc& doc, std::string& seen) : TView(doc), doc_(doc), seen_(seen) {}
        ~PartsView() override { seen_ = doc_.Part(); }
        const char* GetViewName() override { return "PartsView"; }
        PartsDoc& doc_;
        std::string& seen_;
    };
    std::string seen;
    auto* doc = new PartsDoc;
    new PartsView(*doc, seen);
    delete doc;
    EXPECT_EQ(seen, "whole");
}

}  // namespace
}  // namespace vyn
