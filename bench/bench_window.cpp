// The main window fed one million received lines: its resident memory before and after, and the
// cost of one insertion into the list. Needs a display (the bench script uses xvfb-run).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/wx/BrenlowDlg.h"
#include "bench/CorpusLines.h"
#include "settings/SettingsStore.h"

namespace {

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

void WindowAfterAMillionLines(benchmark::State& state) {
    const std::vector<std::string> lines = CorpusLines();
    if (lines.empty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    for (auto _ : state) {
        auto* dlg = new CBrenlowDlg(nullptr);
        dlg->Show();
        dlg->InitDialog();
        wxTheApp->ProcessPendingEvents();
        const long before = ResidentKiB();
        for (int i = 0; i < 1000000; ++i) {
            const std::string& line = lines[i % lines.size()];
            dlg->InsertLineAtTop(line.data(), line.size());
            if (i % 10000 == 0)
                wxTheApp->ProcessPendingEvents();
        }
        wxTheApp->ProcessPendingEvents();
        state.counters["rss_start_KiB"] = static_cast<double>(before);
        state.counters["rss_end_KiB"] = static_cast<double>(ResidentKiB());
        state.counters["lines_listed"] = static_cast<double>(dlg->LineList().Lines().Size());
        dlg->Destroy();
    }
}
BENCHMARK(WindowAfterAMillionLines)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // A private settings folder: the window reads and writes its port settings there.
    char home[] = "/tmp/brenlow-bench-XXXXXX";
    if (!mkdtemp(home)) {
        return 2;
    }
    setenv("XDG_CONFIG_HOME", home, 1);
    SetRegistryCompanyName("Veltmark");
    benchmark::Initialize(&argc, argv);
    int wxArgc = 1;  // the options are the benchmark's, not wx's
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(wxArgc, argv) || !wxTheApp->CallOnInit()) {
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    wxTheApp->OnExit();
    wxEntryCleanup();
    std::system((std::string("rm -rf ") + home).c_str());
    return 0;
}
