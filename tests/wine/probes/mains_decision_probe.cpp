// Prints what decides the frequency class of a run of the program given the
// same command line, in this process's time zone (TZ) and user country,
// through the program's own code: its reading of the switches, the region
// rule, and the correction that /hz:auto looks for. The demo sets it beside
// what the camera received. Lines:
//   decided=switch hertz=F                      /hz:50 or /hz:60; the rule is not asked
//   decided=correction country=C bias=B hertz=F /hz:auto corrects the rule here
//   decided=rule auto=yes|no                    the region rule (under /hz:auto or not)
//   rule=K                                      the region rule's class here
extern "C" {
#include "print.h"
}
#include "app/command_tail.h"
#include "app/run_options.h"
#include "region/mains_corrections.h"
#include "region/sixty_hertz_region.h"
#include "region/user_country.h"

namespace {

// The longest command line that Windows starts a program with.
char tokens[32768];

void PrintCorrection(const char* country, LONG bias) {
  const MainsCorrection* correction = FindMainsCorrection(country, bias);
  if (correction != NULL) {
    print("decided=correction country=%s bias=%ld hertz=%d\n", correction->country, bias,
          correction->mainsHertz);
  } else {
    print("decided=rule auto=yes\n");
  }
}

}  // namespace

int main() {
  RunOptions options;
  ZeroMemory(&options, sizeof options);
  ParseCommandTail(&options, FindCommandTail(GetCommandLineA()), tokens);
  if (options.mainsFrequency == 50 || options.mainsFrequency == 60) {
    print("decided=switch hertz=%ld\n", options.mainsFrequency);
  } else if (options.mainsFrequency == kMainsFrequencyAuto) {
    TIME_ZONE_INFORMATION zone;
    ZeroMemory(&zone, sizeof zone);
    GetTimeZoneInformation(&zone);
    char country[kCountryCodeSize];
    ReadUserCountry(country);
    PrintCorrection(country, zone.Bias);
  } else {
    print("decided=rule auto=no\n");
  }
  print("rule=%d\n", IsSixtyHertzRegion() ? 2 : 1);
  return 0;
}
