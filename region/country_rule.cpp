#include "region/country_rule.h"

#include "platform/win32.h"

namespace {

// Older systems lack the geographic functions, so they are looked up at run
// time rather than imported.
typedef GEOID(WINAPI* GetUserGeoIdFunction)(GEOCLASS geoClass);
typedef int(WINAPI* GetGeoInfoFunction)(GEOID location, GEOTYPE geoType, LPSTR geoData, int size,
                                        LANGID language);

const char* const kSixtyHertzCountries[] = {"TWN", "KOR"};
const int kCountryCodeSize = 20;
const LANGID kEnglishUnitedStates = 0x0409;

typedef void (*AnyFunction)(void);

// The platform hands entry points out under one type; going through a
// function without arguments tells the compiler that the change of type is
// meant.
AnyFunction FindEntry(HMODULE library, LPCSTR name) {
  return reinterpret_cast<AnyFunction>(GetProcAddress(library, name));
}

int IsSixtyHertzCode(const char* code) {
  int found = 0;
  for (size_t i = 0; i < sizeof kSixtyHertzCountries / sizeof kSixtyHertzCountries[0]; ++i) {
    if (!found && lstrcmpiA(code, kSixtyHertzCountries[i]) == 0) found = 1;
  }
  return found;
}

int IsSixtyHertzUser(GetUserGeoIdFunction getUserGeoId, GetGeoInfoFunction getGeoInfo) {
  char code[kCountryCodeSize];
  memset(code, 0, sizeof code);
  getGeoInfo(getUserGeoId(GEOCLASS_NATION), GEO_ISO3, code, kCountryCodeSize, kEnglishUnitedStates);
  // The code is compared only as far as the buffer reaches, whatever was
  // written into it.
  code[kCountryCodeSize - 1] = '\0';
  return IsSixtyHertzCode(code);
}

}  // namespace

int IsSixtyHertzCountry() {
  int sixtyHertz = 0;
  HMODULE kernel = LoadLibraryA("Kernel32.dll");
  if (kernel != NULL) {
    GetGeoInfoFunction getGeoInfo =
        reinterpret_cast<GetGeoInfoFunction>(FindEntry(kernel, "GetGeoInfoA"));
    if (getGeoInfo != NULL) {
      GetUserGeoIdFunction getUserGeoId =
          reinterpret_cast<GetUserGeoIdFunction>(FindEntry(kernel, "GetUserGeoID"));
      if (getUserGeoId != NULL) sixtyHertz = IsSixtyHertzUser(getUserGeoId, getGeoInfo);
    }
    FreeLibrary(kernel);
  }
  return sixtyHertz;
}
