// The program's entry: no window, no output; the exit code is the result.
#include "app/command_tail.h"
#include "app/run_configuration.h"
#include "platform/win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandTail,
                   int showCommand) {
  (void)instance;
  (void)previousInstance;
  (void)commandTail;
  (void)showCommand;
  const char* commandLine = GetCommandLineA();
  return RunConfiguration(FindCommandTail(commandLine != NULL ? commandLine : ""));
}
