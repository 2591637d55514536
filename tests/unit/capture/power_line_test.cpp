#include "capture/power_line.h"

#include <vector>

#include "capture/capture_binding.h"
#include "region/sixty_hertz_region.h"
#include "tests/unit/machine_test.h"

namespace {

using sim::Fault;

const GUID kVendorPropertySet = {
    0x4b1e93d2, 0x6c07, 0x4f5a, {0x9e, 0x21, 0x7d, 0x38, 0xa0, 0xc4, 0xb6, 0x15}};

// The block as the camera must receive it: zero but for the class at 24.
std::vector<BYTE> ExpectedBlock(BYTE frequencyClass) {
  std::vector<BYTE> block(72, 0);
  block[24] = frequencyClass;
  return block;
}

struct WriteCase {
  const char* label;
  LONG bias;
  const char* country;
  LONG mainsFrequency;  // the administrator's word; 0 leaves it to the region rule
  bool regionAsked;
  HRESULT setResult;
  int expected;
  BYTE frequencyClass;
};

void PrintTo(const WriteCase& row, std::ostream* out) { *out << row.label; }

class PowerLineTest : public MachineTest {
 protected:
  // A target bound to a camera whose driver answers every write with result.
  CaptureTarget Bound(HRESULT result) {
    sim::CaptureSource camera;
    camera.friendlyName = L"USB Camera";
    camera.setResult = result;
    sim::AddCaptureSource(camera);
    CaptureTarget target;
    memset(&target, 0, sizeof target);
    strcpy(target.friendlyName, "USB Camera");
    EXPECT_EQ(BindCaptureFilter(&target), 1);
    return target;
  }
};

class PowerLineWriteTest : public PowerLineTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(PowerLineWriteTest, CameraReceivesOneBlockAsBothBuffers) {
  const WriteCase& c = GetParam();
  sim::SetTimeZoneBias(c.bias);
  sim::SetUserCountry(c.country);
  CaptureTarget target = Bound(c.setResult);

  EXPECT_EQ(ApplyPowerLineSetting(&target, c.mainsFrequency), c.expected);
  const int regionCalls = RegionCallCount();
  EXPECT_EQ(regionCalls > 0, c.regionAsked) << regionCalls << " calls of the region rule";

  ASSERT_EQ(sim::PropertyWrites().size(), 1u);
  const sim::PropertyWrite& write = sim::PropertyWrites()[0];
  EXPECT_EQ(write.source, 0);
  EXPECT_TRUE(write.set == kVendorPropertySet) << "the write went to another property set";
  EXPECT_EQ(write.id, 15u);
  EXPECT_EQ(write.instanceLength, 72u);
  EXPECT_EQ(write.dataLength, 72u);
  EXPECT_EQ(write.instance, ExpectedBlock(c.frequencyClass));
  EXPECT_EQ(write.data, ExpectedBlock(c.frequencyClass));
  EXPECT_EQ(ReleaseCaptureTarget(&target), 1);
  ExpectNothingOpen();
}

INSTANTIATE_TEST_SUITE_P(
    Writes, PowerLineWriteTest,
    ::testing::Values(
        WriteCase{"OutsideTheBands", 300, "", 0, true, S_OK, 1, 2},
        WriteCase{"SixtyHertzCountry", -540, "KOR", 0, true, S_OK, 1, 2},
        WriteCase{"FiftyHertzCountry", -540, "JPN", 0, true, S_OK, 1, 1},
        WriteCase{"SuccessCodeOtherThanOk", -540, "JPN", 0, true, S_FALSE, 1, 1},
        WriteCase{"DriverRefuses", 300, "", 0, true, E_FAIL, 0, 2},
        WriteCase{"DriverLacksTheProperty", -480, "TWN", 0, true, E_NOTIMPL, 0, 2},
        WriteCase{"FiftyGivenWhereTheRuleSaysSixty", 300, "ARG", 50, false, S_OK, 1, 1},
        WriteCase{"SixtyGivenWhereTheRuleSaysFifty", -540, "JPN", 60, false, S_OK, 1, 2},
        WriteCase{"FiftyGivenToADriverThatRefuses", -540, "KOR", 50, false, E_FAIL, 0, 1},
        WriteCase{"OtherValueLeavesItToTheRule", -540, "KOR", 55, true, S_OK, 1, 2},
        WriteCase{"AutoCorrectsTheRule", 180, "ARG", kMainsFrequencyAuto, true, S_OK, 1, 1},
        WriteCase{"AutoWhereTheRuleIsRight", -540, "KOR", kMainsFrequencyAuto, true, S_OK, 1, 2}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return info.param.label; });

// The region is asked afresh on every write, never remembered.
TEST_F(PowerLineTest, EachWriteAsksTheRegionAgain) {
  sim::SetUserCountry("JPN");
  sim::SetTimeZoneBias(-540);
  CaptureTarget target = Bound(S_OK);

  EXPECT_EQ(ApplyPowerLineSetting(&target, 0), 1);
  sim::SetTimeZoneBias(300);
  EXPECT_EQ(ApplyPowerLineSetting(&target, 0), 1);

  ASSERT_EQ(sim::PropertyWrites().size(), 2u);
  EXPECT_EQ(sim::PropertyWrites()[0].data, ExpectedBlock(1));
  EXPECT_EQ(sim::PropertyWrites()[1].data, ExpectedBlock(2));
  EXPECT_EQ(ReleaseCaptureTarget(&target), 1);
  ExpectNothingOpen();
}

TEST_F(PowerLineTest, FailingWriteIsTriedOnce) {
  CaptureTarget target = Bound(S_OK);
  InjectFault("IKsPropertySet::Set", 0);

  EXPECT_EQ(ApplyPowerLineSetting(&target, 0), 0);

  EXPECT_EQ(sim::CallCount("IKsPropertySet::Set"), 1);
  EXPECT_EQ(ReleaseCaptureTarget(&target), 1);
  ExpectNothingOpen();
}

}  // namespace
