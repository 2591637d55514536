#include "region/sixty_hertz_region.h"

#include "tests/unit/machine_test.h"

namespace {

using sim::Fault;

struct RegionCase {
  const char* label;
  LONG bias;
  const char* country;  // empty: the user has no nation set
  int expected;
  bool looksAtCountry;
  int expectedCorrected;  // /hz:auto's answer, which always looks at the country
};

void PrintTo(const RegionCase& row, std::ostream* out) { *out << row.label; }

class RegionBandTest : public MachineTest, public ::testing::WithParamInterface<RegionCase> {};

TEST_P(RegionBandTest, BandDecidesWhetherTheCountryCounts) {
  const RegionCase& c = GetParam();
  sim::SetTimeZoneBias(c.bias);
  sim::SetUserCountry(c.country);

  EXPECT_EQ(IsSixtyHertzRegion(), c.expected);

  EXPECT_EQ(sim::CallCount("LoadLibraryA"), c.looksAtCountry ? 1 : 0);
  EXPECT_EQ(sim::CallCount("GetGeoInfoA"), c.looksAtCountry ? 1 : 0);
  ExpectNothingOpen();
}

TEST_P(RegionBandTest, CorrectionOnlyForTheCountryAtItsOwnBias) {
  const RegionCase& c = GetParam();
  sim::SetTimeZoneBias(c.bias);
  sim::SetUserCountry(c.country);

  EXPECT_EQ(IsSixtyHertzRegionCorrected(), c.expectedCorrected);

  EXPECT_EQ(sim::CallCount("GetTimeZoneInformation"), 1);
  EXPECT_EQ(sim::CallCount("LoadLibraryA"), 1);
  EXPECT_EQ(sim::CallCount("GetGeoInfoA"), 1);
  ExpectNothingOpen();
}

INSTANTIATE_TEST_SUITE_P(
    Edges, RegionBandTest,
    ::testing::Values(RegionCase{"West61", 61, "PRT", 1, false, 1},
                      RegionCase{"West60", 60, "PRT", 0, true, 0},
                      RegionCase{"West60Korea", 60, "KOR", 1, true, 1},
                      RegionCase{"Americas", 300, "USA", 1, false, 1},
                      RegionCase{"Utc", 0, "GBR", 0, true, 0},
                      RegionCase{"East540Korea", -540, "KOR", 1, true, 1},
                      RegionCase{"East540Japan", -540, "JPN", 0, true, 0},
                      RegionCase{"GapAfterA", -541, "JPN", 1, false, 1},
                      RegionCase{"Gap555", -555, "JPN", 1, false, 1},
                      RegionCase{"GapBeforeB", -569, "AUS", 1, false, 1},
                      RegionCase{"East570Australia", -570, "AUS", 0, true, 0},
                      RegionCase{"East570Korea", -570, "KOR", 1, true, 1},
                      RegionCase{"East720NewZealand", -720, "NZL", 0, true, 0},
                      RegionCase{"East720Taiwan", -720, "TWN", 1, true, 1},
                      RegionCase{"East721", -721, "NZL", 1, false, 1},
                      RegionCase{"East780Tonga", -780, "TON", 1, false, 0},
                      RegionCase{"MostNegativeBias", -2147483647 - 1, "", 1, false, 1},
                      // Where the rule is wrong: the country at a bias of its own zones.
                      RegionCase{"ArgentinaAtHome", 180, "ARG", 1, false, 0},
                      RegionCase{"ArgentinaLower", 180, "arg", 1, false, 0},
                      RegionCase{"ArgentinaInNewYork", 300, "ARG", 1, false, 1},
                      RegionCase{"UnitedStatesInBuenosAires", 180, "USA", 1, false, 1},
                      RegionCase{"SaudiArabiaAtHome", -180, "SAU", 0, true, 1},
                      RegionCase{"SaudiArabiaInLondon", 0, "SAU", 0, true, 0},
                      RegionCase{"ChathamIslands", -765, "NZL", 1, false, 0},
                      // Windows' own zones, where a machine lacks their updates.
                      RegionCase{"ParaguayBefore2025Update", 240, "PRY", 1, false, 0},
                      RegionCase{"GreenlandBefore2023Update", 180, "GRL", 1, false, 0},
                      RegionCase{"CountryLikeACode", 180, "ARGX", 1, false, 1}),
    [](const ::testing::TestParamInfo<RegionCase>& info) { return info.param.label; });

struct CountryCase {
  const char* label;
  const char* country;
  int expected;
};

void PrintTo(const CountryCase& row, std::ostream* out) { *out << row.label; }

class CountryTest : public MachineTest, public ::testing::WithParamInterface<CountryCase> {};

TEST_P(CountryTest, OnlyTaiwanAndKoreaInsideTheBands) {
  sim::SetTimeZoneBias(-480);
  sim::SetUserCountry(GetParam().country);

  EXPECT_EQ(IsSixtyHertzRegion(), GetParam().expected);

  EXPECT_EQ(sim::CallCount("FreeLibrary"), 1);
  ExpectNothingOpen();
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CountryTest,
    ::testing::Values(CountryCase{"Taiwan", "TWN", 1}, CountryCase{"TaiwanLower", "twn", 1},
                      CountryCase{"TaiwanMixed", "tWn", 1}, CountryCase{"Korea", "KOR", 1},
                      CountryCase{"KoreaLower", "kor", 1}, CountryCase{"China", "CHN", 0},
                      CountryCase{"Japan", "JPN", 0}, CountryCase{"TwoLetters", "TW", 0},
                      CountryCase{"Longer", "KORX", 0}, CountryCase{"NoNation", "", 0}),
    [](const ::testing::TestParamInfo<CountryCase>& info) { return info.param.label; });

// Inside the bands, with a 60 Hz country set, only a lookup that reads the
// code answers 1; every way it can go wrong answers 0 and leaves nothing
// loaded.
struct LookupCase {
  const char* label;
  const char* operation;  // null: no fault
  int nthCall;
  Fault fault;
  bool getUserGeoId;
  bool getGeoInfo;
  bool fillsWholeBuffer;
  int expected;
};

void PrintTo(const LookupCase& row, std::ostream* out) { *out << row.label; }

class LookupFailureTest : public MachineTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(LookupFailureTest, SixtyHertzOnlyWhenTheCodeIsRead) {
  const LookupCase& c = GetParam();
  sim::SetTimeZoneBias(-540);
  sim::SetUserCountry("KOR");
  sim::SetGeoFunctionsPresent(c.getUserGeoId, c.getGeoInfo);
  sim::SetGeoInfoFillsWholeBuffer(c.fillsWholeBuffer);
  if (c.operation != nullptr) InjectFault(c.operation, c.nthCall, c.fault);

  EXPECT_EQ(IsSixtyHertzRegion(), c.expected);

  ExpectNothingOpen();
}

// Where a correction would apply, a country that cannot be read leaves the
// rule in charge: outside the bands, 60 Hz.
TEST_P(LookupFailureTest, CorrectionOnlyWhenTheCodeIsRead) {
  const LookupCase& c = GetParam();
  sim::SetTimeZoneBias(180);
  sim::SetUserCountry("ARG");
  sim::SetGeoFunctionsPresent(c.getUserGeoId, c.getGeoInfo);
  sim::SetGeoInfoFillsWholeBuffer(c.fillsWholeBuffer);
  if (c.operation != nullptr) InjectFault(c.operation, c.nthCall, c.fault);

  EXPECT_EQ(IsSixtyHertzRegionCorrected(), c.expected ? 0 : 1);

  ExpectNothingOpen();
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, LookupFailureTest,
    ::testing::Values(
        LookupCase{"AllThere", nullptr, 0, Fault::kNone, true, true, false, 1},
        LookupCase{"NoGetUserGeoId", nullptr, 0, Fault::kNone, false, true, false, 0},
        LookupCase{"NoGetGeoInfo", nullptr, 0, Fault::kNone, true, false, false, 0},
        LookupCase{"NeitherFunction", nullptr, 0, Fault::kNone, false, false, false, 0},
        LookupCase{"LibraryNotLoaded", "LoadLibraryA", 1, Fault::kFail, true, true, false, 0},
        LookupCase{"EntryPointsNotFound", "GetProcAddress", 0, Fault::kFail, true, true, false, 0},
        LookupCase{"NoNationIdentifier", "GetUserGeoID", 1, Fault::kFail, true, true, false, 0},
        LookupCase{"CodeLookupFails", "GetGeoInfoA", 1, Fault::kFail, true, true, false, 0},
        LookupCase{"CodeNotWritten", "GetGeoInfoA", 1, Fault::kSucceedWithoutOutput, true, true,
                   false, 0},
        LookupCase{"CodeWithoutTerminator", nullptr, 0, Fault::kNone, true, true, true, 0},
        LookupCase{"FreeLibraryFails", "FreeLibrary", 1, Fault::kFail, true, true, false, 1}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return info.param.label; });

class RegionTest : public MachineTest {};

// The status is not examined: a failed read leaves the bias zero, which is
// UTC, inside the first band, where a 50 Hz country answers 0.
TEST_F(RegionTest, UnreadTimeZoneCountsAsUtc) {
  sim::SetTimeZoneBias(300);
  sim::SetUserCountry("DEU");
  InjectFault("GetTimeZoneInformation", 1);

  EXPECT_EQ(IsSixtyHertzRegion(), 0);

  EXPECT_EQ(sim::CallCount("GetGeoInfoA"), 1);
  ExpectNothingOpen();
}

}  // namespace
