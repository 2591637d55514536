#include "device/multi_string.h"

DWORD MeasureMultiStringEntry(const char* list, DWORD size, DWORD offset) {
  DWORD length = 0;
  if (offset < size) {
    const char* entry = list + offset;
    const char* terminator = static_cast<const char*>(memchr(entry, '\0', size - offset));
    if (terminator != NULL) length = static_cast<DWORD>(terminator - entry);
  }
  return length;
}
