// The report's exit codes: 0 when the program would write the property,
// and one for each step at which it would stop, so that a detection script
// can go by the code alone (docs/installing.md lists them).
#pragma once

enum VerdictCode {
  kWouldWrite = 0,
  kNoCamera = 1,        // no device node carries the camera's hardware IDs
  kNoSource = 2,        // no capture source bears the composed name
  kBindFails = 3,       // the capture source does not open
  kNoPropertySet = 4,   // its filter gives no IKsPropertySet
  kOnlyEntry = 5,       // /patchreg: only the logon entry is written
  kEntryDisabled = 6,   // the Startup apps switch disables the logon entry
  kProgramMissing = 7,  // the logon entry's bare name finds no program
};
