#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "TestPort.h"

// Under Wine, scripts/wine-tests links pairs of COM ports to the two ends of a host
// pseudo-terminal pair and names them in BRENLOW_WINE_PORTS as "n:partner,...": bytes written
// into COM partner arrive at COM n. A named mutex per number keeps test programs that run in
// parallel off each other's ports.
namespace {

HANDLE OpenCom(int number) {
    return CreateFileA(("\\\\.\\COM" + std::to_string(number)).c_str(),
                       GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// Bytes waiting to be read at COM `number`, or -1.
long Waiting(int number) {
    HANDLE port = OpenCom(number);
    COMSTAT status{};
    const bool ok = port != INVALID_HANDLE_VALUE && ClearCommError(port, nullptr, &status);
    CloseHandle(port);
    return ok ? static_cast<long>(status.cbInQue) : -1;
}

}  // namespace

struct TestPort::Impl {
    HANDLE lock = nullptr;
    HANDLE writer = INVALID_HANDLE_VALUE;
};

TestPort::TestPort(int number) : number_(number), impl_(std::make_unique<Impl>()) {
    const char* ports = std::getenv("BRENLOW_WINE_PORTS");
    const std::string list = "," + std::string(ports != nullptr ? ports : "");
    const size_t at = list.find("," + std::to_string(number) + ":");
    if (at == std::string::npos) {
        std::fprintf(stderr, "TestPort: no COM%d pair (run scripts/wine-tests)\n", number);
        return;
    }
    impl_->lock =
        CreateMutexA(nullptr, FALSE, ("BrenlowTestPortCOM" + std::to_string(number)).c_str());
    WaitForSingleObject(impl_->lock, INFINITE);
    // What an earlier user of the port left unread goes.
    HANDLE port = OpenCom(number);
    PurgeComm(port, PURGE_RXCLEAR);
    CloseHandle(port);
    impl_->writer = OpenCom(std::atoi(list.c_str() + list.find(':', at) + 1));
}

TestPort::~TestPort() {
    CloseHandle(impl_->writer);
    ReleaseMutex(impl_->lock);
    CloseHandle(impl_->lock);
}

bool TestPort::Ok() const {
    return impl_->writer != INVALID_HANDLE_VALUE;
}

bool TestPort::Write(const void* bytes, size_t length) {
    const long before = Waiting(number_);
    DWORD written = 0;
    if (!WriteFile(impl_->writer, bytes, static_cast<DWORD>(length), &written, nullptr) ||
        written != length) {
        return false;
    }
    // The pair is joined by a relay process: wait until the bytes can be read on the other end,
    // as they could at once from a directly joined pair (or until no more come for 200 ms).
    for (long seen = before, still = 0; seen >= 0 && seen < before + long(length) && still < 40;) {
        Sleep(5);
        const long now = Waiting(number_);
        still = now == seen ? still + 1 : 0;
        seen = now;
    }
    return true;
}

// The relay lives outside the Windows side and cannot be stopped from here.
bool TestPort::Unplug() {
    return false;
}

bool TestPort::Replug() {
    return false;
}

bool TestPort::SupportsExclusive() const {
    const HANDLE first = OpenCom(number_), second = OpenCom(number_);
    CloseHandle(first);
    CloseHandle(second);
    return first != INVALID_HANDLE_VALUE && second == INVALID_HANDLE_VALUE;
}

bool TestPort::LineSettings(Line* line) const {
    HANDLE port = OpenCom(number_);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    const bool ok = port != INVALID_HANDLE_VALUE && GetCommState(port, &dcb);
    CloseHandle(port);
    *line = {static_cast<int32_t>(dcb.BaudRate), dcb.StopBits == TWOSTOPBITS};
    return ok;
}

int TestPort::BrokenPort() {
    // scripts/wine-tests maps it to /dev/null.
    const char* number = std::getenv("BRENLOW_WINE_BROKEN_PORT");
    return number != nullptr ? std::atoi(number) : 0;
}
