#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/utils.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/wx/BrenlowDlg.h"
#include "settings/SettingsStore.h"
#include "tests/support/MonitorPort.h"

// A main window on COM7, a pseudo-terminal, in a private registry.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(monitor.Make());
        dlg = new CBrenlowDlg(nullptr);
        dlg->Show();
        dlg->InitDialog();
    }
    void TearDown() override { delete dlg; }

    static uint32_t Stored(const char* name) { return MonitorPort::Stored(name); }
    static std::string RegistryFileText() {
        const char* home = std::getenv("XDG_CONFIG_HOME");
        std::ifstream in(std::string(home ? home : "") + "/brenlow/registry.reg");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static std::vector<std::string> CorpusLines(size_t count) {
        std::ifstream in(BRENLOW_CORPUS_DIR "/real.nmea");
        std::vector<std::string> lines;
        std::string line;
        while (lines.size() < count && std::getline(in, line)) {
            if (line.rfind("!AIVDM,1,1,", 0) == 0) {
                lines.push_back(line + "\r\n");
            }
        }
        return lines;
    }
    void Send(const std::string& text) { ASSERT_TRUE(monitor.Send(text)); }
    // Runs the event loop until `done` holds, for at most ten seconds.
    static bool RunEventsUntil(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < end) {
            wxTheApp->Yield(true);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return done();
    }
    template <class Window>
    Window* Control(int id) {
        return dynamic_cast<Window*>(dlg->FindWindow(id));
    }
    // Chooses item `index` as a user would: the box sends its selection event.
    void Choose(int id, int index) {
        auto* box = Control<wxChoice>(id);
        ASSERT_NE(box, nullptr);
        box->SetSelection(index);
        wxCommandEvent event(wxEVT_CHOICE, id);
        event.SetEventObject(box);
        event.SetInt(index);
        box->ProcessWindowEvent(event);
    }

    MonitorPort monitor;
    CBrenlowDlg* dlg = nullptr;
};
