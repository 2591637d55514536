// Whole runs of the program on scripted machines, with the outcome each must
// have and the outcome it must have instead when one particular platform
// call misbehaves.
#pragma once

#include <string>
#include <vector>

#include "platform/standin/machine.h"
#include "tests/support/simulated_camera.h"

namespace sweep {

// What a run leaves that a user or the camera would see.
struct Outcome {
  int exitCode;
  const char* entry;   // the logon entry's text afterwards; null: no entry
  int comBegun;        // calls of CoInitialize; CoUninitialize is called once on every path
  int frequencyClass;  // the class the camera received; 0: no property write
};

// Which misbehaviours of a call a deviation is for.
enum class Faults { kFail, kWithoutOutput, kBoth };

// The outcome when the nth call of an operation misbehaves, where it differs
// from the run's own outcome.
struct Deviation {
  const char* operation;
  int nthCall;
  Faults faults;
  Outcome outcome;
  const char* why;
};

struct Scenario {
  const char* name;
  void (*scriptMachine)();
  const char* commandTail;
  int cameraSource;  // the capture source that must receive any property write
  Outcome outcome;
  bool regionAsked;  // whether the unfaulted run consults the time zone or the country
  std::vector<Deviation> deviations;
};

// The text of the logon entry that each scenario finds before it runs.
extern const char kEarlierEntry[];

const std::vector<Scenario>& Scenarios();

}  // namespace sweep
