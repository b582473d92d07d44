#pragma once
// Small reports built by the tests.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "reports/RPObjectGraph.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPReport.h"
#include "reports/RPShapes.h"

namespace vyn::test {

inline std::vector<std::uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::vector<std::uint8_t>& b)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

template <class T>
T* Add(RPReport& r, int band, int left, int top, int width, int height)
{
    auto o = std::make_unique<T>();
    o->PlaceTwips(left, top, width, height);
    return static_cast<T*>(r.Band(band).AddObject(std::move(o)));
}

// Every kind of object and a value off the default for every attribute the stream keeps.
inline void BuildRichReport(RPReport& r)
{
    r.SetName("Rich report");
    r.SetDescription("Every object kind with every attribute");
    r.GridX().SetDivisions(10);
    r.GridY().SetDivisions(12);
    r.Band(bandPageHeader).StoreHeight(700);
    r.Band(bandPageHeader).SetHdFtPresent(2);
    r.Band(bandReportHeader).SetForceNewPage(2);
    r.Band(bandReportHeader).StoreBack(0xE0F0FF);
    r.Detail().SetNOfColumns(3);
    r.Detail().SetColumnLayout(1);
    r.Detail().SetDetailSamples(0);
    r.Band(bandPageFooter).SetEnabled(false);

    auto* t = Add<RPObjectTextBox>(r, bandDetail, 100, 50, 2000, 300);
    t->StoreContents("=page");
    t->StoreCondition("=1");
    RPNumFormat f;
    f.Set(2, 5, 7);
    t->SetFormat(f);
    t->SetTextAlignH(2);
    t->SetTextAlignV(1);
    RPLogFont lf = DefaultReportFont();
    lf.weight = 700;
    lf.SetFace("Courier New");
    t->SetFont(lf);
    t->StoreColours(0x112233, 0x445566, 0x778899);
    t->StoreStyles(1, 3, 0, 1);
    QRSource cell;
    cell.Set(srCell, "B12", "");
    t->StoreSource(cell);

    r.Band(bandReportFooter).StoreHeight(3600);
    auto* rect = Add<RPObjectRectangle>(r, bandReportHeader, 0, 0, 3000, 500);
    rect->StoreStyles(1, 6, 2, 1);
    auto* line = Add<RPObjectLine>(r, bandReportFooter, 10, 20, 4000, 200);
    line->StoreSlant(1);
    QRSource smp;
    smp.Set(srSample, "", "S_1");
    line->StoreSource(smp);
    auto* g = Add<RPObjectGraph>(r, bandReportFooter, 200, 300, 4320, 2880);
    RPAxisSpec ax;
    ax.Set(1, 1, 9, 0.5, 2000, NoValue);
    g->SetAxisX(ax);
    g->SetCurveWidth(3);
    g->SetDrawGrid(1);
    g->SetRGBCurve(0x0000FF);
    auto* pic = Add<RPObjectPicture>(r, bandPageHeader, 50, 60, 700, 300);
    pic->SetPicture({1, 2, 3, 4, 5, 6, 7}, 8, 2540, 1270);
    pic->SetSizeMode(2);
    Add<RPObjectPgBreak>(r, bandDetail, 0, 400, 720, 0);
}

}  // namespace vyn::test
