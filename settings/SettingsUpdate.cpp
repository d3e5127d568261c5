#include "platform/Registry.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStore.h"

SettingsUpdate::SettingsUpdate() {
    SettingsState& state = StoreState();
    if (state.updateDepth++ == 0) {
        state.updateFailure = platform::kRegSuccess;
    }
    platform::RegistryBeginUpdate();
}

SettingsUpdate::~SettingsUpdate() {
    Commit();
}

long SettingsUpdate::Commit() {
    if (!committed) {
        committed = true;
        SettingsState& state = StoreState();
        const long written = platform::RegistryEndUpdate();
        --state.updateDepth;
        status = state.updateFailure != platform::kRegSuccess ? state.updateFailure : written;
    }
    return status;
}

namespace {

struct StatusWords {
    long status;
    const char* words;
};

constexpr StatusWords kStatusWords[] = {
    {platform::kRegSuccess, "saved"},
    {platform::kRegPathNotFound, "no settings folder"},
    {platform::kRegTooManyFiles, "too many open files"},
    {platform::kRegAccessDenied, "permission denied"},
    {platform::kRegNoMemory, "out of memory"},
    {platform::kRegWriteProtect, "read-only file system"},
    {platform::kRegReadFault, "the settings file cannot be read"},
    {platform::kRegLocked, "the settings file is held by another program"},
    {platform::kRegCannotMake, "too many damaged copies of the settings file are kept"},
    {platform::kRegDiskFull, "the disk is full"},
    {platform::kRegBadFileType, "the settings file is not a regular file"},
    {platform::kRegFileTooLarge, "the settings file is too large"},
    {platform::kRegQuotaExceeded, "the disk quota is used up"},
    {platform::kRegLinkLoop, "the settings file's links go round in a loop"},
};

}  // namespace

const char* SettingsStatusText(long status) {
    for (const StatusWords& row : kStatusWords) {
        if (row.status == status) {
            return row.words;
        }
    }
    return "write error";
}
