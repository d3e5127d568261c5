#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "app/LineStore.h"
#include "app/MainDialogLogic.h"
#include "app/TargetView.h"
#include "app/win32/ComboBoxControl.h"
#include "res/DialogTemplate.h"

// The main window (dialog template 102) as the native Win32 dialog.
class CBrenlowDlg : public TargetView {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerPeriodMs = 500;
    static constexpr COLORREF kTargetColour = res::kTargetColourRef;
    static constexpr COLORREF kOwnVesselColour = res::kOwnVesselColourRef;

    // `lineCap`: the most lines listed; the oldest goes beyond it.
    explicit CBrenlowDlg(HWND parent, size_t lineCap = LineStore::kDefaultCap);
    ~CBrenlowDlg() override;
    CBrenlowDlg(const CBrenlowDlg&) = delete;
    CBrenlowDlg& operator=(const CBrenlowDlg&) = delete;

    // Runs modally; IDOK or IDCANCEL.
    INT_PTR DoModal();
    // Opens the window without a loop of its own (the caller pumps messages).
    HWND Create();

    void InsertLineAtTop(const char* line, size_t length) override;
    void SetControlText(int id, const std::string& cp1252) override;

    HWND GetSafeHwnd() const { return m_hWnd; }
    MainDialogLogic& Logic() { return m_logic; }

private:
    static constexpr UINT kReleaseList = WM_APP + 1;

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void DoDataExchange();
    BOOL OnInitDialog();
    void OnTimer();
    BOOL OnPaint();
    HCURSOR OnQueryDragIcon() const { return m_hIcon; }
    void OnDestroy();
    BOOL OnDpiChanged(UINT dpi, const RECT& suggested);
    void LoadIcons(UINT dpi);
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);
    BOOL OnCommand(WPARAM wParam);
    void ReleaseList();

    HWND m_parent;
    size_t m_lineCap;
    HWND m_hWnd = nullptr;
    HWND m_okButton = nullptr;
    std::array<ComboBoxControl, kPortSettingRows.size()> m_boxes;  // in PortSetting order
    HWND m_lineList = nullptr;
    bool m_listHeld = false;
    // Icon 128 large and small and icon 129 on OK, each loaded at the window's DPI.
    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    HICON m_hTickIcon = nullptr;
    HFONT m_font = nullptr;  // the template's font at a DPI the window moved to
    MainDialogLogic m_logic;
    HBRUSH m_pTargetBrush;
    HBRUSH m_pOwnVesselBrush;
    std::vector<WORD> m_template;
};
