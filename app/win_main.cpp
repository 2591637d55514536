// The program's entry, in place of the C runtime's start-up: the program uses
// nothing that the start-up prepares (no arguments vector, no constructors,
// no stdio, no thread-local data). No window, no output; the exit code is
// the result.
#include "app/command_tail.h"
#include "app/run_configuration.h"
#include "platform/win32.h"

// The process is ended rather than returned from: COM may have started
// threads of its own, which a return from the entry point would leave running.
extern "C" void WINAPI T7105Start() {
  const char* commandLine = GetCommandLineA();
  const int result = RunConfiguration(FindCommandTail(commandLine != NULL ? commandLine : ""));
  ExitProcess(static_cast<UINT>(result));
}
