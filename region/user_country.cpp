#include "region/user_country.h"

#include "platform/win32.h"

namespace {

// Older systems lack the geographic functions, so they are looked up at run
// time rather than imported.
typedef GEOID(WINAPI* GetUserGeoIdFunction)(GEOCLASS geoClass);
typedef int(WINAPI* GetGeoInfoFunction)(GEOID location, GEOTYPE geoType, LPSTR geoData, int size,
                                        LANGID language);

const LANGID kEnglishUnitedStates = 0x0409;

typedef void (*AnyFunction)(void);

// The platform hands entry points out under one type; going through a
// function without arguments tells the compiler that the change of type is
// meant.
AnyFunction FindEntry(HMODULE library, LPCSTR name) {
  return reinterpret_cast<AnyFunction>(GetProcAddress(library, name));
}

}  // namespace

int ReadUserCountry(char* code) {
  int read = 0;
  memset(code, 0, kCountryCodeSize);
  HMODULE kernel = LoadLibraryA("Kernel32.dll");
  if (kernel != NULL) {
    GetGeoInfoFunction getGeoInfo =
        reinterpret_cast<GetGeoInfoFunction>(FindEntry(kernel, "GetGeoInfoA"));
    if (getGeoInfo != NULL) {
      GetUserGeoIdFunction getUserGeoId =
          reinterpret_cast<GetUserGeoIdFunction>(FindEntry(kernel, "GetUserGeoID"));
      if (getUserGeoId != NULL) {
        getGeoInfo(getUserGeoId(GEOCLASS_NATION), GEO_ISO3, code, kCountryCodeSize,
                   kEnglishUnitedStates);
        read = 1;
      }
    }
    FreeLibrary(kernel);
  }
  // The code counts only as far as the buffer reaches, whatever was written
  // into it.
  code[kCountryCodeSize - 1] = '\0';
  return read;
}
