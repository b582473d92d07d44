#pragma once
#include <string>

#include "platform/gui/Dialog.h"
#include "readers/QFoto.h"

namespace vyn {

// The shaking dialogs of the type-1 and OSTREL readers: a switch, a time in seconds with a
// spin, and two lists. Only the switch is enabled while shaking is off.
class QShakeOptDlg : public TDialog {
public:
    QShakeOptDlg(TWindow* parent, int resId, std::string& options);

protected:
    void SetupWindow() override;
    void CmOk() override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;

    // What the dialog shows and writes, in the reader's own terms.
    virtual void Load(int& time, int& first, int& second) const = 0;
    virtual std::string Store(int time, int first, int second) const = 0;
    virtual int FirstNames() const = 0;   // string id of the first list's first name
    virtual int FirstCount() const = 0;
    virtual int SecondNames() const = 0;
    virtual int SecondCount() const = 0;

    std::string& options_;

private:
    void CmSwitch();
    void UpdateEnabling();
    // The seconds the time edit shows (empty is 0); false for a text that is no whole number.
    bool Time(int& seconds) const;
    bool On() const;
};

// Type-1 readers: where ("inside", "outside") and how ("heavy" .. "wide").
class QSlOptDlg : public QShakeOptDlg {
public:
    QSlOptDlg(TWindow* parent, std::string& options);

protected:
    void Load(int& time, int& first, int& second) const override;
    std::string Store(int time, int first, int second) const override;
    int FirstNames() const override;
    int FirstCount() const override { return 2; }
    int SecondNames() const override;
    int SecondCount() const override { return 4; }
};

// OSTREL readers: speed ("slow" .. "fastest") and step ("narrow" .. "widest").
class QOsOptDlg : public QShakeOptDlg {
public:
    QOsOptDlg(TWindow* parent, std::string& options);

protected:
    void Load(int& time, int& first, int& second) const override;
    std::string Store(int time, int first, int second) const override;
    int FirstNames() const override;
    int FirstCount() const override { return 4; }
    int SecondNames() const override;
    int SecondCount() const override { return 4; }
};

// Multiscan readers: step-wise measurement, shaking time and mode.
class QMulOptDlg : public TDialog {
public:
    QMulOptDlg(TWindow* parent, std::string& options);

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    std::string& options_;
};

// Runs the options dialog of the reader kind: 1 when "OK" changed the text, else 0.
int RunReaderOptionsDialog(ReaderOptionsKind kind, TWindow* parent, std::string& options);
// Hands the dialogs to the drivers (SetReaderOptionsDialog); called once at start-up.
void InstallReaderOptionsDialogs();

}  // namespace vyn
