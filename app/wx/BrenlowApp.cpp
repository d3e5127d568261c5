#include "app/wx/BrenlowApp.h"

#include "app/StartUp.h"
#include "app/wx/BrenlowDlg.h"

bool CBrenlowApp::OnInit() {
    RunMainDialog<CBrenlowDlg>();
    return true;
}
