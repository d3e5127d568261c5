#include "app/win32/BrenlowDlg.h"

#include "app/ListText.h"
#include "app/win32/DialogTemplateEx.h"
#include "app/win32/DpiLayout.h"
#include "app/win32/WideText.h"
#include "res/DialogTemplate.h"

namespace {

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

// Not shared: a shared icon keeps the size it was first loaded at, whatever the DPI later.
HICON LoadIconAt(int id, int size) {
    return static_cast<HICON>(
        LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// Gives up what `held` holds for `value`.
void Replace(HICON& held, HICON value) {
    if (held != nullptr) {
        DestroyIcon(held);
    }
    held = value;
}
void Replace(HFONT& held, HFONT value) {
    if (held != nullptr) {
        DeleteObject(held);
    }
    held = value;
}

// A colour scheme for users who need strong contrast is on: its colours replace ours.
bool HighContrast() {
    HIGHCONTRASTW scheme{};
    scheme.cbSize = sizeof scheme;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof scheme, &scheme, 0) &&
           (scheme.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

CBrenlowDlg::CBrenlowDlg(HWND parent, size_t lineCap)
    : m_parent(parent),
      m_lineCap(lineCap),
      m_pTargetBrush(CreateSolidBrush(kTargetColour)),
      m_pOwnVesselBrush(CreateSolidBrush(kOwnVesselColour)),
      m_template(BuildDialogTemplate(res::MainDialogTemplate())) {}

CBrenlowDlg::~CBrenlowDlg() {
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
    // Released by OnDestroy when the window was made; not otherwise.
    for (HBRUSH brush : {m_pTargetBrush, m_pOwnVesselBrush}) {
        if (brush != nullptr) {
            DeleteObject(brush);
        }
    }
}

INT_PTR CBrenlowDlg::DoModal() {
    return DialogBoxIndirectParamW(Instance(), reinterpret_cast<LPCDLGTEMPLATEW>(m_template.data()),
                                   m_parent, &CBrenlowDlg::DialogProc,
                                   reinterpret_cast<LPARAM>(this));
}

HWND CBrenlowDlg::Create() {
    return CreateDialogIndirectParamW(
        Instance(), reinterpret_cast<LPCDLGTEMPLATEW>(m_template.data()), m_parent,
        &CBrenlowDlg::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CBrenlowDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<CBrenlowDlg*>(lParam)->m_hWnd = window;
    }
    auto* self = reinterpret_cast<CBrenlowDlg*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    const INT_PTR result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

// The message map. FALSE hands a message on to the dialog's default processing.
INT_PTR CBrenlowDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
        case WM_TIMER:
            OnTimer();
            return FALSE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        case WM_DPICHANGED:
            return OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        case WM_COMMAND:
            return OnCommand(wParam);
        case kReleaseList:
            ReleaseList();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<INT_PTR>(OnCtlColor(
                reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), CTLCOLOR_STATIC));
        default:
            return FALSE;
    }
}

void CBrenlowDlg::DoDataExchange() {
    m_okButton = GetDlgItem(m_hWnd, IDOK);
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i].Attach(GetDlgItem(m_hWnd, kPortSettingRows[i].controlId));
    }
    m_lineList = GetDlgItem(m_hWnd, res::kIdLineList);
    m_logic.DoDataExchange(
        [this](int id) -> ComboControl& { return m_boxes.at(SettingIndex(id)); });
}

BOOL CBrenlowDlg::OnInitDialog() {
    DoDataExchange();
    LoadIcons(DpiOf(m_hWnd));
    m_logic.OnInitDialog();
    SetTimer(m_hWnd, kTimerId, kTimerPeriodMs, nullptr);
    return TRUE;  // the focus goes to the first tab stop, the OK button
}

void CBrenlowDlg::OnTimer() {
    m_logic.OnTimer(*this);
}

void CBrenlowDlg::InsertLineAtTop(const char* line, size_t length) {
    // A list box redraws and rescales its scroll bar at every insertion, which with a full
    // list costs far more than the insertion itself: the lines of a tick go in with drawing
    // held, and the list is drawn once the window's queue comes round again.
    // (Held only when the release is sure to come: a full queue refuses the message.)
    if (!m_listHeld && PostMessageW(m_hWnd, kReleaseList, 0, 0)) {
        m_listHeld = true;
        SendMessageW(m_lineList, WM_SETREDRAW, FALSE, 0);
    }
    const std::wstring text = WideText(ListText(line, length));
    SendMessageW(m_lineList, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // Bounded as in the Linux window, so that a run of weeks keeps a steady memory use.
    const LRESULT count = SendMessageW(m_lineList, LB_GETCOUNT, 0, 0);
    if (count > static_cast<LRESULT>(m_lineCap)) {
        SendMessageW(m_lineList, LB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
    }
}

void CBrenlowDlg::ReleaseList() {
    m_listHeld = false;
    SendMessageW(m_lineList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_lineList, nullptr, TRUE);
}

void CBrenlowDlg::SetControlText(int id, const std::string& cp1252) {
    SetDlgItemTextW(m_hWnd, id, WideText(cp1252).c_str());
}

BOOL CBrenlowDlg::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        return FALSE;
    }
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const UINT dpi = DpiOf(m_hWnd);
    const int iconWidth = MetricAt(SM_CXICON, dpi);
    const int iconHeight = MetricAt(SM_CYICON, dpi);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIconEx(dc, x, y, m_hIcon, iconWidth, iconHeight, 0, nullptr, DI_NORMAL);
    EndPaint(m_hWnd, &paint);
    return TRUE;
}

void CBrenlowDlg::OnDestroy() {
    m_logic.OnDestroy();
    for (HBRUSH* brush : {&m_pTargetBrush, &m_pOwnVesselBrush}) {
        if (*brush != nullptr) {
            DeleteObject(*brush);
            *brush = nullptr;
        }
    }
    for (HICON* icon : {&m_hIcon, &m_hSmallIcon, &m_hTickIcon}) {
        Replace(*icon, nullptr);
    }
    Replace(m_font, nullptr);
}

void CBrenlowDlg::LoadIcons(UINT dpi) {
    // The images Windows would pick at this DPI (48 and 24 pixels at 144), never one stretched.
    const int large = MetricAt(SM_CXICON, dpi), small = MetricAt(SM_CXSMICON, dpi);
    const HICON icons[] = {LoadIconAt(res::kIdIconRadar, large),
                           LoadIconAt(res::kIdIconRadar, small),
                           LoadIconAt(res::kIdIconTick, large)};
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons[0]));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons[1]));
    SendMessageW(m_okButton, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icons[2]));
    Replace(m_hIcon, icons[0]);
    Replace(m_hSmallIcon, icons[1]);
    Replace(m_hTickIcon, icons[2]);
}

// Moved to a monitor of another DPI: every control goes where the template's dialog units put
// it with the template's font at that DPI, the font with it, and the icons at their sizes.
BOOL CBrenlowDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    const res::DialogTemplate& dialog = res::MainDialogTemplate();
    const HFONT font = CreateTemplateFont(dialog, dpi);
    const BaseUnits units = BaseUnitsOf(font);
    HWND child = GetWindow(m_hWnd, GW_CHILD);
    for (const res::DialogControl& c : dialog.controls) {
        if (child == nullptr) {
            break;
        }
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const RECT r = PixelsOf(c.x, c.y, c.w, c.h, units);
        SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    const RECT frame =
        FrameAround(PixelsOf(0, 0, dialog.width, dialog.height, units),
                    static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE)),
                    static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_EXSTYLE)), DpiOf(m_hWnd));
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Replace(m_font, font);
    LoadIcons(dpi);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

HBRUSH CBrenlowDlg::OnCtlColor(HDC dc, HWND control, UINT kind) {
    // A null brush lets the dialog's default colouring stand.
    const HBRUSH base = nullptr;
    if (kind != CTLCOLOR_STATIC) {
        return base;
    }
    const int id = GetDlgCtrlID(control);
    const res::DialogControl* row = id > 0 ? res::FindControl(id) : nullptr;
    if (row == nullptr || HighContrast()) {
        return base;
    }
    // Black on yellow and cyan, whatever text colour the user's scheme has.
    if ((row->style & res::kTargetColour) != 0) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, kTargetColour);
        return m_pTargetBrush;
    }
    if ((row->style & res::kOwnVesselColour) != 0) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, kOwnVesselColour);
        return m_pOwnVesselBrush;
    }
    return base;
}

BOOL CBrenlowDlg::OnCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == CBN_SELCHANGE && m_logic.OnSelChange(id)) {
        return TRUE;
    }
    // OK, Escape and the close box (IDCANCEL) end the dialog alike.
    if ((id == IDOK || id == IDCANCEL) && code == BN_CLICKED) {
        EndDialog(m_hWnd, id);
        return TRUE;
    }
    return FALSE;
}
