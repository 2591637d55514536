// Writes the mains-frequency class of the user's region to the camera.
#pragma once

#include "capture/capture_target.h"

// The 72-byte block sent as both instance and property data. Little-endian.
struct PowerLineBlock {
  BYTE reserved[24];    // room of a property header, left zero
  LONG frequencyClass;  // 2 for a 60 Hz region, 1 otherwise
  BYTE reservedAfter[44];
};

// Needs a target on which BindCaptureFilter returned 1. mainsFrequency 50 or
// 60 gives the class outright; kMainsFrequencyAuto the region rule's answer
// corrected; any other value leaves it to the region rule.
// Returns 1 when the driver accepted the write, 0 when it reported failure.
int ApplyPowerLineSetting(CaptureTarget* target, LONG mainsFrequency);
