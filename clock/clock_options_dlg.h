// CClockOptionsDlg ("时钟选项", dialog 156): whether the clock shows, with a
// second hand and the moon, its radius and its transparency.
#pragma once

#include "framework/dialog.h"

struct ClockOptions {
    int show = 0;
    int showSecondHand = 0;
    int showMoon = 0;
    int radius = 60;          // 50..200 pixels
    int transparency = 40;    // 0..100 percent
};

class CClockOptionsDlg : public CDialog {
public:
    // `layeredWindows`: whether the system can show the clock at all;
    // without it "显示时钟" is disabled and stays off.
    CClockOptionsDlg(const ClockOptions& options, bool layeredWindows, CWnd* parent = nullptr);

    // The values after OK.
    const ClockOptions& Options() const { return m_options; }

    static constexpr int kMinRadius = 50;
    static constexpr int kMaxRadius = 200;
    static constexpr int kMaxTransparency = 100;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

private:
    ClockOptions m_options;
    bool m_bLayered;
};
