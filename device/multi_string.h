// Stepping through a multi-string (NUL-terminated entries, closed by an empty
// one) that lies in a buffer of known size, whatever the buffer holds.
#pragma once

#include "platform/win32.h"

// Length, terminator excluded, of the entry that starts at `offset` of the
// `size` bytes at `list`. 0 ends the walk: the closing empty entry, the end
// of the buffer, or an entry whose terminator the buffer doesn't hold.
DWORD MeasureMultiStringEntry(const char* list, DWORD size, DWORD offset);
