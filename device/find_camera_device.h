// Finds the camera's device node by hardware ID and reads the product name
// and driver description from its driver key.
#pragma once

#include "platform/win32.h"

// The search's argument block, handed over by value: the sizes are inputs only.
struct DeviceQuery {
  const char* const* hardwareIds;  // NUL-terminated IDs, in table order
  DWORD hardwareIdCount;
  char* productName;  // receives "ZrProductName"; may be null
  DWORD productNameSize;
  char* description;  // receives "DriverDesc"; may be null
  DWORD descriptionSize;
};

// Returns 1 when a device matched, 0 when none did. Each non-null output then
// holds its whole value, NUL-terminated within its size, or the empty string.
int FindCameraDevice(DeviceQuery query);
