/* Walks the video-input capture sources as the program does and prints each
   one's registration: "source id=<CameraId> name=<FriendlyName>". The first
   source of each name in probed (count names) is also bound, given a
   recognisable property write and let go, and the outcome printed as
   "probe name=<name> bind=0x<hr>[ property-set=0x<hr>[ write=0x<hr>]]". */
#pragma once

void print_sources(char **probed, int count);
