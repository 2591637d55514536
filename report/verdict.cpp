// The last line: what the program would do, in one sentence, and the
// report's exit code, one for each step at which it would stop.
#include "report/output.h"
#include "report/run_picture.h"
#include "report/verdict_codes.h"

int ReportVerdict(Output* out, const RunPicture* run) {
  char sentence[(2 * MAX_PATH) + 160];
  char* end = sentence;
  const char* name = run->friendlyName;
  int code = kWouldWrite;
  if (run->fromEntry && run->entryDisabled) {
    code = kEntryDisabled;
    end += wsprintfA(end,
                     "would not run at the next logon: the Startup apps switch disables its entry");
  } else if (run->fromEntry && run->programMissing) {
    code = kProgramMissing;
    end +=
        wsprintfA(end, "would not run at the next logon: T7105Cfg.exe is not in the System folder");
  } else if (run->options.patchReg) {
    code = kOnlyEntry;
    end += wsprintfA(end, "would only write its logon entry (/patchreg), touching no device");
  } else if (!run->sourceMatched && !run->cameraFound) {
    code = kNoCamera;
    end += wsprintfA(end, "would stop: no device node carries the camera hardware IDs");
  } else if (!run->sourceMatched) {
    code = kNoSource;
    end += wsprintfA(end, "would stop: no capture source is named \"%s\"", name);
  } else if (FAILED(run->bindResult)) {
    code = kBindFails;
    end += wsprintfA(
        end, "would stop: \"%s\" does not open (0x%08lX%s)", name,
        static_cast<DWORD>(run->bindResult),
        run->bindResult == E_ACCESSDENIED ? ": camera access is off for desktop apps" : "");
  } else if (!run->propertySet) {
    code = kNoPropertySet;
    end += wsprintfA(end, "would stop: \"%s\" gives no property interface (IKsPropertySet)", name);
  } else {
    end += wsprintfA(end, "would write class %ld (%s Hz) to \"%s\"", run->frequencyClass,
                     run->frequencyClass == 2 ? "60" : "50", name);
  }
  if (code >= kNoCamera && code <= kNoPropertySet && run->options.firstRun) {
    wsprintfA(end, ", and write its logon entry back (/first)");
  }
  PutNumber(out, "exit\0exit code", code);
  PutWords(out, "result\0T7105Cfg.exe", sentence);
  return code;
}
