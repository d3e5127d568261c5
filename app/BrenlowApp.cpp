#include "app/BrenlowApp.h"

#include "app/BrenlowDlg.h"
#include "settings/SettingsStore.h"

bool CBrenlowApp::OnInit() {
    // Building the dialog reads the settings, which live under the company name.
    SetRegistryCompanyName("Veltmark");
    CBrenlowDlg dialog(nullptr);
    SetTopWindow(&dialog);
    dialog.ShowModal();
    SetTopWindow(nullptr);
    return true;
}
