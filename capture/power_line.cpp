#include "capture/power_line.h"

#include "region/sixty_hertz_region.h"

static_assert(sizeof(PowerLineBlock) == 72, "the driver expects a 72-byte block");
static_assert(offsetof(PowerLineBlock, frequencyClass) == 24, "the driver reads the class at 24");

namespace {

// The camera driver's vendor property set, and its mains-frequency property.
const GUID kVendorPropertySet = {
    0x4b1e93d2, 0x6c07, 0x4f5a, {0x9e, 0x21, 0x7d, 0x38, 0xa0, 0xc4, 0xb6, 0x15}};
const DWORD kPowerLineProperty = 15;

const LONG kSixtyHertzClass = 2;
const LONG kFiftyHertzClass = 1;

// An administrator's word on the mains wins over the region rule, which is
// then not asked at all; auto asks for the rule's answer corrected.
LONG FrequencyClass(LONG mainsFrequency) {
  int sixtyHertz = mainsFrequency == 60;
  if (mainsFrequency == kMainsFrequencyAuto) {
    sixtyHertz = IsSixtyHertzRegionCorrected();
  } else if (mainsFrequency != 50 && mainsFrequency != 60) {
    sixtyHertz = IsSixtyHertzRegion();
  }
  return sixtyHertz ? kSixtyHertzClass : kFiftyHertzClass;
}

}  // namespace

// The driver is given the same whole block as instance data and as property
// data, never the value alone.
int ApplyPowerLineSetting(CaptureTarget* target, LONG mainsFrequency) {
  PowerLineBlock block;
  memset(&block, 0, sizeof block);
  block.frequencyClass = FrequencyClass(mainsFrequency);
  const HRESULT written = target->propertySet->Set(kVendorPropertySet, kPowerLineProperty, &block,
                                                   sizeof block, &block, sizeof block);
  return SUCCEEDED(written);
}
