// The yardstick of the timings under Wine: a GUI program that only returns,
// built and linked as T7105Cfg.exe is.
#include <windows.h>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previousInstance*/, LPSTR /*commandTail*/,
                   int /*showCommand*/) {
  return 0;
}
