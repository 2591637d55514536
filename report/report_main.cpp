// T7105Report.exe's entry, in place of the C runtime's start-up, as the
// program's own: it reads the command tail, reports what T7105Cfg.exe would
// do with those switches (or, without any, what the next logon would run),
// and exits with the verdict's code. It writes nothing anywhere but to its
// standard output.
#include "app/command_tail.h"
#include "report/output.h"
#include "report/run_picture.h"

namespace {

const char kJsonSwitch[] = "/json";
const size_t kJsonSwitchLength = sizeof kJsonSwitch - 1;

// The report's own switch comes first, before the program's: the rest of
// the tail is the program's command tail, exactly as it would get it.
int TakeJsonSwitch(const char** tail) {
  const char* after = *tail + kJsonSwitchLength;
  const int json =
      _strnicmp(*tail, kJsonSwitch, kJsonSwitchLength) == 0 && (*after == '\0' || *after == ' ');
  if (json) {
    while (*after == ' ') ++after;
    *tail = after;
  }
  return json;
}

}  // namespace

extern "C" void WINAPI T7105ReportStart() {
  const char* commandLine = GetCommandLineA();
  const char* tail = FindCommandTail(commandLine != NULL ? commandLine : "");
  Output out;
  RunPicture run;
  memset(&run, 0, sizeof run);
  BeginOutput(&out, TakeJsonSwitch(&tail));
  ReportProgram(&out, &run, tail);
  ReportCamera(&out, &run);
  ReportSources(&out, &run);
  ReportRegion(&out, &run);
  const int code = ReportVerdict(&out, &run);
  FinishOutput(&out);
  ExitProcess(static_cast<UINT>(code));
}
