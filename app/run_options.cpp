#include "app/run_options.h"

#include <limits.h>
#include <stdlib.h>

#include "region/sixty_hertz_region.h"

namespace {

// The decimal value after a switch's colon, clamped to the range of a 32-bit
// LONG as the platform's own conversions clamp it, whatever the width of
// `long`.
LONG ParseSwitchNumber(const char* text) {
  long value = strtol(text, NULL, 10);
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  return static_cast<LONG>(value);
}

// Only the two mains frequencies, or auto, override the region rule; any
// other value, a typo among them, leaves the rule in charge rather than
// guess.
LONG ParseMainsFrequency(const char* text) {
  if (_stricmp(text, "auto") == 0) return kMainsFrequencyAuto;
  const LONG frequency = ParseSwitchNumber(text);
  return frequency == 50 || frequency == 60 ? frequency : 0;
}

void ApplyToken(RunOptions* options, const char* token) {
  if (lstrcmpiA(token, "/s") == 0) {
    options->startDelay = 1;
  } else if (lstrcmpiA(token, "/first") == 0) {
    options->firstRun = 1;
  } else if (_strnicmp(token, "/d:", 3) == 0) {
    options->deviceNumber = ParseSwitchNumber(token + 3);
  } else if (lstrcmpiA(token, "/patchreg") == 0) {
    options->patchReg = 1;
  } else if (_strnicmp(token, "/hz:", 4) == 0) {
    options->mainsFrequency = ParseMainsFrequency(token + 4);
  }
}

}  // namespace

// Only the blank separates tokens: tabs and quotes stay inside them.
void ParseCommandTail(RunOptions* options, const char* commandTail, char* tokens) {
  const size_t length = strlen(commandTail);
  memcpy(tokens, commandTail, length + 1);
  char* token = tokens;
  for (size_t i = 0; i <= length; ++i) {
    if (tokens[i] == ' ' || tokens[i] == '\0') {
      tokens[i] = '\0';
      if (*token != '\0') ApplyToken(options, token);
      token = tokens + i + 1;
    }
  }
}
