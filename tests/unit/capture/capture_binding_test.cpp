#include "capture/capture_binding.h"

#include <string>
#include <vector>

#include "tests/unit/machine_test.h"

namespace {

using sim::Fault;

// A source of the given name, with one of its abilities taken away if asked.
typedef bool sim::CaptureSource::*Ability;
const Ability kNameRead = &sim::CaptureSource::nameReadable;
const Ability kBagBinds = &sim::CaptureSource::bagBinds;
const Ability kFilterBinds = &sim::CaptureSource::filterBinds;
const Ability kPropertySet = &sim::CaptureSource::hasPropertySet;

sim::CaptureSource Source(const std::wstring& name, Ability lacking = nullptr) {
  sim::CaptureSource source;
  source.friendlyName = name;
  if (lacking != nullptr) source.*lacking = false;
  return source;
}

CaptureTarget Named(const std::string& friendlyName) {
  CaptureTarget target;
  memset(&target, 0, sizeof target);
  memcpy(target.friendlyName, friendlyName.c_str(), friendlyName.size() + 1);
  return target;
}

// What every binding leaves behind: the two references of the target and
// nothing else, and after the release not even those.
void ExpectOnlyTargetHeldThenReleased(CaptureTarget* target, const std::string& friendlyName,
                                      int comInitDepth) {
  const sim::OpenResources open = sim::Open();
  EXPECT_EQ(open.comObjects, target->filter != nullptr ? 1 : 0)
      << "COM objects alive beside the target's filter";
  EXPECT_EQ(open.bstrs, 0) << "strings not freed";
  EXPECT_EQ(open.comInitDepth, comInitDepth) << "COM use after binding";
  EXPECT_EQ(ReleaseCaptureTarget(target), 1);
  EXPECT_EQ(target->filter, nullptr);
  EXPECT_EQ(target->propertySet, nullptr);
  EXPECT_EQ(std::string(target->friendlyName), friendlyName) << "the release changed the name";
  ExpectNothingOpen();
}

struct BindCase {
  const char* label;
  std::string friendlyName;
  std::vector<sim::CaptureSource> sources;
  int expected;
  std::vector<int> bound;  // sources whose filter was bound, in order
};

void PrintTo(const BindCase& row, std::ostream* out) { *out << row.label; }

class WhichSourceBindsTest : public MachineTest, public ::testing::WithParamInterface<BindCase> {};

TEST_P(WhichSourceBindsTest, BindsTheFirstMatchOnly) {
  const BindCase& c = GetParam();
  for (const sim::CaptureSource& source : c.sources) sim::AddCaptureSource(source);
  CaptureTarget target = Named(c.friendlyName);

  EXPECT_EQ(BindCaptureFilter(&target), c.expected);

  EXPECT_EQ(sim::BoundSources(), c.bound);
  EXPECT_EQ(target.filter != nullptr, !c.bound.empty()) << "filter held after the binding";
  EXPECT_EQ(target.propertySet != nullptr, c.expected == 1) << "property set held";
  EXPECT_LE(sim::CallCount("IMoniker::BindToObject"), 1) << "a second device was tried";
  ExpectOnlyTargetHeldThenReleased(&target, c.friendlyName, 1);
}

const std::wstring kLongestName(259, L'A');
const std::wstring kTooLongName(260, L'A');

INSTANTIATE_TEST_SUITE_P(
    Sources, WhichSourceBindsTest,
    ::testing::Values(
        BindCase{"LettersFoldCase", "USB Camera", {Source(L"usb camera")}, 1, {0}},
        BindCase{"TrailingBlankDiffers", "USB Camera", {Source(L"USB Camera ")}, 0, {}},
        BindCase{"OnlyAsciiLettersFold", "CAM\xC9RA", {Source(L"cam\u00e9ra")}, 0, {}},
        BindCase{"OtherBytesMatchExactly", "Cam\xE9ra", {Source(L"CAM\u00e9RA")}, 1, {0}},
        BindCase{"LaterMatch", "USB Camera", {Source(L"Other"), Source(L"USB Camera")}, 1, {1}},
        BindCase{"NoMatch", "USB Camera", {Source(L"Other"), Source(L"USB Cam")}, 0, {}},
        BindCase{"NoSources", "USB Camera", {}, 0, {}},
        BindCase{"FirstOfTwoSameNames",
                 "USB Camera",
                 {Source(L"USB Camera"), Source(L"USB Camera")},
                 1,
                 {0}},
        BindCase{"UnbindableFirstMatchEndsTheSearch",
                 "USB Camera",
                 {Source(L"USB Camera", kFilterBinds), Source(L"USB Camera")},
                 0,
                 {}},
        BindCase{"UnreadableNameSkipped",
                 "USB Camera",
                 {Source(L"USB Camera", kNameRead), Source(L"USB Camera")},
                 1,
                 {1}},
        BindCase{"UnboundBagSkipped",
                 "USB Camera",
                 {Source(L"USB Camera", kBagBinds), Source(L"USB Camera")},
                 1,
                 {1}},
        BindCase{"EmptyNameMatchesEmpty", "", {Source(L"")}, 1, {0}},
        BindCase{"UnreadableNeverMatchesEmpty", "", {Source(L"", kNameRead)}, 0, {}},
        BindCase{"NoPropertySetKeepsTheFilter",
                 "USB Camera",
                 {Source(L"USB Camera", kPropertySet), Source(L"USB Camera")},
                 0,
                 {0}},
        BindCase{"LongestNameMatches", std::string(259, 'a'), {Source(kLongestName)}, 1, {0}},
        BindCase{"TooLongNameSkipped",
                 std::string(259, 'A'),
                 {Source(kTooLongName), Source(kLongestName)},
                 1,
                 {1}},
        BindCase{"TooLongNameNeverMatchesEmpty", "", {Source(kTooLongName)}, 0, {}}),
    [](const ::testing::TestParamInfo<BindCase>& info) { return info.param.label; });

// Each platform failure of the binding, on a machine whose second device is
// the first match and whose third matches as well.
struct FaultCase {
  const char* label;
  const char* operation;  // null: no fault
  int nthCall;
  Fault fault;
  int expected;
  std::vector<int> bound;
};

void PrintTo(const FaultCase& row, std::ostream* out) { *out << row.label; }

class BindingFaultTest : public MachineTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(BindingFaultTest, FailsSilentlyAndHoldsOnlyTheTarget) {
  const FaultCase& c = GetParam();
  sim::AddCaptureSource(Source(L"Other"));
  sim::AddCaptureSource(Source(L"USB Camera"));
  sim::AddCaptureSource(Source(L"usb camera"));
  if (c.operation != nullptr) InjectFault(c.operation, c.nthCall, c.fault);
  CaptureTarget target = Named("USB Camera");

  EXPECT_EQ(BindCaptureFilter(&target), c.expected);

  EXPECT_EQ(sim::BoundSources(), c.bound);
  EXPECT_EQ(target.filter != nullptr, !c.bound.empty()) << "filter held after the binding";
  EXPECT_EQ(target.propertySet != nullptr, c.expected == 1) << "property set held";
  const bool comBegun = c.operation == nullptr || std::string(c.operation) != "CoInitialize";
  ExpectOnlyTargetHeldThenReleased(&target, "USB Camera", comBegun ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BindingFaultTest,
    ::testing::Values(
        FaultCase{"NoFault", nullptr, 0, Fault::kNone, 1, {1}},
        FaultCase{"CoInitializeFails", "CoInitialize", 1, Fault::kFail, 0, {}},
        FaultCase{"NoDeviceEnumerator", "CoCreateInstance", 1, Fault::kFail, 0, {}},
        FaultCase{"DeviceEnumeratorNotWritten",
                  "CoCreateInstance",
                  1,
                  Fault::kSucceedWithoutOutput,
                  0,
                  {}},
        FaultCase{
            "NoClassEnumerator", "ICreateDevEnum::CreateClassEnumerator", 1, Fault::kFail, 0, {}},
        FaultCase{"ClassEnumeratorNotWritten",
                  "ICreateDevEnum::CreateClassEnumerator",
                  1,
                  Fault::kSucceedWithoutOutput,
                  0,
                  {}},
        FaultCase{"ResetFailsUnexamined", "IEnumMoniker::Reset", 1, Fault::kFail, 1, {1}},
        FaultCase{"NextFailsAtOnce", "IEnumMoniker::Next", 1, Fault::kFail, 0, {}},
        FaultCase{"NextFailsAfterOneDevice", "IEnumMoniker::Next", 2, Fault::kFail, 0, {}},
        FaultCase{
            "NextWritesNothing", "IEnumMoniker::Next", 1, Fault::kSucceedWithoutOutput, 0, {}},
        FaultCase{"BagNotBound", "IMoniker::BindToStorage", 2, Fault::kFail, 1, {2}},
        FaultCase{
            "BagNotWritten", "IMoniker::BindToStorage", 2, Fault::kSucceedWithoutOutput, 1, {2}},
        FaultCase{"ReadFails", "IPropertyBag::Read", 2, Fault::kFail, 1, {2}},
        FaultCase{
            "ReadWritesNothing", "IPropertyBag::Read", 2, Fault::kSucceedWithoutOutput, 1, {2}},
        FaultCase{"NoMemoryForTheName", "SysAllocString", 2, Fault::kFail, 1, {2}},
        FaultCase{"ConversionFails", "WideCharToMultiByte", 2, Fault::kFail, 1, {2}},
        FaultCase{"FilterNotBound", "IMoniker::BindToObject", 1, Fault::kFail, 0, {}},
        FaultCase{
            "FilterNotWritten", "IMoniker::BindToObject", 1, Fault::kSucceedWithoutOutput, 0, {}},
        FaultCase{"NoPropertySet", "IUnknown::QueryInterface", 1, Fault::kFail, 0, {1}},
        FaultCase{"PropertySetNotWritten",
                  "IUnknown::QueryInterface",
                  1,
                  Fault::kSucceedWithoutOutput,
                  0,
                  {1}}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.label; });

class CaptureBindingTest : public MachineTest {};

// COM use begins on every call; the search is not repeated for a target
// that holds its filter.
TEST_F(CaptureBindingTest, BoundTargetIsNotSearchedAgain) {
  sim::AddCaptureSource(Source(L"USB Camera"));
  sim::AddCaptureSource(Source(L"USB Camera"));
  CaptureTarget target = Named("USB Camera");
  ASSERT_EQ(BindCaptureFilter(&target), 1);
  IBaseFilter* const filter = target.filter;
  IKsPropertySet* const propertySet = target.propertySet;

  EXPECT_EQ(BindCaptureFilter(&target), 1);

  EXPECT_EQ(target.filter, filter);
  EXPECT_EQ(target.propertySet, propertySet);
  EXPECT_EQ(sim::CallCount("CoInitialize"), 2);
  EXPECT_EQ(sim::CallCount("CoCreateInstance"), 1);
  EXPECT_EQ(sim::CallCount("IUnknown::QueryInterface"), 1);
  EXPECT_EQ(sim::BoundSources(), std::vector<int>{0});
  EXPECT_EQ(ReleaseCaptureTarget(&target), 1);
  ExpectNothingOpen(1);
}

TEST_F(CaptureBindingTest, FilterWithoutPropertySetIsAskedAgainOnly) {
  sim::AddCaptureSource(Source(L"USB Camera"));
  InjectFault("IUnknown::QueryInterface", 1);
  CaptureTarget target = Named("USB Camera");
  ASSERT_EQ(BindCaptureFilter(&target), 0);
  ASSERT_NE(target.filter, nullptr);

  EXPECT_EQ(BindCaptureFilter(&target), 1);

  EXPECT_NE(target.propertySet, nullptr);
  EXPECT_EQ(sim::CallCount("CoCreateInstance"), 1);
  EXPECT_EQ(sim::BoundSources(), std::vector<int>{0});
  EXPECT_EQ(ReleaseCaptureTarget(&target), 1);
  ExpectNothingOpen(1);
}

// A name that could not be converted leaves nothing to compare: the empty
// name buffer must not pass for a device named "".
TEST_F(CaptureBindingTest, UnconvertedNameNeverMatchesEmpty) {
  sim::AddCaptureSource(Source(L"USB Camera"));
  InjectFault("WideCharToMultiByte", 1);
  CaptureTarget target = Named("");

  EXPECT_EQ(BindCaptureFilter(&target), 0);

  EXPECT_EQ(sim::BoundSources(), std::vector<int>{});
  ExpectOnlyTargetHeldThenReleased(&target, "", 1);
}

TEST_F(CaptureBindingTest, ReleaseOfAnEmptyTargetOnlyEndsComUse) {
  CaptureTarget target = Named("USB Camera");

  EXPECT_EQ(ReleaseCaptureTarget(&target), 1);
  EXPECT_EQ(ReleaseCaptureTarget(&target), 1);

  EXPECT_EQ(sim::CallCount("CoUninitialize"), 2);
  EXPECT_EQ(sim::CallCount("IUnknown::Release"), 0);
  ExpectNothingOpen();
}

TEST_F(CaptureBindingTest, ReleaseEndsComUseAfterTheReferences) {
  sim::AddCaptureSource(Source(L"USB Camera"));
  CaptureTarget target = Named("USB Camera");
  ASSERT_EQ(BindCaptureFilter(&target), 1);
  const size_t before = sim::CallLog().size();

  EXPECT_EQ(ReleaseCaptureTarget(&target), 1);

  const std::vector<std::string> released(sim::CallLog().begin() + before, sim::CallLog().end());
  EXPECT_EQ(released,
            (std::vector<std::string>{"IUnknown::Release", "IUnknown::Release", "CoUninitialize"}));
  ExpectNothingOpen();
}

}  // namespace
