// Pictures of plates opened from files, in the running program of a fresh installation:
// "frame-caption" the demo plate's frames after File > Save as, "select-calibration" the
// calibration dialog's choice among two other open plates, "report-preview" the preview of a
// library report with a picture over the demo plate.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "AppShot.h"
#include "app/AppGlobals.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "document/QDoc.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/testing/PlaceableMetafile.h"
#include "printing/TRwPreview.h"
#include "report_designer/RPListDialogs.h"
#include "reports/CRepList.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"
#include "reports/RPShapes.h"

namespace {

using namespace vyn;

TWindow* ModalWindow() { return TWindow::FromWidget(QApplication::activeModalWidget()); }

bool Save(QWidget* w, const std::string& out) { return w && w->grab().save(QString::fromStdString(out), "PNG"); }

// A small placeable metafile: a plate of 3 x 2 wells, two of them coloured, 1.5 x 1 inch.
std::vector<std::uint8_t> PlatePicture()
{
    TPlaceableMetafile wmf;
    auto brush = [&wmf](std::uint32_t bgr) {
        wmf.Add(0x02FC, {0, static_cast<std::uint16_t>(bgr & 0xFFFF), static_cast<std::uint16_t>(bgr >> 16), 0});
    };
    wmf.Add(0x020B, {0, 0});        // window origin
    wmf.Add(0x020C, {1000, 1500});  // window extent y, x
    brush(0xF0E0C8);                // object 0: the plate, light blue
    brush(0xFFFFFF);                // 1: an empty well
    brush(0x40C040);                // 2: a positive well, green
    brush(0x4040E0);                // 3: a reactive well, red
    wmf.Add(0x012D, {0});
    wmf.Add(0x041B, {980, 1480, 20, 20});  // rectangle bottom, right, top, left
    const int fill[6] = {2, 1, 3, 1, 2, 1};
    for (int i = 0; i < 6; ++i) {
        const int x = 150 + (i % 3) * 450, y = 150 + (i / 3) * 400;
        wmf.Add(0x012D, {static_cast<std::uint16_t>(fill[i])});
        wmf.Add(0x0418, {static_cast<std::uint16_t>(y + 300), static_cast<std::uint16_t>(x + 300),
                         static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(x)});
    }
    wmf.Add(0x0000, {});
    return wmf.Bytes(1500, 1000, 1000, 4);
}

template <class T>
T* AddObject(RPReport& r, int band, int left, int top, int width, int height)
{
    auto o = std::make_unique<T>();
    T* raw = o.get();
    o->SetPos(TPoint(left, top));
    o->SetSize(TSize(width, height));
    r.Band(band).AddObject(std::move(o));
    return raw;
}

// "Picture report": the report's name and the plate's file in the header with the picture
// beside them, one line per sample with its number and concentration.
void PutPictureReportInLibrary()
{
    RPReport r;
    r.SetName("Picture report");
    r.SetDescription("Samples beside a picture of the plate");
    r.Band(bandPageHeader).SetEnabled(false);
    r.Band(bandPageFooter).SetEnabled(false);
    r.Band(bandReportFooter).SetEnabled(false);
    r.Band(bandReportHeader).StoreHeight(1800);
    r.Detail().StoreHeight(300);
    AddObject<RPObjectTextBox>(r, bandReportHeader, 0, 0, 4000, 400)->StoreContents("=report");
    AddObject<RPObjectTextBox>(r, bandReportHeader, 0, 500, 4000, 300)->StoreContents("=\"Plate \" + filename");
    auto* pic = AddObject<RPObjectPicture>(r, bandReportHeader, 4400, 0, 2160, 1440);
    pic->LoadFromFileBytes(PlatePicture());
    AddObject<RPObjectTextBox>(r, bandDetail, 0, 0, 1800, 280)->StoreContents("=\"Sample \" + smplseq");
    AddObject<RPObjectTextBox>(r, bandDetail, 2000, 0, 1800, 280)->StoreContents("=conc");
    CRepList list(ReportLibraryPath());
    list.Open(false);
    list.Append(r);
}

int ShootPlates(int& argc, char** argv, const std::string& root, const std::string& which, const std::string& out)
{
    vynwApp app("Vyn32", argc, argv, "", "");
    app.InitMainWindow();
    RwMainWindow* frame = app.GetMainFrame();
    frame->Create();
    frame->MoveWindow(0, 0, 1000, 680);
    frame->ShowWindow(1);
    const std::string data = root + "/data";
    if (which == "report-preview") PutPictureReportInLibrary();
    auto* doc = dynamic_cast<QDoc*>(app.OpenPlate(data + "/Demo.plt"));
    if (!doc) return 1;
    int rc = 1;
    std::function<void()> act;
    if (which == "frame-caption") {
        app.ShowView("Samples");
        app.GetMDIClient()->TileChildren();
        act = [&] {
            SetFileDialogAnswer([&](bool, const std::string&) { return data + "/Demo renamed.plt"; });
            frame->SendCommand(CM_FILESAVEAS);
            QTimer::singleShot(300, [&] {
                rc = Save(frame->Widget(), out) ? 0 : 1;
                QApplication::quit();
            });
        };
    } else if (which == "select-calibration") {
        for (const char* name : {"Plate A.plt", "Plate B.plt"}) {
            std::filesystem::copy_file(data + "/Demo.plt", data + "/" + name);
            if (auto* other = dynamic_cast<QDoc*>(app.OpenPlate(data + "/" + name))) {
                other->CalculatePlate();
                other->SetDirty(false);  // nothing to save when the program ends
            }
        }
        if (TView* v = doc->NextView(nullptr)) app.ActivateViewFrame(*v);
        act = [&] {
            // The calibration dialog, its "Load" button, then the choice.
            QTimer::singleShot(500, [&] {
                auto* curveFit = dynamic_cast<TDialog*>(ModalWindow());
                if (!curveFit) return;
                QTimer::singleShot(500, [&] {
                    TWindow* choice = ModalWindow();
                    rc = choice && Save(choice->Widget(), out) ? 0 : 1;
                    if (auto* d = dynamic_cast<TDialog*>(choice)) d->CloseWindow(IDCANCEL);
                });
                if (auto* load = dynamic_cast<TButton*>(curveFit->GetDlgItem(415))) load->Click();
                curveFit->CloseWindow(IDCANCEL);
            });
            frame->SendCommand(CM_CALIBRATION);
            QApplication::quit();
        };
    } else {
        doc->GetPlate().reportDef = "Picture report";
        act = [&] {
            // The plate's report dialog with the bound report chosen, then the preview.
            QTimer::singleShot(500, [&] {
                TWindow* choose = ModalWindow();
                if (!choose) return;
                QTimer::singleShot(1000, [&] {
                    TWindow* preview = ModalWindow();
                    if (preview) preview->Widget()->resize(900, 900);
                    QTimer::singleShot(500, [&, preview] {
                        rc = preview && Save(preview->Widget(), out) ? 0 : 1;
                        if (preview) preview->PostCommand(CM_PREVIEWCLOSE);
                    });
                });
                choose->SendCommand(IDOK);
            });
            frame->SendCommand(CM_REPORTPREVIEW);
            QApplication::quit();
        };
    }
    QTimer::singleShot(800, [&] { act(); });
    QApplication::exec();
    return rc;
}

}  // namespace

int PlateShot(int& argc, char** argv, const std::string& out, const std::string& which)
{
    return InFreshInstallation(out, [&](const std::string& root, const std::string& picture) {
        return ShootPlates(argc, argv, root, which, picture);
    });
}
