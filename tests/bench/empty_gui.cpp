// The yardstick of the timings under Wine: a GUI program that only ends,
// built and linked as T7105Cfg.exe is.
#include <windows.h>

extern "C" void WINAPI EmptyStart() { ExitProcess(0); }
