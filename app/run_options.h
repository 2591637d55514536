// The switches of one run, and how the command tail sets them.
#pragma once

#include "platform/win32.h"

struct RunOptions {
  LONG deviceNumber;    // from /d:, 0 when absent
  int startDelay;       // /s
  int firstRun;         // /first
  int patchReg;         // /patchreg
  LONG mainsFrequency;  // from /hz:, 50, 60 or kMainsFrequencyAuto; 0: the region rule
};

// Splits a copy of the tail in `tokens` (at least strlen(commandTail) + 1
// bytes) on blanks and applies each token to the options, in order.
void ParseCommandTail(RunOptions* options, const char* commandTail, char* tokens);
