#include "region/mains_corrections.h"

namespace {

// Made from region/mains-by-country.tsv and two time-zone databases by
// `tests/region/check_mains_corrections.py --table`: tzdata's zone.tab, and
// Windows' own, from which GetTimeZoneInformation takes the bias, with each
// Windows zone's biases from 2020 on, so that a machine without Windows'
// latest zone updates is served too. Each row names the databases that give
// the country that bias; the test of that script holds every answer to the
// list and both databases.
const MainsCorrection kMainsCorrections[] = {
    {"ARG", 180, 50},   // Argentina, UTC-03:00 (tzdata, Windows)
    {"BOL", 240, 50},   // Bolivia, UTC-04:00 (tzdata, Windows)
    {"BRB", 240, 50},   // Barbados, UTC-04:00 (tzdata, Windows)
    {"CHL", 180, 50},   // Chile, UTC-03:00 (tzdata, Windows)
    {"CHL", 240, 50},   // Chile, UTC-04:00 (tzdata, Windows)
    {"CHL", 360, 50},   // Chile, UTC-06:00 (tzdata, Windows)
    {"COK", 600, 50},   // Cook Islands, UTC-10:00 (tzdata, Windows)
    {"CUW", 240, 50},   // Curacao, UTC-04:00 (tzdata, Windows)
    {"DMA", 240, 50},   // Dominica, UTC-04:00 (tzdata, Windows)
    {"FLK", 180, 50},   // Falkland Islands (Malvinas), UTC-03:00 (tzdata, Windows)
    {"GLP", 240, 50},   // Guadeloupe, UTC-04:00 (tzdata, Windows)
    {"GRD", 240, 50},   // Grenada, UTC-04:00 (tzdata, Windows)
    {"GRL", 120, 50},   // Greenland, UTC-02:00 (tzdata, Windows)
    {"GRL", 180, 50},   // Greenland, UTC-03:00 (Windows)
    {"GRL", 240, 50},   // Greenland, UTC-04:00 (tzdata, Windows)
    {"GUF", 180, 50},   // French Guiana, UTC-03:00 (tzdata, Windows)
    {"JAM", 300, 50},   // Jamaica, UTC-05:00 (tzdata, Windows)
    {"KIR", -840, 50},  // Kiribati, UTC+14:00 (tzdata, Windows)
    {"KIR", -780, 50},  // Kiribati, UTC+13:00 (tzdata, Windows)
    {"LCA", 240, 50},   // Saint Lucia, UTC-04:00 (tzdata, Windows)
    {"MTQ", 240, 50},   // Martinique, UTC-04:00 (tzdata, Windows)
    {"NZL", -765, 50},  // New Zealand, UTC+12:45 (tzdata, Windows)
    {"PRY", 180, 50},   // Paraguay, UTC-03:00 (tzdata)
    {"PRY", 240, 50},   // Paraguay, UTC-04:00 (Windows)
    {"TON", -780, 50},  // Tonga, UTC+13:00 (tzdata, Windows)
    {"URY", 180, 50},   // Uruguay, UTC-03:00 (tzdata, Windows)
    {"VCT", 240, 50},   // Saint Vincent and the Grenadines, UTC-04:00 (tzdata, Windows)
    {"WSM", -780, 50},  // Samoa, UTC+13:00 (tzdata, Windows)
    {"FSM", -660, 60},  // Micronesia, UTC+11:00 (tzdata, Windows)
    {"FSM", -600, 60},  // Micronesia, UTC+10:00 (tzdata, Windows)
    {"GUM", -600, 60},  // Guam, UTC+10:00 (tzdata, Windows)
    {"PHL", -480, 60},  // Philippines, UTC+08:00 (tzdata, Windows)
    {"PLW", -540, 60},  // Palau, UTC+09:00 (tzdata, Windows)
    {"SAU", -180, 60},  // Saudi Arabia, UTC+03:00 (tzdata, Windows)
};

}  // namespace

// The bias is compared first: most rows are passed over without comparing
// the country.
const MainsCorrection* FindMainsCorrection(const char* country, LONG bias) {
  const MainsCorrection* found = NULL;
  for (size_t i = 0; found == NULL && i < sizeof kMainsCorrections / sizeof kMainsCorrections[0];
       ++i) {
    const MainsCorrection& row = kMainsCorrections[i];
    if (row.bias == bias && lstrcmpiA(country, row.country) == 0) found = &row;
  }
  return found;
}
