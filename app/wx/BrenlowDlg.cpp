#include "app/wx/BrenlowDlg.h"

#include <algorithm>
#include <vector>

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "app/wx/DisplayText.h"
#include "app/wx/TemplateLayout.h"
#include "app/wx/ValueField.h"
#include "res/DialogTemplate.h"
#include "res/Icons.h"

using res::ControlKind;
using res::DialogControl;

namespace {

wxIconBundle RadarIcons() {
    wxIconBundle icons;
    icons.AddIcon(wxIcon(res::kRadarIcon32));
    icons.AddIcon(wxIcon(res::kRadarIcon16));
    return icons;
}

}  // namespace

CBrenlowDlg::CBrenlowDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, res::MainDialogTemplate().caption, wxDefaultPosition,
               wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_icon(RadarIcons()),
      m_targetColour(static_cast<unsigned long>(res::kTargetColourRef)),
      m_ownVesselColour(static_cast<unsigned long>(res::kOwnVesselColourRef)),
      m_timer(this, kTimerId) {
    CreateControls();
    Bind(wxEVT_INIT_DIALOG, &CBrenlowDlg::OnInitDialog, this);
    Bind(wxEVT_TIMER, &CBrenlowDlg::OnTimer, this, kTimerId);
    Bind(wxEVT_BUTTON, &CBrenlowDlg::OnOk, this, wxID_OK);
    Bind(wxEVT_CHAR_HOOK, &CBrenlowDlg::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &CBrenlowDlg::OnClose, this);
    Bind(wxEVT_CHOICE, &CBrenlowDlg::OnSelChange, this);
    m_logic.DoDataExchange([this](int id) -> ComboControl& { return Box(id); });
}

CBrenlowDlg::~CBrenlowDlg() {
    OnDestroy();
}

wxColour CBrenlowDlg::FieldColour(uint32_t style) const {
    if (style & res::kTargetColour) {
        return m_targetColour;
    }
    if (style & res::kOwnVesselColour) {
        return m_ownVesselColour;
    }
    return wxColour();
}

void CBrenlowDlg::CreateControls() {
    const res::DialogTemplate& dialog = res::MainDialogTemplate();
    SetFont(wxFontInfo(dialog.fontPoints).Family(wxFONTFAMILY_SWISS));

    std::vector<std::pair<const DialogControl*, wxWindow*>> made;
    int comboHeight = 0;
    for (const DialogControl& c : dialog.controls) {
        const wxString text = DisplayText(c.text, std::char_traits<char>::length(c.text));
        wxWindow* w = nullptr;
        switch (c.kind) {
            case ControlKind::GroupBox:
                w = new wxStaticBox(this, wxID_ANY, text);
                break;
            case ControlKind::Label:
                w = new wxStaticText(this, wxID_ANY, text);
                break;
            case ControlKind::ValueField: {
                const auto frame = (c.style & res::kModalFrame) ? ValueField::Frame::Raised
                                                                : ValueField::Frame::Sunken;
                auto* field =
                    new ValueField(this, c.id, text, wxDefaultPosition, wxDefaultSize,
                                   (c.style & res::kCentred) != 0, frame, FieldColour(c.style));
                m_fields[static_cast<size_t>(c.id - res::kFirstIndexedId)] = field;
                w = field;
                break;
            }
            case ControlKind::ListBox:
                m_lineList = new LineListBox(this, c.id, wxDefaultPosition, wxDefaultSize);
                w = m_lineList;
                break;
            case ControlKind::IconButton:
                m_okButton = new wxBitmapButton(this, wxID_OK, wxBitmap(res::kTickIcon32));
                m_okButton->SetToolTip(text);
                m_okButton->SetDefault();
                w = m_okButton;
                break;
            case ControlKind::DropDownList:
            case ControlKind::DropDownCombo: {
                auto* choice = new wxChoice(this, c.id);
                Box(c.id).Bind(choice);
                comboHeight = std::max(comboHeight, choice->GetBestSize().GetHeight());
                w = choice;
                break;
            }
        }
        made.emplace_back(&c, w);
    }

    TemplateLayout layout(*this, dialog, comboHeight);
    for (auto [c, w] : made) {
        if (c->kind == ControlKind::Label && !(c->style & res::kWraps)) {
            layout.FitLabel(*c, w->GetBestSize().GetWidth());
        }
    }
    for (auto [c, w] : made) {
        const wxRect r = layout.Rect(*c);
        if (c->kind != ControlKind::Label) {
            w->SetSize(r);
            continue;
        }
        auto* label = static_cast<wxStaticText*>(w);
        if (c->style & res::kWraps) {
            label->Wrap(r.width);
        }
        const wxSize best = label->GetBestSize();
        label->SetSize(wxRect(layout.LabelPosition(*c, best.GetHeight()),
                              wxSize(std::max(r.width, best.GetWidth()), best.GetHeight())));
    }
    SetClientSize(layout.ClientSize());
}

ChoiceControl& CBrenlowDlg::Box(int id) {
    return m_boxes.at(SettingIndex(id));
}

ValueField* CBrenlowDlg::Field(int id) const {
    const int index = id - res::kFirstIndexedId;
    if (index < 0 || index >= static_cast<int>(m_fields.size())) {
        return nullptr;
    }
    return m_fields[static_cast<size_t>(index)];
}

void CBrenlowDlg::OnInitDialog(wxInitDialogEvent& event) {
    event.Skip();
    if (m_initialised) {
        return;
    }
    m_initialised = true;
    SetIcons(m_icon);
    m_logic.OnInitDialog();
    m_timer.Start(kTimerPeriodMs);
    m_okButton->SetFocus();
}

void CBrenlowDlg::InsertLineAtTop(const char* line, size_t length) {
    m_lineList->InsertLineAtTop(line, length);
}

void CBrenlowDlg::SetControlText(int id, const std::string& cp1252) {
    if (ValueField* field = Field(id)) {
        field->SetLabel(DisplayText(cp1252));
    }
}

int CBrenlowDlg::DoModal() {
    wxTheApp->SetTopWindow(this);
    const int result = ShowModal();
    wxTheApp->SetTopWindow(nullptr);
    return result;
}

void CBrenlowDlg::RunTick() {
    m_logic.OnTimer(*this);
}

void CBrenlowDlg::OnTimer(wxTimerEvent&) {
    RunTick();
}

void CBrenlowDlg::OnOk(wxCommandEvent&) {
    EndDialog(wxID_OK);
}

void CBrenlowDlg::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) {
        EndDialog(wxID_CANCEL);
        return;
    }
    event.Skip();
}

void CBrenlowDlg::OnClose(wxCloseEvent&) {
    EndDialog(wxID_CANCEL);
}

void CBrenlowDlg::EndDialog(int code) {
    OnDestroy();
    if (IsModal()) {
        EndModal(code);
    } else {
        SetReturnCode(code);
        Hide();
    }
}

void CBrenlowDlg::OnDestroy() {
    m_timer.Stop();
    m_logic.OnDestroy();
}

void CBrenlowDlg::OnSelChange(wxCommandEvent& event) {
    if (!m_logic.OnSelChange(event.GetId())) {
        event.Skip();
    }
}
