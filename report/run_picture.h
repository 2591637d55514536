// What the report learns of the program's run, section by section, for the
// sections after it and for the last line.
#pragma once

#include "app/run_options.h"

// How many items a list shows before it only counts the rest.
const DWORD kListedItems = 8;

struct RunPicture {
  RunOptions options;
  int fromEntry;                // the command is the logon entry's
  int entryDisabled;            // the Startup apps switch disables the entry
  int programMissing;           // T7105Cfg.exe is not in the System folder
  int cameraFound;              // the device search's result
  char friendlyName[MAX_PATH];  // the capture source's name the program composes
  int sourceMatched;
  HRESULT bindResult;
  int propertySet;      // the bound filter gives IKsPropertySet
  LONG frequencyClass;  // what the program would write
};

void ReportProgram(struct Output* out, RunPicture* run, const char* commandTail);
void ReportCamera(struct Output* out, RunPicture* run);
void ReportSources(struct Output* out, RunPicture* run);
void ReportRegion(struct Output* out, RunPicture* run);

// The last line: what the program would do, and the report's exit code.
int ReportVerdict(struct Output* out, const RunPicture* run);
