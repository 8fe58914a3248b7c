// The program's entry: everything happens in the application object.
#include <windows.h>

#include "app/PelkoDriverApp_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  norvi::CPelkoDriverApp app;
  return app.InitInstance();
}
