#pragma once

#include "ais/AisDecoder.h"
#include "app/BaudCombo.h"
#include "app/DataBitsCombo.h"
#include "app/ParityCombo.h"
#include "app/PortCombo.h"
#include "app/Reception.h"
#include "app/StopBitsCombo.h"
#include "app/TargetView.h"
#include "serial/SerialLink.h"

// What both windows of the main dialog do that is not widget code: the five port-settings
// boxes and their handlers, the serial link, the decoder and the poll tick. Each window binds
// its widgets and forwards its messages here.
class MainDialogLogic {
public:
    // Building the link loads the stored settings and tries to open the port.
    MainDialogLogic() = default;
    MainDialogLogic(const MainDialogLogic&) = delete;
    MainDialogLogic& operator=(const MainDialogLogic&) = delete;

    // Binds the boxes to the window's widgets (which outlive the binding).
    void DoDataExchange(ComboControl& port, ComboControl& baud, ComboControl& dataBits,
                        ComboControl& stopBits, ComboControl& parity);
    // The settings into the boxes (building the port list), then the port opened.
    void OnInitDialog();
    // One tick of the poll cycle.
    void OnTimer(TargetView& view);
    // The selection-change handler of box `controlId`; false for any other id.
    bool OnSelChange(int controlId);
    void OnSelChangePort();
    void OnSelChangeBaud();
    void OnSelChangeDataBits();
    void OnSelChangeStopBits();
    void OnSelChangeParity();
    // The window is going: the port is closed.
    void OnDestroy();

    // The port box's tooltip: at once when the link's state or what the port hears changed
    // since it was last shown, else its counts at most once a second.
    void ShowPortState();

    CPortCombo m_portCombo;
    CStopBitsCombo m_stopBitsCombo;
    CParityCombo m_parityCombo;
    CDataBitsCombo m_dataBitsCombo;
    CBaudCombo m_baudCombo;
    SerialLink m_link;
    AisDecoder m_decoder;
    Reception m_reception;

private:
    void ShowPort();

    uint32_t m_shownPortState = 0;
    Reception::Hearing m_shownHearing = Reception::Hearing::Listening;
    uint64_t m_bytesCounted = 0;
    SerialLink::Clock::time_point m_portShownAt{};
    SerialLink::Clock::time_point m_portsListedAt{};
};
