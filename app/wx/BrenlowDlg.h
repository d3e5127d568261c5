#pragma once

#include <array>
#include <string>

#include <wx/bmpbuttn.h>
#include <wx/dialog.h>
#include <wx/iconbndl.h>
#include <wx/timer.h>

#include "app/MainDialogLogic.h"
#include "app/TargetView.h"
#include "app/wx/ChoiceControl.h"
#include "app/wx/LineListBox.h"
#include "res/DialogTemplate.h"

class ValueField;

// The main window (dialog template 102) in wxWidgets. The controls are children of the
// dialog, which deletes them; the members only point at them.
class CBrenlowDlg : public wxDialog, public TargetView {
public:
    static constexpr int kTimerId = 1;
    static constexpr int kTimerPeriodMs = 500;

    explicit CBrenlowDlg(wxWindow* parent);
    ~CBrenlowDlg() override;

    void InsertLineAtTop(const char* line, size_t length) override;
    void SetControlText(int id, const std::string& cp1252) override;

    // Runs modally as the program's main window.
    int DoModal();
    // One tick of the poll cycle; the timer runs it twice a second.
    void RunTick();

    MainDialogLogic& Logic() { return m_logic; }
    LineListBox& LineList() { return *m_lineList; }
    ValueField* Field(int id) const;
    bool TimerRunning() const { return m_timer.IsRunning(); }

private:
    void CreateControls();
    wxColour FieldColour(uint32_t style) const;

    void OnInitDialog(wxInitDialogEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnOk(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnSelChange(wxCommandEvent& event);
    // Ends the dialog the same way for OK, Escape and the close box.
    void EndDialog(int code);
    // Closes the port; the window is going.
    void OnDestroy();

    ChoiceControl& Box(int id);

    wxBitmapButton* m_okButton = nullptr;
    std::array<ChoiceControl, kPortSettingRows.size()> m_boxes;  // in PortSetting order
    LineListBox* m_lineList = nullptr;
    wxIconBundle m_icon;
    MainDialogLogic m_logic;
    wxColour m_targetColour;
    wxColour m_ownVesselColour;

    wxTimer m_timer;
    bool m_initialised = false;
    std::array<ValueField*, res::kLastIndexedId - res::kFirstIndexedId + 1> m_fields{};
};
