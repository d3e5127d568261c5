#pragma once

#include <array>
#include <string>

#include <wx/bmpbuttn.h>
#include <wx/dialog.h>
#include <wx/iconbndl.h>
#include <wx/timer.h>

#include "ais/AisDecoder.h"
#include "app/BaudCombo.h"
#include "app/DataBitsCombo.h"
#include "app/LineListBox.h"
#include "app/ParityCombo.h"
#include "app/PortCombo.h"
#include "app/StopBitsCombo.h"
#include "app/TargetView.h"
#include "serial/SerialLink.h"

class ValueField;

// The main window (dialog template 102). The controls are children of the dialog, which
// deletes them; the members only point at them.
class CBrenlowDlg : public wxDialog, public TargetView {
public:
    static constexpr int kTimerId = 1;
    static constexpr int kTimerPeriodMs = 500;

    explicit CBrenlowDlg(wxWindow* parent);
    ~CBrenlowDlg() override;

    void InsertLineAtTop(const char* line, size_t length) override;
    void SetControlText(int id, const std::string& cp1252) override;

    // One tick of the poll cycle; the timer runs it twice a second.
    void RunTick();

    SerialLink& Link() { return m_link; }
    const AisDecoder& Decoder() const { return m_decoder; }
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
    void OnSelChangePort(wxCommandEvent& event);
    void OnSelChangeBaud(wxCommandEvent& event);
    void OnSelChangeDataBits(wxCommandEvent& event);
    void OnSelChangeStopBits(wxCommandEvent& event);
    void OnSelChangeParity(wxCommandEvent& event);
    // Ends the dialog the same way for OK, Escape and the close box.
    void EndDialog(int code);
    // Closes the port; the window is going.
    void OnDestroy();

    wxBitmapButton* m_okButton = nullptr;
    CPortCombo* m_portCombo = nullptr;
    CStopBitsCombo* m_stopBitsCombo = nullptr;
    CParityCombo* m_parityCombo = nullptr;
    CDataBitsCombo* m_dataBitsCombo = nullptr;
    CBaudCombo* m_baudCombo = nullptr;
    LineListBox* m_lineList = nullptr;
    wxIconBundle m_icon;
    SerialLink m_link;
    AisDecoder m_decoder;
    wxColour m_targetColour;
    wxColour m_ownVesselColour;

    wxTimer m_timer;
    bool m_initialised = false;
    std::array<ValueField*, 34> m_fields{};  // ids 1000..1033
};
