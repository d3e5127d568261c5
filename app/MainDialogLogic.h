#pragma once

#include <array>
#include <functional>

#include "ais/AisDecoder.h"
#include "app/PortCombo.h"
#include "app/Reception.h"
#include "app/SettingCombo.h"
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

    // Binds each box to the window's widget of its control id (widgets outlive the binding).
    void DoDataExchange(const std::function<ComboControl&(int controlId)>& widget);
    // The settings into the boxes (building the port list), then the port opened.
    void OnInitDialog();
    // One tick of the poll cycle.
    void OnTimer(TargetView& view);
    // The selection-change handler of box `controlId`; false for any other id.
    bool OnSelChange(int controlId);
    // A choice in a setting's box: the port closed, the setting stored with all five, the port
    // opened again. The port box's own rules: "OFF" stores 0 and leaves the port closed; a port
    // that fails to open stays stored, and closed.
    void OnSelChangeSetting(PortSetting setting);
    void OnSelChangePort() { OnSelChangeSetting(PortSetting::Port); }
    void OnSelChangeBaud() { OnSelChangeSetting(PortSetting::BaudRate); }
    void OnSelChangeDataBits() { OnSelChangeSetting(PortSetting::DataBits); }
    void OnSelChangeStopBits() { OnSelChangeSetting(PortSetting::StopBits); }
    void OnSelChangeParity() { OnSelChangeSetting(PortSetting::Parity); }
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
    SettingCombo& Box(PortSetting setting) { return *m_boxes[static_cast<size_t>(setting)]; }

    // The boxes in PortSetting order.
    const std::array<SettingCombo*, kPortSettingRows.size()> m_boxes = {
        &m_portCombo, &m_baudCombo, &m_parityCombo, &m_dataBitsCombo, &m_stopBitsCombo};
    uint32_t m_shownPortState = 0;
    Reception::Hearing m_shownHearing = Reception::Hearing::Listening;
    uint64_t m_bytesCounted = 0;
    SerialLink::Clock::time_point m_portShownAt{};
    SerialLink::Clock::time_point m_portsListedAt{};
};
