// Prints the class that the program's own region rule gives a process with
// this time zone (TZ) and user country: "class=2" for a 60 Hz region,
// "class=1" otherwise. The demo sets it beside what the camera received.
extern "C" {
#include "print.h"
}
#include "region/sixty_hertz_region.h"

int main() {
  print("class=%d\n", IsSixtyHertzRegion() ? 2 : 1);
  return 0;
}
