#include "app/command_tail.h"

namespace {

bool IsBlankOrControl(char c) {
  const unsigned char code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

}  // namespace

// Computed here rather than taken from the C runtime's start-up, so the
// tail is the same whichever runtime is linked.
const char* FindCommandTail(const char* commandLine) {
  const char* p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && !IsBlankOrControl(*p)) ++p;
  }
  while (IsBlankOrControl(*p)) ++p;
  return p;
}
