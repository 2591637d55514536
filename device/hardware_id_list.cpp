#include "device/hardware_id_list.h"

#include "device/multi_string.h"

namespace {

// What follows the parent's ID in the ID of a composite device's function,
// before the interface number.
const char kFunctionTag[] = "&MI_";
const size_t kFunctionTagLength = sizeof kFunctionTag - 1;

// Whether the ID names the row: equals it whole or, for a function's ID, is
// the row followed by the function tag and the interface number.
int NamesRow(const char* id, DWORD length, const char* row, int function) {
  const size_t rowLength = strlen(row);
  if (!function) return length == rowLength && _strnicmp(id, row, length) == 0;
  return length > rowLength + kFunctionTagLength && _strnicmp(id, row, rowLength) == 0 &&
         _strnicmp(id + rowLength, kFunctionTag, kFunctionTagLength) == 0;
}

// The number, from 1, of the first row that the ID names; 0 for none.
DWORD MatchId(const char* id, DWORD length, const char* const* rows, DWORD rowCount, int function) {
  DWORD matched = 0;
  for (DWORD row = 0; matched == 0 && row < rowCount; ++row) {
    if (NamesRow(id, length, rows[row], function)) matched = row + 1;
  }
  return matched;
}

// The pieces of one entry lie between its commas; empty ones name no ID.
DWORD MatchEntry(const char* entry, DWORD length, const char* const* rows, DWORD rowCount,
                 int function) {
  DWORD matched = 0;
  DWORD start = 0;
  while (matched == 0 && start < length) {
    DWORD end = start;
    while (end < length && entry[end] != ',') ++end;
    if (end > start) matched = MatchId(entry + start, end - start, rows, rowCount, function);
    start = end + 1;
  }
  return matched;
}

DWORD MatchList(const char* list, DWORD listSize, const char* const* rows, DWORD rowCount,
                int function) {
  DWORD matched = 0;
  DWORD offset = 0;
  DWORD length = MeasureMultiStringEntry(list, listSize, offset);
  while (matched == 0 && length != 0) {
    matched = MatchEntry(list + offset, length, rows, rowCount, function);
    offset += length + 1;
    length = MeasureMultiStringEntry(list, listSize, offset);
  }
  return matched;
}

}  // namespace

int MatchHardwareIdList(const char* list, DWORD listSize, const char* const* rows, DWORD rowCount,
                        DWORD* matchedRow) {
  const DWORD matched = MatchList(list, listSize, rows, rowCount, 0);
  if (matchedRow != NULL) *matchedRow = matched;
  return matched != 0;
}

int MatchFunctionIdList(const char* list, DWORD listSize, const char* row) {
  return MatchList(list, listSize, &row, 1, 1) != 0;
}
