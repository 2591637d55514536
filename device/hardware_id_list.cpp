#include "device/hardware_id_list.h"

#include "device/multi_string.h"

namespace {

int MatchHardwareId(const char* id, DWORD length, const char* const* rows, DWORD rowCount) {
  int matched = 0;
  for (DWORD row = 0; !matched && row < rowCount; ++row) {
    matched = strlen(rows[row]) == length && _strnicmp(id, rows[row], length) == 0;
  }
  return matched;
}

// The pieces of one entry lie between its commas; empty ones name no ID.
int MatchEntry(const char* entry, DWORD length, const char* const* rows, DWORD rowCount) {
  int matched = 0;
  DWORD start = 0;
  while (!matched && start < length) {
    DWORD end = start;
    while (end < length && entry[end] != ',') ++end;
    if (end > start) matched = MatchHardwareId(entry + start, end - start, rows, rowCount);
    start = end + 1;
  }
  return matched;
}

}  // namespace

int MatchHardwareIdList(const char* list, DWORD listSize, const char* const* rows, DWORD rowCount) {
  int matched = 0;
  DWORD offset = 0;
  DWORD length = MeasureMultiStringEntry(list, listSize, offset);
  while (!matched && length != 0) {
    matched = MatchEntry(list + offset, length, rows, rowCount);
    offset += length + 1;
    length = MeasureMultiStringEntry(list, listSize, offset);
  }
  return matched;
}
