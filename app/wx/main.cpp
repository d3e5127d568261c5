#include "app/wx/BrenlowApp.h"

wxIMPLEMENT_APP(CBrenlowApp);
