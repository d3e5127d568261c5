#pragma once

#include "settings/SettingsStore.h"

// The program's whole run, the same in both windows: the registry company name first, since
// building the dialog reads the settings stored under it; then the one dialog, modally. When
// it has gone the program ends.
template <class Dialog>
void RunMainDialog() {
    SetRegistryCompanyName("Veltmark");
    Dialog dialog(nullptr);
    dialog.DoModal();
}
