#include <windows.h>

#include "app/win32/BrenlowApp.h"

namespace {

CBrenlowApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    theApp.InitInstance();
    return 0;
}
