/* Lists the video-input capture sources and probes the first source of each
   name given, so the simulated camera can be checked on its own.
   Usage: camera_probe [name...]   Output: as print_sources. */
#include "source_list.h"

int main(int argc, char **argv) {
  print_sources(argv + 1, argc - 1);
  return 0;
}
