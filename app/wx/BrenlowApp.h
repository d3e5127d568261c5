#pragma once

#include <wx/app.h>

// Starts the program: the registry company name first, then the one modal dialog.
class CBrenlowApp : public wxApp {
public:
    bool OnInit() override;
    // The dialog ran its own loop in OnInit; nothing is left to run.
    int OnRun() override { return 0; }
};
