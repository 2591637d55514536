// Where the region rule is known wrong, and what the mains are there.
#pragma once

#include "platform/win32.h"

// A country with one mains frequency, at the standard bias of one of its own
// time zones, where the rule gives the other frequency's class.
struct MainsCorrection {
  char country[4];   // ISO 3166-1 alpha-3 code
  SHORT bias;        // standard bias in minutes, as GetTimeZoneInformation gives it
  SHORT mainsHertz;  // 50 or 60
};

// The correction for a user of `country` on a machine at `bias`, or NULL
// where the rule stands.
const MainsCorrection* FindMainsCorrection(const char* country, LONG bias);
