#include "app/MainDialogLogic.h"

#include <array>

#include "app/LineSource.h"
#include "app/PollCycle.h"
#include "app/PortState.h"
#include "res/DialogTemplate.h"

namespace {

// How often the tooltip's counts and the list of ports present are looked at anew: a
// receiver plugged in after start can be chosen within this.
constexpr auto kTipInterval = std::chrono::seconds(1);
constexpr auto kPortListInterval = std::chrono::seconds(2);

}  // namespace

void MainDialogLogic::DoDataExchange(ComboControl& port, ComboControl& baud, ComboControl& dataBits,
                                     ComboControl& stopBits, ComboControl& parity) {
    m_parityCombo.Attach(&parity);
    m_stopBitsCombo.Attach(&stopBits);
    m_portCombo.Attach(&port);
    m_dataBitsCombo.Attach(&dataBits);
    m_baudCombo.Attach(&baud);
}

void MainDialogLogic::OnInitDialog() {
    m_portCombo.SetValue(m_link.portNumber);
    m_baudCombo.SetValue(m_link.baudRate);
    m_parityCombo.SetValue(m_link.parityIndex);
    m_dataBitsCombo.SetValue(m_link.dataBits);
    m_stopBitsCombo.SetValue(m_link.stopBits);
    m_link.Open();
    ShowPort();
}

void MainDialogLogic::ShowPort() {
    const auto now = m_link.clock();
    m_shownPortState = m_link.stateChanges;
    m_portShownAt = now;
    m_reception.PortState(m_link.IsOpen(), now);
    m_shownHearing = m_reception.Judge(now);
    // The tooltip speaks of the number in the box; of the link's state only when it is the
    // link's port.
    const int shown = m_portCombo.GetValue();
    m_portCombo.ShowTip(shown == m_link.portNumber ? PortStateText(m_link, m_reception, now)
                                                   : PortDevice(shown));
}

void MainDialogLogic::ShowPortState() {
    const auto now = m_link.clock();
    if (m_link.stateChanges != m_shownPortState || m_reception.Judge(now) != m_shownHearing ||
        now - m_portShownAt >= kTipInterval) {
        ShowPort();
    }
}

void MainDialogLogic::OnTimer(TargetView& view) {
    const auto now = m_link.clock();
    m_reception.PortState(m_link.IsOpen(), now);
    LineSourceOf<SerialLink> source(m_link);
    RunPollTick(source, m_decoder, view, &m_reception, now);
    m_reception.Bytes(m_link.bytesReceived - m_bytesCounted, now);
    m_bytesCounted = m_link.bytesReceived;
    if (now - m_portsListedAt >= kPortListInterval) {
        m_portsListedAt = now;
        m_portCombo.Refresh(m_link.portNumber);
    }
    ShowPortState();  // an unplug, an attempt to reopen, or what arrives
}

bool MainDialogLogic::OnSelChange(int controlId) {
    struct Entry {
        int id;
        void (MainDialogLogic::*handler)();
    };
    static constexpr std::array kMessageMap = {
        Entry{res::kIdPortCombo, &MainDialogLogic::OnSelChangePort},
        Entry{res::kIdBaudCombo, &MainDialogLogic::OnSelChangeBaud},
        Entry{res::kIdDataBitsCombo, &MainDialogLogic::OnSelChangeDataBits},
        Entry{res::kIdStopBitsCombo, &MainDialogLogic::OnSelChangeStopBits},
        Entry{res::kIdParityCombo, &MainDialogLogic::OnSelChangeParity},
    };
    for (const Entry& entry : kMessageMap) {
        if (entry.id == controlId) {
            (this->*entry.handler)();
            ShowPort();  // the port box may name another number in the same state
            return true;
        }
    }
    return false;
}

void MainDialogLogic::OnSelChangePort() {
    m_link.Close();
    m_link.SetPort(static_cast<int16_t>(m_portCombo.GetValue()));
    // A port that fails to open stays stored, and closed; one that is absent or in use is
    // tried again by later ticks.
    if (m_link.portNumber != 0 && !m_link.Open()) {
        m_link.SaveSettings();
    }
}

void MainDialogLogic::OnSelChangeBaud() {
    m_link.Close();
    m_link.SetBaudRate(static_cast<int32_t>(m_baudCombo.GetValue()));
    m_link.Open();
}

void MainDialogLogic::OnSelChangeDataBits() {
    m_link.Close();
    m_link.SetDataBits(static_cast<int16_t>(m_dataBitsCombo.GetValue()));
    m_link.Open();
}

void MainDialogLogic::OnSelChangeStopBits() {
    m_link.Close();
    m_link.SetStopBits(static_cast<int16_t>(m_stopBitsCombo.GetValue()));
    m_link.Open();
}

void MainDialogLogic::OnSelChangeParity() {
    m_link.Close();
    m_link.SetParity(static_cast<int16_t>(m_parityCombo.GetValue()));
    m_link.Open();
}

void MainDialogLogic::OnDestroy() {
    m_link.Close();
}
