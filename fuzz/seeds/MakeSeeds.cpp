// Writes seed corpora: report files, bare report streams and report libraries made by the
// program's own writers, and the demo method library and plate that the program installs.
// Without them a fuzzer starting from nothing must guess a file header, the stream offset it
// names and the stream header behind it all at once, and never reaches the record readers.
//
//   make_fuzz_seeds OUTDIR DEMO_DIR  ->  OUTDIR/<target>/ for the targets that read these
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "reports/CRepList.h"
#include "reports/ByteIO.h"
#include "reports/QRepDoc.h"
#include "tests/reports/ReportFixtures.h"
#include "tests/reports/WmfFixture.h"

namespace fs = std::filesystem;
using namespace vyn;

namespace {

using Seed = std::pair<std::string, std::unique_ptr<RPReport>>;

// One report per object kind, so that each kind's reader has a small input of its own.
std::vector<Seed> Reports()
{
    std::vector<Seed> seeds;
    auto add = [&seeds](const char* name) -> RPReport& {
        seeds.emplace_back(name, std::make_unique<RPReport>());
        return *seeds.back().second;
    };
    add("empty");
    test::BuildRichReport(add("rich"));

    RPReport& text = add("textbox");
    text.SetName("Text");
    auto* t = test::Add<RPObjectTextBox>(text, bandPageHeader, 0, 0, 2880, 400);
    t->StoreContents("Result of =S.x for plate");
    t->StoreCondition("=S.f(1) > 0.5");
    QRSource global;
    global.Set(srGlobal, "", "");
    t->StoreSource(global);

    RPReport& rect = add("rectangle");
    test::Add<RPObjectRectangle>(rect, bandReportHeader, 100, 100, 1440, 720)->StoreStyles(1, 2, 1, 1);

    RPReport& line = add("line");
    test::Add<RPObjectLine>(line, bandDetail, 0, 0, 1440, 0)->StoreSlant(1);

    RPReport& graph = add("graph");
    auto* g = test::Add<RPObjectGraph>(graph, bandReportFooter, 0, 0, 4320, 2880);
    RPAxisSpec y;
    y.Set(2, 0, 4, 0.01, 3.0, NoValue);
    g->SetAxisY(y);
    g->SetDrawAxes(1);
    g->SetDrawLabels(1);

    RPReport& picture = add("picture");
    test::Add<RPObjectPicture>(picture, bandPageFooter, 0, 0, 1440, 720)
        ->SetPicture(test::GreenRectangleWmf(), 8, 1000, 500);

    RPReport& pageBreak = add("pagebreak");
    test::Add<RPObjectPgBreak>(pageBreak, bandDetail, 0, 200, 720, 0);
    return seeds;
}

void Put(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    if (bytes.empty()) {
        std::fprintf(stderr, "make_fuzz_seeds: nothing written for %s\n", path.c_str());
        std::exit(1);
    }
    test::WriteAll(path.string(), bytes);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_fuzz_seeds OUTDIR DEMO_DIR\n");
        return 2;
    }
    const fs::path out = argv[1], demo = argv[2];
    const fs::path docs = out / "fuzz_report_doc", streams = out / "fuzz_report_file",
                   libraries = out / "fuzz_report_library", methods = out / "fuzz_method_library",
                   plates = out / "fuzz_plate_file";
    for (const auto& dir : {docs, streams, libraries, methods, plates}) {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    const std::vector<std::uint8_t> methodLibrary = test::ReadAll((demo / "VYN.MTW").string()),
                                    demoPlate = test::ReadAll((demo / "Demo.plt").string());
    Put(methods / "VYN.MTW", methodLibrary);
    // The plate target takes its first byte as the decimal character and sequential limit:
    // 0 is '.' and 1 is ',', both with no limit.
    for (const std::uint8_t first : {0, 1}) {
        std::vector<std::uint8_t> plate(1, first);
        plate.insert(plate.end(), demoPlate.begin(), demoPlate.end());
        Put(plates / ("Demo-" + std::to_string(first) + ".plt"), demoPlate.empty() ? demoPlate : plate);
    }
    const std::vector<Seed> reports = Reports();
    for (const auto& [name, report] : reports) {
        Put(docs / (name + ".qrp"), QRepDoc::FileBytes(*report));
        Put(streams / (name + ".stream"), report->WriteStream());
    }

    // A file whose header places the stream further on than the writer does.
    std::vector<std::uint8_t> moved = QRepDoc::FileBytes(*reports[1].second);
    moved.insert(moved.begin() + kReportFileHeaderSize, 64, 0);
    PutU32(moved.data() + 8, 2 * kReportFileHeaderSize);
    PutU32(moved.data() + 16, static_cast<std::uint32_t>(moved.size()));
    Put(docs / "rich-offset128.qrp", moved);

    // A library holding every report, and one whose entries were renamed and replaced, so
    // that deleted entries and changed strings are in the corpus too.
    const fs::path all = libraries / "all.mrw", edited = libraries / "edited.mrw";
    for (const auto& path : {all, edited}) {
        for (const auto& [name, report] : reports) {
            CRepList list(path.string());
            if (fs::exists(path)) list.Open(true);
            if (list.Append(*report) != 0) {
                std::fprintf(stderr, "make_fuzz_seeds: cannot append to %s\n", path.c_str());
                return 1;
            }
        }
    }
    CRepList list(edited.string());
    list.Open(true);
    if (list.status != lsOpen || !list.SetStrings(0, "Renamed", "A changed description") || list.Commit() != 1 ||
        list.Replace(*reports[2].second, 1) != 0) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot edit %s\n", edited.c_str());
        return 1;
    }
    return 0;
}
