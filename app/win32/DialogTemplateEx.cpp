#include "app/win32/DialogTemplateEx.h"

#include <array>
#include <string>

#include "app/win32/WideText.h"

using res::ControlKind;
using res::DialogControl;

namespace {

struct KindRow {
    ControlKind kind;
    WORD classAtom;
    DWORD style;
};

constexpr WORD kButton = 0x0080;
constexpr WORD kStatic = 0x0082;
constexpr WORD kListBox = 0x0083;
constexpr WORD kComboBox = 0x0085;

constexpr std::array kKinds = {
    KindRow{ControlKind::GroupBox, kButton, BS_GROUPBOX},
    KindRow{ControlKind::Label, kStatic, SS_LEFT},
    KindRow{ControlKind::ValueField, kStatic, SS_LEFT | SS_CENTERIMAGE},
    KindRow{ControlKind::DropDownList, kComboBox, CBS_DROPDOWNLIST},
    KindRow{ControlKind::DropDownCombo, kComboBox, CBS_DROPDOWN},
    KindRow{ControlKind::ListBox, kListBox, LBS_NOSEL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY},
    KindRow{ControlKind::IconButton, kButton, BS_PUSHBUTTON | BS_ICON},
};

struct FlagRow {
    uint32_t flag;
    DWORD style;
    DWORD exStyle;
};

constexpr std::array kFlags = {
    FlagRow{res::kCentred, SS_CENTER, 0},
    FlagRow{res::kSunken, SS_SUNKEN, 0},
    FlagRow{res::kModalFrame, 0, WS_EX_DLGMODALFRAME},
    FlagRow{res::kVScroll, WS_VSCROLL, 0},
    FlagRow{res::kBorder, WS_BORDER, 0},
    FlagRow{res::kDefault, BS_DEFPUSHBUTTON, 0},
    FlagRow{res::kTabStop, WS_TABSTOP, 0},
};

class TemplateWriter {
public:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const char* cp1252) {
        for (wchar_t ch : WideText(cp1252, std::char_traits<char>::length(cp1252))) {
            Word(static_cast<WORD>(ch));
        }
        Word(0);
    }
    void AlignToDword() {
        if (words_.size() % 2 != 0) {
            Word(0);
        }
    }
    std::vector<WORD> Take() { return std::move(words_); }

private:
    std::vector<WORD> words_;
};

}  // namespace

ControlStyles StylesOf(const DialogControl& control) {
    ControlStyles styles{kStatic, WS_CHILD | WS_VISIBLE, 0};
    for (const KindRow& row : kKinds) {
        if (row.kind == control.kind) {
            styles.classAtom = row.classAtom;
            styles.style |= row.style;
        }
    }
    for (const FlagRow& row : kFlags) {
        if ((control.style & row.flag) != 0) {
            styles.style |= row.style;
            styles.exStyle |= row.exStyle;
        }
    }
    // Labels on one line stand vertically centred; the wrapping ones cannot.
    if (control.kind == ControlKind::Label && (control.style & res::kWraps) == 0) {
        styles.style |= SS_CENTERIMAGE;
    }
    return styles;
}

std::vector<WORD> BuildDialogTemplate(const res::DialogTemplate& dialog) {
    TemplateWriter out;
    out.Word(1);       // dlgVer
    out.Word(0xFFFF);  // signature: extended template
    out.Dword(0);      // helpID
    out.Dword(kDialogExStyle);
    out.Dword(kDialogStyle);
    out.Word(static_cast<WORD>(dialog.controls.size()));
    for (int v : {0, 0, dialog.width, dialog.height}) {
        out.Word(static_cast<WORD>(v));
    }
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(dialog.caption);
    out.Word(static_cast<WORD>(dialog.fontPoints));
    out.Word(FW_NORMAL);
    out.Word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, charset
    out.Text(dialog.fontFace);
    for (const DialogControl& c : dialog.controls) {
        const ControlStyles styles = StylesOf(c);
        out.AlignToDword();
        out.Dword(0);  // helpID
        out.Dword(styles.exStyle);
        out.Dword(styles.style);
        for (int v : {c.x, c.y, c.w, c.h}) {
            out.Word(static_cast<WORD>(v));
        }
        out.Dword(static_cast<DWORD>(c.id));
        out.Word(0xFFFF);
        out.Word(styles.classAtom);
        out.Text(c.text);
        out.Word(0);  // no creation data
    }
    return out.Take();
}
