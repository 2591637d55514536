// The time zone and the user's country (kernel32), and the one library the
// program loads at run time to reach the geographic functions, which a test
// can take away to play an older system.
#include "state.h"

using sim::Fault;
using sim::detail::TheMachine;

namespace {

const HMODULE kKernel32 = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x4000));

// The nation identifier of whatever country the test set; any other
// identifier is unknown to GetGeoInfoA.
const GEOID kUserNation = 0x7105;

FARPROC AsFarProc(void (*entry)(void)) { return reinterpret_cast<FARPROC>(entry); }

}  // namespace

namespace sim {

void SetTimeZoneBias(LONG bias) { detail::TheMachine().timeZoneBias = bias; }

void SetUserCountry(const std::string& iso3) { detail::TheMachine().userCountry = iso3; }

void SetGeoFunctionsPresent(bool getUserGeoId, bool getGeoInfo) {
  detail::TheMachine().getUserGeoIdPresent = getUserGeoId;
  detail::TheMachine().getGeoInfoPresent = getGeoInfo;
}

void SetGeoInfoFillsWholeBuffer(bool fills) {
  detail::TheMachine().geoInfoFillsWholeBuffer = fills;
}

}  // namespace sim

// Only the standard bias is set: the machine keeps no daylight-saving rule.
DWORD WINAPI GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation) {
  const Fault fault = sim::EnterOperation("GetTimeZoneInformation");
  if (fault == Fault::kSucceedWithoutOutput) return TIME_ZONE_ID_UNKNOWN;
  if (fault == Fault::kFail || lpTimeZoneInformation == nullptr) return TIME_ZONE_ID_INVALID;
  memset(lpTimeZoneInformation, 0, sizeof *lpTimeZoneInformation);
  lpTimeZoneInformation->Bias = TheMachine().timeZoneBias;
  return TIME_ZONE_ID_UNKNOWN;
}

// Kernel32 is the only library there is; each load counts until it is freed.
HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) {
  if (sim::EnterOperation("LoadLibraryA") != Fault::kNone || lpLibFileName == nullptr) {
    return nullptr;
  }
  if (_stricmp(lpLibFileName, "kernel32.dll") != 0 && _stricmp(lpLibFileName, "kernel32") != 0) {
    return nullptr;
  }
  ++TheMachine().loadedLibraries;
  return kKernel32;
}

// Entry point names are matched exactly, as the platform matches them.
FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  if (sim::EnterOperation("GetProcAddress") != Fault::kNone || lpProcName == nullptr) {
    return nullptr;
  }
  if (hModule != kKernel32 || TheMachine().loadedLibraries == 0) return nullptr;
  if (strcmp(lpProcName, "GetUserGeoID") == 0 && TheMachine().getUserGeoIdPresent) {
    return AsFarProc(reinterpret_cast<void (*)(void)>(&GetUserGeoID));
  }
  if (strcmp(lpProcName, "GetGeoInfoA") == 0 && TheMachine().getGeoInfoPresent) {
    return AsFarProc(reinterpret_cast<void (*)(void)>(&GetGeoInfoA));
  }
  return nullptr;
}

// A free that is made to fail still lets the library go.
BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  const Fault fault = sim::EnterOperation("FreeLibrary");
  if (hLibModule != kKernel32 || TheMachine().loadedLibraries == 0) return FALSE;
  --TheMachine().loadedLibraries;
  return fault == Fault::kFail ? FALSE : TRUE;
}

GEOID WINAPI GetUserGeoID(GEOCLASS GeoClass) {
  if (sim::EnterOperation("GetUserGeoID") != Fault::kNone || GeoClass != GEOCLASS_NATION ||
      TheMachine().userCountry.empty()) {
    return GEOID_NOT_AVAILABLE;
  }
  return kUserNation;
}

// As the platform: cchData counts the terminator; 0 asks for the size
// needed; a buffer too small for the code and its terminator gets nothing.
int WINAPI GetGeoInfoA(GEOID Location, GEOTYPE GeoType, LPSTR lpGeoData, int cchData,
                       LANGID LangId) {
  (void)LangId;
  const Fault fault = sim::EnterOperation("GetGeoInfoA");
  const std::string& code = TheMachine().userCountry;
  const int needed = static_cast<int>(code.size()) + 1;
  if (fault == Fault::kSucceedWithoutOutput) return needed;
  if (fault == Fault::kFail || Location != kUserNation || code.empty() || GeoType != GEO_ISO3 ||
      cchData < 0 || (cchData > 0 && lpGeoData == nullptr)) {
    return 0;
  }
  if (cchData == 0) return needed;
  if (TheMachine().geoInfoFillsWholeBuffer) {
    for (int i = 0; i < cchData; ++i) lpGeoData[i] = code[static_cast<size_t>(i) % code.size()];
    return cchData;
  }
  if (cchData < needed) return 0;
  memcpy(lpGeoData, code.c_str(), static_cast<size_t>(needed));
  return needed;
}
