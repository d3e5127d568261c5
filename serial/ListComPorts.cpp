#include "serial/ListComPorts.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/DosDevices.h"

namespace {

constexpr unsigned kDeviceListSize = 65535;
constexpr int kHighestProbedPort = 255;

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool NamesComPort(const char* name, unsigned length) {
    return length > 3 && AsciiUpper(name[0]) == 'C' && AsciiUpper(name[1]) == 'O' &&
           AsciiUpper(name[2]) == 'M';
}

}  // namespace

void AppendComPortNames(const char* list, unsigned length, std::vector<unsigned>& ports) {
    unsigned at = 0;
    while (at < length && list[at] != '\0') {
        unsigned end = at;
        while (end < length && list[end] != '\0') {
            ++end;
        }
        if (end == length) {
            break;  // an unterminated name is not read
        }
        if (NamesComPort(list + at, end - at)) {
            // atoi semantics, without its undefined overflow
            ports.push_back(static_cast<unsigned>(std::strtol(list + at + 3, nullptr, 10)));
        }
        at = end + 1;
    }
}

void ListComPorts(std::vector<unsigned>& ports) {
    ports.clear();
    if (platform::IsNtPlatform()) {
        auto list = std::make_unique<char[]>(kDeviceListSize);
        uint32_t stored = platform::QueryDosDeviceList(list.get(), kDeviceListSize);
        if (stored > 0) {
            AppendComPortNames(list.get(), std::min(stored, uint32_t{kDeviceListSize}), ports);
        }
        return;
    }
    for (int n = 1; n <= kHighestProbedPort; ++n) {
        if (platform::ProbeComPort(n)) {
            ports.push_back(static_cast<unsigned>(n));
        }
    }
}
