#include "region/sixty_hertz_region.h"

#include "platform/win32.h"
#include "region/country_rule.h"

namespace {

// Time-zone bands by bias in minutes (UTC = local time + bias), bounds
// included. Only inside them does the country decide; everywhere else the
// mains run at 60 Hz.
struct BiasBand {
  LONG from;
  LONG to;
};
const BiasBand kCountryBands[] = {
    {-540, 60},    // UTC-01:00 to UTC+09:00
    {-720, -570},  // UTC+09:30 to UTC+12:00
};

int InCountryBand(LONG bias) {
  int inBand = 0;
  for (size_t i = 0; i < sizeof kCountryBands / sizeof kCountryBands[0]; ++i) {
    if (bias >= kCountryBands[i].from && bias <= kCountryBands[i].to) inBand = 1;
  }
  return inBand;
}

}  // namespace

int IsSixtyHertzRegion() {
  TIME_ZONE_INFORMATION zone;
  memset(&zone, 0, sizeof zone);
  GetTimeZoneInformation(&zone);
  return InCountryBand(zone.Bias) ? IsSixtyHertzCountry() : 1;
}
