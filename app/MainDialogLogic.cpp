#include "app/MainDialogLogic.h"

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

void MainDialogLogic::DoDataExchange(const std::function<ComboControl&(int controlId)>& widget) {
    for (const PortSettingRow& row : kPortSettingRows) {
        Box(row.setting).Attach(&widget(row.controlId));
    }
}

void MainDialogLogic::OnInitDialog() {
    for (const PortSettingRow& row : kPortSettingRows) {
        Box(row.setting).SetValue(m_link.Get(row.setting));
    }
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
    const PortSettingRow* row = RowOfControl(controlId);
    if (row == nullptr) {
        return false;
    }
    OnSelChangeSetting(row->setting);
    ShowPort();  // the port box may name another number in the same state
    return true;
}

void MainDialogLogic::OnSelChangeSetting(PortSetting setting) {
    m_link.Close();
    m_link.Set(setting, static_cast<int32_t>(Box(setting).GetValue()));
    if (setting != PortSetting::Port) {
        m_link.Open();
    } else if (m_link.portNumber != 0 && !m_link.Open()) {
        m_link.SaveSettings();
    }
}

void MainDialogLogic::OnDestroy() {
    m_link.Close();
}
