/* The replacement configuration manager's view of a device node: Wine's
   SetupAPI names nodes and knows their instance IDs; the device's own
   registry key carries the test's say over presence and the loaded driver. */
#pragma once

// windows.h first: the other SDK headers build on it.
#include <windows.h>
// clang-format off
#include <setupapi.h>
#include <cfgmgr32.h>
// clang-format on

/* Opens the device behind a node in a device list that lives as long as the
   process, so that the node handles it gives out stay valid. */
int devnode_open(DEVINST node, HDEVINFO *devices, SP_DEVINFO_DATA *device);

/* Opens a device by its instance ID in that same list. */
int devnode_open_id(const char *instance_id, HDEVINFO *devices, SP_DEVINFO_DATA *device);

/* A DWORD test value of the device's key under Enum ("TestPresent",
   "TestDriverLoaded"), or fallback when the device does not carry it. */
DWORD devnode_test_value(HDEVINFO devices, SP_DEVINFO_DATA *device, const char *name,
                         DWORD fallback);

/* A text test value of the device's key under Enum ("TestParent") into text
   (size bytes, terminated), or "" when the device does not carry it. */
void devnode_test_string(HDEVINFO devices, SP_DEVINFO_DATA *device, const char *name, char *text,
                         DWORD size);
