// Turns a driver description into the capture source's friendly name.
#pragma once

#include "platform/win32.h"

// Appends " #N" for device numbers other than 0 and 1, after cutting an
// earlier suffix at the first '#'. name is a MAX_PATH buffer; always returns 1.
int AppendInstanceSuffix(char* name, LONG deviceNumber);
