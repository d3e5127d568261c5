#include "app/BrenlowDlg.h"

#include <algorithm>
#include <vector>

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "app/DisplayText.h"
#include "app/LineSource.h"
#include "app/PollCycle.h"
#include "app/TemplateLayout.h"
#include "app/ValueField.h"
#include "res/DialogTemplate.h"
#include "res/Icons.h"

using res::ControlKind;
using res::DialogControl;

namespace {

constexpr int kFirstFieldId = 1000;

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
      m_targetColour(255, 255, 0),
      m_ownVesselColour(0, 255, 255),
      m_timer(this, kTimerId) {
    CreateControls();
    Bind(wxEVT_INIT_DIALOG, &CBrenlowDlg::OnInitDialog, this);
    Bind(wxEVT_TIMER, &CBrenlowDlg::OnTimer, this, kTimerId);
    Bind(wxEVT_BUTTON, &CBrenlowDlg::OnOk, this, wxID_OK);
    Bind(wxEVT_CHAR_HOOK, &CBrenlowDlg::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &CBrenlowDlg::OnClose, this);
    Bind(wxEVT_CHOICE, &CBrenlowDlg::OnSelChangePort, this, res::kIdPortCombo);
    Bind(wxEVT_CHOICE, &CBrenlowDlg::OnSelChangeBaud, this, res::kIdBaudCombo);
    Bind(wxEVT_CHOICE, &CBrenlowDlg::OnSelChangeDataBits, this, res::kIdDataBitsCombo);
    Bind(wxEVT_CHOICE, &CBrenlowDlg::OnSelChangeStopBits, this, res::kIdStopBitsCombo);
    Bind(wxEVT_CHOICE, &CBrenlowDlg::OnSelChangeParity, this, res::kIdParityCombo);
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
                m_fields[static_cast<size_t>(c.id - kFirstFieldId)] = field;
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
                SettingCombo* combo = nullptr;
                const wxPoint p = wxDefaultPosition;
                const wxSize s = wxDefaultSize;
                switch (c.id) {
                    case res::kIdPortCombo:
                        combo = m_portCombo = new CPortCombo(this, c.id, p, s);
                        break;
                    case res::kIdBaudCombo:
                        combo = m_baudCombo = new CBaudCombo(this, c.id, p, s);
                        break;
                    case res::kIdDataBitsCombo:
                        combo = m_dataBitsCombo = new CDataBitsCombo(this, c.id, p, s);
                        break;
                    case res::kIdStopBitsCombo:
                        combo = m_stopBitsCombo = new CStopBitsCombo(this, c.id, p, s);
                        break;
                    default:
                        combo = m_parityCombo = new CParityCombo(this, c.id, p, s);
                        break;
                }
                comboHeight = std::max(comboHeight, combo->GetBestSize().GetHeight());
                w = combo;
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

ValueField* CBrenlowDlg::Field(int id) const {
    const int index = id - kFirstFieldId;
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
    m_portCombo->SetValue(m_link.portNumber);
    m_baudCombo->SetValue(m_link.baudRate);
    m_parityCombo->SetValue(m_link.parityIndex);
    m_dataBitsCombo->SetValue(m_link.dataBits);
    m_stopBitsCombo->SetValue(m_link.stopBits);
    m_link.Open();
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

void CBrenlowDlg::RunTick() {
    LineSourceOf<SerialLink> source(m_link);
    RunPollTick(source, m_decoder, *this);
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
    m_link.Close();
}

void CBrenlowDlg::OnSelChangePort(wxCommandEvent&) {
    m_link.Close();
    m_link.SetPort(static_cast<int16_t>(m_portCombo->GetValue()));
    // A port that fails to open stays stored, and closed.
    if (m_link.portNumber != 0 && !m_link.Open()) {
        m_link.Close();
        m_link.SaveSettings();
    }
    m_portCombo->ShowDevice();
}

void CBrenlowDlg::OnSelChangeBaud(wxCommandEvent&) {
    m_link.Close();
    m_link.SetBaudRate(static_cast<int32_t>(m_baudCombo->GetValue()));
    m_link.Open();
}

void CBrenlowDlg::OnSelChangeDataBits(wxCommandEvent&) {
    m_link.Close();
    m_link.SetDataBits(static_cast<int16_t>(m_dataBitsCombo->GetValue()));
    m_link.Open();
}

void CBrenlowDlg::OnSelChangeStopBits(wxCommandEvent&) {
    m_link.Close();
    m_link.SetStopBits(static_cast<int16_t>(m_stopBitsCombo->GetValue()));
    m_link.Open();
}

void CBrenlowDlg::OnSelChangeParity(wxCommandEvent&) {
    m_link.Close();
    m_link.SetParity(static_cast<int16_t>(m_parityCombo->GetValue()));
    m_link.Open();
}
