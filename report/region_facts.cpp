// The class: the Windows time zone and the bias the program reads, the
// user's country and why there is none, the region rule's class, /hz:auto's
// class and the correction that gave it, the /hz: in force, and which of
// them decides.
#include "region/mains_corrections.h"
#include "region/sixty_hertz_region.h"
#include "region/user_country.h"
#include "report/output.h"
#include "report/run_picture.h"

namespace {

const LANGID kEnglishUnitedStates = 0x0409;

LONG ClassOf(int sixtyHertz) { return sixtyHertz ? 2 : 1; }

void ReportZone(Output* out, LONG* bias) {
  DYNAMIC_TIME_ZONE_INFORMATION dynamic;
  memset(&dynamic, 0, sizeof dynamic);
  if (GetDynamicTimeZoneInformation(&dynamic) != TIME_ZONE_ID_INVALID) {
    dynamic.TimeZoneKeyName[(sizeof dynamic.TimeZoneKeyName / sizeof(WCHAR)) - 1] = L'\0';
    PutWide(out, "zone\0Windows time zone", dynamic.TimeZoneKeyName);
  } else {
    PutNone(out, "zone\0Windows time zone", "unreadable");
  }
  // Read as the program reads it: a failed read leaves 0.
  TIME_ZONE_INFORMATION zone;
  memset(&zone, 0, sizeof zone);
  GetTimeZoneInformation(&zone);
  *bias = zone.Bias;
  PutNumber(out, "bias\0bias (minutes)", zone.Bias);
}

int IsNationCode(const char* code) {
  int letters = 0;
  while (letters < 3 && ((code[letters] >= 'A' && code[letters] <= 'Z') ||
                         (code[letters] >= 'a' && code[letters] <= 'z'))) {
    ++letters;
  }
  return letters == 3 && code[3] == '\0';
}

// Reads the country as the program does; where there is none, says why.
// Returns whether the program has a code to look up.
int ReportCountry(Output* out, char* code) {
  const GEOID nation = GetUserGeoID(GEOCLASS_NATION);
  PutNumber(out, "geo\0geo id", nation);
  const int read = ReadUserCountry(code);
  char failure[48];
  const char* why = NULL;
  if (!read) {
    why = "the geographic functions are missing";
  } else if (nation == GEOID_NOT_AVAILABLE) {
    why = "not set";
  } else if (code[0] == '\0') {
    char probe[kCountryCodeSize];
    GetGeoInfoA(nation, GEO_ISO3, probe, kCountryCodeSize, kEnglishUnitedStates);
    wsprintfA(failure, "the lookup failed with error %lu", GetLastError());
    why = failure;
  } else if (!IsNationCode(code)) {
    why = "not a nation";
  }
  if (code[0] != '\0') {
    PutAnsi(out, "country\0country code", code);
  } else {
    PutNone(out, "country\0country code", "none");
  }
  if (why != NULL) {
    PutWords(out, "noCountry\0why no country", why);
  } else {
    PutNone(out, "noCountry\0why no country", "it is set");
  }
  return read && code[0] != '\0';
}

void ReportCorrection(Output* out, const MainsCorrection* correction) {
  if (correction != NULL) {
    char words[64];
    wsprintfA(words, "%s at bias %d: %d Hz", correction->country, correction->bias,
              correction->mainsHertz);
    PutWords(out, "correction\0its correction", words);
  } else {
    PutNone(out, "correction\0its correction", "none: the rule stands");
  }
}

}  // namespace

void ReportRegion(Output* out, RunPicture* run) {
  BeginSection(out, "region\0The class");
  LONG bias = 0;
  char code[kCountryCodeSize];
  ReportZone(out, &bias);
  const int hasCountry = ReportCountry(out, code);
  const LONG ruleClass = ClassOf(IsSixtyHertzRegion());
  const LONG autoClass = ClassOf(IsSixtyHertzRegionCorrected());
  const MainsCorrection* correction = hasCountry ? FindMainsCorrection(code, bias) : NULL;
  PutNumber(out, "rule\0class by the region rule", ruleClass);
  PutNumber(out, "auto\0class by /hz:auto", autoClass);
  ReportCorrection(out, correction);

  const LONG frequency = run->options.mainsFrequency;
  const char* inForce = "none";
  const char* decides = "the region rule";
  run->frequencyClass = ruleClass;
  if (frequency == 50) {
    inForce = "50";
    decides = "/hz:50, without the rule";
    run->frequencyClass = 1;
  } else if (frequency == 60) {
    inForce = "60";
    decides = "/hz:60, without the rule";
    run->frequencyClass = 2;
  } else if (frequency == kMainsFrequencyAuto) {
    inForce = "auto";
    decides = correction != NULL ? "/hz:auto: its correction" : "/hz:auto: no correction, the rule";
    run->frequencyClass = autoClass;
  }
  PutWords(out, "hz\0/hz: in force", inForce);
  PutWords(out, "decides\0decides", decides);
  PutNumber(out, "class\0class the program writes", run->frequencyClass);
  EndSection(out);
}
