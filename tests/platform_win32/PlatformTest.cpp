#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/CommPort.h"
#include "platform/ModulePath.h"
#include "platform/Registry.h"
#include "platform/win32/CommErrors.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TestPort.h"

// What the Win32 layer answers where the shared tests cannot tell it from the Linux one.
namespace {

using namespace platform;

TEST(Win32RegistryTest, KeyOpenedToReadRefusesWritesAndMissingKeyIsNotFound) {
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.Ready());
    RegKey key = nullptr;
    EXPECT_EQ(RegistryOpenKey(CurrentUserKey(), "Software\\Missing", &key), kRegNotFound);
    ASSERT_EQ(RegistryOpenKey(CurrentUserKey(), "Software", &key), kRegSuccess);
    EXPECT_EQ(RegistrySetDword(key, "Baud Rate", 9600), kRegAccessDenied);
    EXPECT_EQ(RegistryCloseKey(key), kRegSuccess);
}

TEST(Win32ModulePathTest, PathThatDoesNotFitIsNone) {
    char path[8];
    EXPECT_EQ(ModuleFileName(path, sizeof path), 0u);
    EXPECT_STREQ(path, "");  // GetModuleFileNameA leaves it unterminated before Vista
}

TEST(Win32CommPortTest, OpenFailuresTellWhyAndReadFailuresButTimeOutsMeanGone) {
    const std::tuple<DWORD, CommOpenError, CommReadStatus> cases[] = {
        {ERROR_ACCESS_DENIED, CommOpenError::AccessDenied, CommReadStatus::Gone},
        {ERROR_SHARING_VIOLATION, CommOpenError::InUse, CommReadStatus::Gone},
        {ERROR_FILE_NOT_FOUND, CommOpenError::NotPresent, CommReadStatus::Gone},
        {ERROR_DEVICE_REMOVED, CommOpenError::NotPresent, CommReadStatus::Gone},
        {ERROR_TIMEOUT, CommOpenError::LineRefused, CommReadStatus::Ok}};
    for (const auto& [error, reason, status] : cases) {
        EXPECT_EQ(CommOpenFailure(error), reason) << error;
        EXPECT_EQ(CommReadFailure(error), status) << error;
    }
    CommOpenError error = CommOpenError::None;
    EXPECT_EQ(CommOpen(250, 19200, 'N', 8, 1, &error), kInvalidCommHandle);
    EXPECT_EQ(error, CommOpenError::NotPresent);
}

TEST(Win32CommPortTest, PairPassesEveryByteValueAndReadsReturnAtOnce) {
    TestPort port(8);
    const CommHandle handle = CommOpen(8, 38400, 'N', 8, 1);
    std::string all, got(512, '\0');
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);  // NUL, XON and XOFF, Ctrl-Z, CR and LF among them
    uint32_t count = 1;
    EXPECT_TRUE(CommRead(handle, got.data(), 512, &count) == CommReadStatus::Ok && count == 0);
    ASSERT_TRUE(port.Write(all.data(), all.size()));
    EXPECT_EQ(CommRead(handle, got.data(), 512, &count), CommReadStatus::Ok);
    EXPECT_EQ(got.substr(0, count), all);
    CommClose(handle);
}

}  // namespace
