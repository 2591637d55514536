#include "region/mains_corrections.h"

namespace {

// Made from region/mains-by-country.tsv and the time-zone database's
// zone.tab by `tests/region/check_mains_corrections.py --table`; the test
// of that script holds every answer to both sources.
const MainsCorrection kMainsCorrections[] = {
    {"ARG", 180, 50},   // Argentina, UTC-03:00
    {"BOL", 240, 50},   // Bolivia, UTC-04:00
    {"BRB", 240, 50},   // Barbados, UTC-04:00
    {"CHL", 180, 50},   // Chile, UTC-03:00
    {"CHL", 240, 50},   // Chile, UTC-04:00
    {"CHL", 360, 50},   // Chile, UTC-06:00
    {"COK", 600, 50},   // Cook Islands, UTC-10:00
    {"CUW", 240, 50},   // Curacao, UTC-04:00
    {"DMA", 240, 50},   // Dominica, UTC-04:00
    {"FLK", 180, 50},   // Falkland Islands (Malvinas), UTC-03:00
    {"GLP", 240, 50},   // Guadeloupe, UTC-04:00
    {"GRD", 240, 50},   // Grenada, UTC-04:00
    {"GRL", 120, 50},   // Greenland, UTC-02:00
    {"GRL", 240, 50},   // Greenland, UTC-04:00
    {"GUF", 180, 50},   // French Guiana, UTC-03:00
    {"JAM", 300, 50},   // Jamaica, UTC-05:00
    {"KIR", -840, 50},  // Kiribati, UTC+14:00
    {"KIR", -780, 50},  // Kiribati, UTC+13:00
    {"LCA", 240, 50},   // Saint Lucia, UTC-04:00
    {"MTQ", 240, 50},   // Martinique, UTC-04:00
    {"NZL", -765, 50},  // New Zealand, UTC+12:45
    {"PRY", 180, 50},   // Paraguay, UTC-03:00
    {"TON", -780, 50},  // Tonga, UTC+13:00
    {"URY", 180, 50},   // Uruguay, UTC-03:00
    {"VCT", 240, 50},   // Saint Vincent and the Grenadines, UTC-04:00
    {"WSM", -780, 50},  // Samoa, UTC+13:00
    {"FSM", -660, 60},  // Micronesia, UTC+11:00
    {"FSM", -600, 60},  // Micronesia, UTC+10:00
    {"GUM", -600, 60},  // Guam, UTC+10:00
    {"PHL", -480, 60},  // Philippines, UTC+08:00
    {"PLW", -540, 60},  // Palau, UTC+09:00
    {"SAU", -180, 60},  // Saudi Arabia, UTC+03:00
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
