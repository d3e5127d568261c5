#include "platform/CommPort.h"
#include "platform/DosDevices.h"
#include "platform/win32/CommErrors.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(CommPortTest, ClosedPortTellsWhy) {
    using platform::CommOpenError;
    CommOpenError error = CommOpenError::None;
    EXPECT_EQ(platform::CommOpen(250, 19200, 'N', 8, 1, &error), platform::kInvalidCommHandle);
    EXPECT_EQ(error, CommOpenError::NotPresent);
    EXPECT_FALSE(platform::ProbeComPort(250));
    const struct {
        DWORD error;
        CommOpenError reason;
    } cases[] = {
        {ERROR_ACCESS_DENIED, CommOpenError::AccessDenied},
        {ERROR_SHARING_VIOLATION, CommOpenError::InUse},
        {ERROR_FILE_NOT_FOUND, CommOpenError::NotPresent},
        {ERROR_PATH_NOT_FOUND, CommOpenError::NotPresent},
        {ERROR_DEVICE_REMOVED, CommOpenError::NotPresent},
        {ERROR_GEN_FAILURE, CommOpenError::LineRefused},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::CommOpenFailure(c.error), c.reason) << c.error;
    }
}

TEST(CommPortTest, DeviceNameIsTheDosDevicePath) {
    char device[16];
    ASSERT_TRUE(platform::ComPortDevice(12, device, sizeof device));
    EXPECT_STREQ(device, "\\\\.\\COM12");
    char small[8];
    EXPECT_FALSE(platform::ComPortDevice(12, small, sizeof small));
    EXPECT_FALSE(platform::ComPortDevice(0, device, sizeof device));
}

TEST(CommPortTest, ReadFailuresOfAnUnpluggedDeviceMeanItIsGone) {
    using platform::CommReadStatus;
    const struct {
        DWORD error;
        CommReadStatus status;
    } cases[] = {
        {ERROR_ACCESS_DENIED, CommReadStatus::Gone},
        {ERROR_BAD_COMMAND, CommReadStatus::Gone},
        {ERROR_OPERATION_ABORTED, CommReadStatus::Gone},
        {ERROR_DEVICE_REMOVED, CommReadStatus::Gone},
        {ERROR_DEVICE_NOT_CONNECTED, CommReadStatus::Gone},
        {ERROR_GEN_FAILURE, CommReadStatus::Gone},
        {ERROR_INVALID_HANDLE, CommReadStatus::Gone},
        {ERROR_TIMEOUT, CommReadStatus::Ok},
        {ERROR_COUNTER_TIMEOUT, CommReadStatus::Ok},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::CommReadFailure(c.error), c.status) << c.error;
    }
    uint32_t got = 7;
    char buffer[8];
    EXPECT_EQ(platform::CommRead(reinterpret_cast<platform::CommHandle>(INVALID_HANDLE_VALUE),
                                 buffer, sizeof buffer, &got),
              CommReadStatus::Gone);
    EXPECT_EQ(got, 0u);
}

TEST(CommPortTest, WindowsIsTheNtFamily) {
    EXPECT_TRUE(platform::IsNtPlatform());
}

TEST(CommPortTest, DeviceListIsDoublyTerminated) {
    static char list[65535];
    const uint32_t count = platform::QueryDosDeviceList(list, sizeof list);
    ASSERT_GE(count, 2u);
    EXPECT_EQ(list[count - 1], '\0');
    EXPECT_EQ(list[count - 2], '\0');
    char tiny[4];
    EXPECT_EQ(platform::QueryDosDeviceList(tiny, sizeof tiny), 0u);
}

}  // namespace
