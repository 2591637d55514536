// Reads the name under which a capture source is listed.
#pragma once

#include "platform/win32.h"

// Reads the source's "FriendlyName" into name, a MAX_PATH buffer, in the ANSI
// code page. Returns 1 when name holds the whole name; 0 when the name cannot
// be read or does not fit, and then name is not to be compared.
int ReadSourceName(IMoniker* source, char* name);
