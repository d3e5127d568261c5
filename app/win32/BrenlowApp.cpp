#include "app/win32/BrenlowApp.h"

#include <commctrl.h>

#include "app/StartUp.h"
#include "app/win32/BrenlowDlg.h"

BOOL CBrenlowApp::InitInstance() {
    // The port box's tooltip is a common control.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    RunMainDialog<CBrenlowDlg>();
    return FALSE;
}
