#include "platform/Registry.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStore.h"

int32_t updateDepth = 0;
long updateFailure = platform::kRegSuccess;

SettingsUpdate::SettingsUpdate() {
    if (updateDepth++ == 0) {
        updateFailure = platform::kRegSuccess;
    }
    platform::RegistryBeginUpdate();
}

SettingsUpdate::~SettingsUpdate() {
    Commit();
}

long SettingsUpdate::Commit() {
    if (!committed) {
        committed = true;
        const long written = platform::RegistryEndUpdate();
        --updateDepth;
        status = updateFailure != platform::kRegSuccess ? updateFailure : written;
    }
    return status;
}

const char* SettingsStatusText(long status) {
    switch (status) {
        case platform::kRegSuccess:
            return "saved";
        case platform::kRegPathNotFound:
            return "no settings folder";
        case platform::kRegTooManyFiles:
            return "too many open files";
        case platform::kRegAccessDenied:
            return "permission denied";
        case platform::kRegNoMemory:
            return "out of memory";
        case platform::kRegWriteProtect:
            return "read-only file system";
        case platform::kRegReadFault:
            return "the settings file cannot be read";
        case platform::kRegLocked:
            return "the settings file is held by another program";
        case platform::kRegCannotMake:
            return "too many damaged copies of the settings file are kept";
        case platform::kRegDiskFull:
            return "the disk is full";
        case platform::kRegBadFileType:
            return "the settings file is not a regular file";
        case platform::kRegFileTooLarge:
            return "the settings file is too large";
        case platform::kRegQuotaExceeded:
            return "the disk quota is used up";
        case platform::kRegLinkLoop:
            return "the settings file's links go round in a loop";
        default:
            return "write error";
    }
}
