// The comparison of a device node's hardware-ID list with the camera's table.
#pragma once

#include "platform/win32.h"

// Returns 1 when an ID of the hardware-ID multi-string in the `listSize`
// bytes at `list` equals one of the `rowCount` rows, ASCII letters without
// regard to case. An entry may hold several IDs separated by commas. Only
// entries terminated within the buffer are compared. `matchedRow`, when
// given, receives the number (from 1) of the row that matched, 0 for none.
int MatchHardwareIdList(const char* list, DWORD listSize, const char* const* rows, DWORD rowCount,
                        DWORD* matchedRow = NULL);

// Returns 1 when an ID of the list is `row` followed by "&MI_" and the
// interface number: the ID of one function of a composite USB device whose
// parent carries `row`. Compared as above.
int MatchFunctionIdList(const char* list, DWORD listSize, const char* row);
