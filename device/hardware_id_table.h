// The camera's USB hardware IDs, in the order the device search tries them.
#pragma once

enum {
  kHardwareIdRowCount = 2,
  kHardwareIdSlotSize = 80,  // each row: up to 79 characters and zero fill
};

extern const char HardwareIdTable[kHardwareIdRowCount][kHardwareIdSlotSize];
