#pragma once

#include <windows.h>

// Starts the program: the registry company name first, then the one modal dialog.
class CBrenlowApp {
public:
    // Runs the dialog; FALSE: there is no message loop to run after it.
    BOOL InitInstance();
};
