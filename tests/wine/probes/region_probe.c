/* Sets the user's country when given one, then prints the time-zone bias
   and the country as a process sees them, through the calls the program's
   region rule makes, so a scenario runs only on a region that took.
   Usage: region_probe [geo id]
   Output: "bias=<minutes> nation=<geo id> iso3=<code>" */
#include "print.h"

/* The user's country as Windows keeps it: the Geo key's "Nation" value. */
static int set_nation(const char *nation) {
  HKEY key = NULL;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\International\\Geo", 0, NULL, 0,
                      KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
    return 0;
  LONG result =
      RegSetValueExA(key, "Nation", 0, REG_SZ, (const BYTE *)nation, (DWORD)lstrlenA(nation) + 1);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

int main(int argc, char **argv) {
  if (argc > 1 && !set_nation(argv[1])) {
    print("the country could not be set\n");
    return 3;
  }
  TIME_ZONE_INFORMATION zone;
  ZeroMemory(&zone, sizeof zone);
  GetTimeZoneInformation(&zone);
  GEOID nation = GetUserGeoID(GEOCLASS_NATION);
  char iso3[20] = "";
  GetGeoInfoA(nation, GEO_ISO3, iso3, sizeof iso3, 0x0409);
  iso3[sizeof iso3 - 1] = '\0';
  print("bias=%ld nation=%ld iso3=%s\n", zone.Bias, (long)nation, iso3);
  return 0;
}
