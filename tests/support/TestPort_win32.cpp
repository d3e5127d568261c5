#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "TestPort.h"

// Under Wine, scripts/wine-tests links pairs of COM ports to the two ends of a host
// pseudo-terminal pair and names them in BRENLOW_WINE_PORTS as "n:partner,...": bytes written
// into COM partner arrive at COM n. A named mutex per number keeps test programs that run in
// parallel off each other's ports.
namespace {

constexpr DWORD kLockWaitMs = 60000;
constexpr DWORD kArrivalWaitMs = 3000;

int PartnerOf(int number) {
    const char* list = std::getenv("BRENLOW_WINE_PORTS");
    if (list == nullptr)
        return 0;
    for (const char* p = list; *p != '\0';) {
        char* end = nullptr;
        const long port = std::strtol(p, &end, 10);
        if (end == p || *end != ':')
            return 0;
        const char* partnerText = end + 1;
        const long partner = std::strtol(partnerText, &end, 10);
        if (end == partnerText)
            return 0;
        if (port == number)
            return static_cast<int>(partner);
        p = *end == ',' ? end + 1 : end;
    }
    return 0;
}

HANDLE OpenCom(int number) {
    char path[32];
    std::snprintf(path, sizeof path, "\\\\.\\COM%d", number);
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// Bytes waiting to be read at COM `number`, or -1.
long Waiting(int number) {
    HANDLE port = OpenCom(number);
    if (port == INVALID_HANDLE_VALUE)
        return -1;
    COMSTAT status{};
    DWORD errors = 0;
    const BOOL ok = ClearCommError(port, &errors, &status);
    CloseHandle(port);
    return ok ? static_cast<long>(status.cbInQue) : -1;
}

// Drops what an earlier user of the port left unread.
void Drain(int number) {
    HANDLE port = OpenCom(number);
    if (port == INVALID_HANDLE_VALUE)
        return;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    SetCommTimeouts(port, &timeouts);
    PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
    char scratch[4096];
    DWORD got = 0;
    while (ReadFile(port, scratch, sizeof scratch, &got, nullptr) && got > 0) {
    }
    CloseHandle(port);
}

}  // namespace

struct TestPort::Impl {
    HANDLE lock = nullptr;
    HANDLE writer = INVALID_HANDLE_VALUE;
    int partner = 0;

    bool Make(int number) {
        partner = PartnerOf(number);
        if (partner == 0) {
            std::fprintf(stderr,
                         "TestPort: no COM%d pair; run the Windows tests with scripts/wine-tests\n",
                         number);
            return false;
        }
        char name[64];
        std::snprintf(name, sizeof name, "BrenlowTestPortCOM%d", number);
        lock = CreateMutexA(nullptr, FALSE, name);
        if (lock == nullptr)
            return false;
        const DWORD waited = WaitForSingleObject(lock, kLockWaitMs);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
            CloseHandle(lock);
            lock = nullptr;
            return false;
        }
        Drain(number);
        Drain(partner);
        writer = OpenCom(partner);
        return writer != INVALID_HANDLE_VALUE;
    }

    void Drop() {
        if (writer != INVALID_HANDLE_VALUE)
            CloseHandle(writer);
        writer = INVALID_HANDLE_VALUE;
        if (lock != nullptr) {
            ReleaseMutex(lock);
            CloseHandle(lock);
        }
        lock = nullptr;
    }
};

TestPort::TestPort(int number) : number_(number), impl_(std::make_unique<Impl>()) {
    if (!impl_->Make(number))
        impl_->Drop();
}

TestPort::~TestPort() {
    impl_->Drop();
}

bool TestPort::Ok() const {
    return impl_->writer != INVALID_HANDLE_VALUE;
}

bool TestPort::Write(const void* bytes, size_t length) {
    if (!Ok())
        return false;
    const long before = Waiting(number_);
    const char* next = static_cast<const char*>(bytes);
    size_t left = length;
    while (left > 0) {
        DWORD written = 0;
        if (!WriteFile(impl_->writer, next, static_cast<DWORD>(left), &written, nullptr) ||
            written == 0)
            return false;
        next += written;
        left -= written;
    }
    // The pair is joined by a relay process: wait until the bytes can be read on the other
    // end, as they could at once from a directly joined pair.
    if (before < 0)
        return true;
    const long wanted = before + static_cast<long>(length);
    long seen = before;
    DWORD stalled = 0;
    for (DWORD waited = 0; waited < kArrivalWaitMs && stalled < 200; waited += 5) {
        const long now = Waiting(number_);
        if (now < 0 || now >= wanted)
            return true;
        stalled = now == seen ? stalled + 5 : 0;
        seen = now;
        Sleep(5);
    }
    return true;
}

bool TestPort::SupportsUnplug() const {
    // The relay lives outside the Windows side and cannot be stopped from here.
    return false;
}

bool TestPort::Unplug() {
    return false;
}

bool TestPort::Replug() {
    return false;
}

bool TestPort::SupportsExclusive() const {
    HANDLE first = OpenCom(number_);
    if (first == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_ACCESS_DENIED;  // already held by the code under test
    HANDLE second = OpenCom(number_);
    const bool refused = second == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
    if (second != INVALID_HANDLE_VALUE)
        CloseHandle(second);
    CloseHandle(first);
    return refused;
}

bool TestPort::LineSettings(Line* line) const {
    HANDLE port = OpenCom(number_);
    if (port == INVALID_HANDLE_VALUE)
        return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    const BOOL ok = GetCommState(port, &dcb);
    CloseHandle(port);
    if (!ok)
        return false;
    line->baudRate = static_cast<int32_t>(dcb.BaudRate);
    line->twoStopBits = dcb.StopBits == TWOSTOPBITS;
    return true;
}

int TestPort::BrokenPort() {
    // scripts/wine-tests maps it to /dev/null.
    const char* number = std::getenv("BRENLOW_WINE_BROKEN_PORT");
    return number != nullptr ? std::atoi(number) : 0;
}
