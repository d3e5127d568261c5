#include "app/BrenlowApp.h"

wxIMPLEMENT_APP(CBrenlowApp);
