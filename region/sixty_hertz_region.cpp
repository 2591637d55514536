#include "region/sixty_hertz_region.h"

#include "region/mains_corrections.h"
#include "region/user_country.h"

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

const char* const kSixtyHertzCountries[] = {"TWN", "KOR"};

int InCountryBand(LONG bias) {
  int inBand = 0;
  for (size_t i = 0; i < sizeof kCountryBands / sizeof kCountryBands[0]; ++i) {
    if (bias >= kCountryBands[i].from && bias <= kCountryBands[i].to) inBand = 1;
  }
  return inBand;
}

// The rule looks at the country only inside the bands; corrected, it looks
// at it everywhere, and a correction for the country at this bias overrides
// the rule. A country that cannot be told is neither of the rule's two, and
// has no correction.
int DecideRegion(int corrected) {
  // The status is not examined: a failed read leaves the bias 0, which is UTC.
  TIME_ZONE_INFORMATION zone;
  memset(&zone, 0, sizeof zone);
  GetTimeZoneInformation(&zone);
  const int inBand = InCountryBand(zone.Bias);
  int sixtyHertz = !inBand;
  char country[kCountryCodeSize];
  if ((inBand || corrected) && ReadUserCountry(country)) {
    for (size_t i = 0; i < sizeof kSixtyHertzCountries / sizeof kSixtyHertzCountries[0]; ++i) {
      if (!sixtyHertz && lstrcmpiA(country, kSixtyHertzCountries[i]) == 0) sixtyHertz = 1;
    }
    const MainsCorrection* correction = corrected ? FindMainsCorrection(country, zone.Bias) : NULL;
    if (correction != NULL) sixtyHertz = correction->mainsHertz == 60;
  }
  return sixtyHertz;
}

}  // namespace

int IsSixtyHertzRegion() { return DecideRegion(0); }

int IsSixtyHertzRegionCorrected() { return DecideRegion(1); }
