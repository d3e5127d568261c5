// The Win32 window's line list under Wine: the time to list lines into an empty and into a
// full list, and the program's memory once 100,000 lines are listed. A plain program (Google
// Benchmark is not built for Windows here); bench/run-windows runs it.
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/win32/BrenlowDlg.h"
#include "app/win32/DpiLayout.h"
#include "bench/CorpusLines.h"
#include "settings/SettingsStore.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Lists `count` corpus lines the way a tick does, the window's messages handled between ticks.
double ListLines(CBrenlowDlg& dialog, const std::vector<std::string>& lines, size_t& next,
                 size_t count) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (size_t i = 0; i < count; ++i, ++next) {
        const std::string& line = lines[next % lines.size()];
        dialog.InsertLineAtTop(line.data(), line.size());
        if (i % 50 == 49) {  // a busy port brings about 50 lines a tick
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
        }
    }
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

double MiB(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

}  // namespace

int main() {
    SetRegistryCompanyName("Veltmark Benchmarks");  // port 0: no port is opened
    const std::vector<std::string> lines = CorpusLines();
    if (lines.empty()) {
        std::fprintf(stderr, "bench_win32_list: no corpus at %s\n", BRENLOW_CORPUS_DIR);
        return 1;
    }
    CBrenlowDlg dialog(nullptr);
    if (dialog.Create() == nullptr) {
        return 1;
    }
    PROCESS_MEMORY_COUNTERS start{}, full{};
    GetProcessMemoryInfo(GetCurrentProcess(), &start, sizeof start);
    size_t next = 0;
    const double fill = ListLines(dialog, lines, next, LineStore::kDefaultCap);
    std::fflush(stdout);
    GetProcessMemoryInfo(GetCurrentProcess(), &full, sizeof full);
    const double more = ListLines(dialog, lines, next, 10000);
    const LRESULT listed = SendDlgItemMessageW(dialog.GetSafeHwnd(), 1000, LB_GETCOUNT, 0, 0);
    std::printf("lines listed: %ld (cap %zu), window at %u DPI\n", static_cast<long>(listed),
                LineStore::kDefaultCap, DpiOf(dialog.GetSafeHwnd()));
    std::printf("filling the empty list with 100,000 lines: %.2f s (%.1f us a line)\n", fill,
                fill * 1e6 / static_cast<double>(LineStore::kDefaultCap));
    std::printf("10,000 lines into the full list: %.2f s (%.1f us a line)\n", more,
                more * 1e6 / 10000.0);
    std::printf("working set: %.1f MiB at start, %.1f MiB with 100,000 lines listed\n",
                MiB(start.WorkingSetSize), MiB(full.WorkingSetSize));
    return listed == static_cast<LRESULT>(LineStore::kDefaultCap) ? 0 : 1;
}
