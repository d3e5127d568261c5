#include "platform/posix/DeviceRoots.h"

namespace platform::posix {

namespace {
DeviceRoots& Roots() {
    static DeviceRoots roots;
    return roots;
}
}  // namespace

const DeviceRoots& CurrentDeviceRoots() {
    return Roots();
}

void SetDeviceRoots(const DeviceRoots& roots) {
    Roots() = roots;
}

}  // namespace platform::posix
