// The program's entry: no window, no output; the exit code is the result.
#include "app/command_tail.h"
#include "app/run_configuration.h"
#include "platform/win32.h"

// The platform's arguments are not used: the tail is cut from the whole
// command line instead.
int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previousInstance*/, LPSTR /*commandTail*/,
                   int /*showCommand*/) {
  const char* commandLine = GetCommandLineA();
  return RunConfiguration(FindCommandTail(commandLine != NULL ? commandLine : ""));
}
