#include "reader_dialogs/QComSetupDlg.h"

#include "platform/core/TypedNumbers.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlList.h"
#include "readers/QCommSettings.h"
#include "reader_dialogs/ReaderUiIds.h"

namespace vyn {

namespace {
enum : int {
    idPortLabel = 101, idPort = 102, idSpeedLabel = 103, idSpeed = 104,
    idWordGroup = 105, id7Bit = 106, id8Bit = 107,
    idStopGroup = 108, id1Stop = 109, id2Stop = 110,
    idParityGroup = 111, idNone = 112, idOdd = 113, idEven = 114,
};
}

QComSetupDlg::QComSetupDlg(TWindow* parent, QCommSettings& settings) : TDialog(parent, idDlgComSetup), settings_(settings)
{
    SetContextHelpId(3312);
    new TComboBox(this, idPort);
    new TComboBox(this, idSpeed);
    for (int id = id7Bit; id <= idEven; ++id)
        if (id != idStopGroup && id != idParityGroup) new TRadioButton(this, id);
}

bool QComSetupDlg::Checked(int id) const
{
    auto* b = dynamic_cast<TCheckBox*>(GetDlgItem(id));
    return b && b->GetCheck() == TCheckBox::BF_CHECKED;
}

void QComSetupDlg::SetupWindow()
{
    TDialog::SetupWindow();
    auto* port = static_cast<TComboBox*>(GetDlgItem(idPort));
    for (int i = 1; i <= 9; ++i) port->AddString("COM" + std::to_string(i));
    port->SetSelIndex(settings_.portIndex);

    auto* speed = static_cast<TComboBox*>(GetDlgItem(idSpeed));
    int allowed = 0;
    for (int i = 0; i < QCommSettings::kBaudCount; ++i) {
        if (settings_.forbiddenRates & (1u << i)) continue;
        const int index = speed->AddString(std::to_string(QCommSettings::kBaudTable[i]));
        if (QCommSettings::kBaudTable[i] == settings_.baud) speed->SetSelIndex(index);
        ++allowed;
    }
    // With no rate left the list still shows the rate in use.
    if (allowed == 0) speed->SetSelIndex(speed->AddString(std::to_string(settings_.baud)));
    if (allowed < 2) {
        speed->EnableWindow(false);
        GetDlgItem(idSpeedLabel)->EnableWindow(false);
    }

    auto check = [this](int id) { static_cast<TCheckBox*>(GetDlgItem(id))->SetCheck(TCheckBox::BF_CHECKED); };
    check(id7Bit + (settings_.dataBits ? 1 : 0));
    check(id1Stop + (settings_.stopBits ? 1 : 0));
    check(idNone + (settings_.parity >= 0 && settings_.parity <= 2 ? settings_.parity : 0));

    struct Group {
        std::uint8_t mask;
        int box, first, last;
    };
    const Group groups[] = {{QCommSettings::kLockDataBits, idWordGroup, id7Bit, id8Bit},
                            {QCommSettings::kLockStopBits, idStopGroup, id1Stop, id2Stop},
                            {QCommSettings::kLockParity, idParityGroup, idNone, idEven}};
    for (const Group& g : groups) {
        if (!(settings_.lockedChoices & g.mask)) continue;
        GetDlgItem(g.box)->EnableWindow(false);
        for (int id = g.first; id <= g.last; ++id) GetDlgItem(id)->EnableWindow(false);
    }
}

void QComSetupDlg::CmOk()
{
    const std::string port = GetDlgItemText(idPort);
    if (port.size() >= 4 && port[3] >= '1' && port[3] <= '9') settings_.portIndex = port[3] - '1';
    int rate = 0;
    if (ReadTypedWhole(GetDlgItemText(idSpeed).c_str(), QCommSettings::kBaudTable[0],
                       QCommSettings::kBaudTable[QCommSettings::kBaudCount - 1], rate) == tnNumber)
        settings_.baud = rate;
    settings_.dataBits = Checked(id8Bit) ? 1 : 0;
    settings_.stopBits = Checked(id2Stop) ? 1 : 0;
    settings_.parity = Checked(idEven) ? 2 : Checked(idOdd) ? 1 : 0;
    CloseWindow(IDOK);
}

}  // namespace vyn
