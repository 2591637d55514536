// For each line "COUNTRY BIAS" of its input, the classes that the program's
// region code gives a user of that country (three-letter code) on a machine
// at that standard bias: "RULE AUTO", the region rule's class and /hz:auto's
// (2 for 60 Hz, 1 otherwise). A lookup that leaves the library loaded ends
// the answers with "leak".
#include <iostream>
#include <string>

#include "platform/standin/machine.h"
#include "region/sixty_hertz_region.h"

int main() {
  std::string country;
  LONG bias = 0;
  while (std::cin >> country >> bias) {
    sim::ResetMachine();
    sim::SetTimeZoneBias(bias);
    sim::SetUserCountry(country);
    const int rule = IsSixtyHertzRegion() ? 2 : 1;
    const int corrected = IsSixtyHertzRegionCorrected() ? 2 : 1;
    if (sim::Open().libraries != 0) {
      std::cout << "leak\n";
      return 1;
    }
    std::cout << rule << ' ' << corrected << '\n';
  }
  return 0;
}
