// The camera and the logon entry as the tests, the sweep, the fuzzers and
// the benchmarks script them on the simulated machine.
#pragma once

#include <string>
#include <vector>

#include "platform/standin/machine.h"

extern const char kRunKeyPath[];
extern const char kLogonEntryName[];
extern const char kCameraDriverKey[];

// The camera's node: row 2 of the table with a revision-suffixed ID in front,
// its driver loaded, its driver key at kCameraDriverKey.
sim::DeviceNode CameraNode(bool inImageClass);

// Adds the camera's node and its driver key's "DriverDesc" and
// "ZrProductName" values.
void AddCamera(const char* description, bool inImageClass);

// The logon entry as it is stored, or absent.
sim::StoredValue LogonEntry();

// A string's bytes as a REG_SZ value stores them, with the terminating NUL.
std::vector<BYTE> StoredString(const std::string& text);
