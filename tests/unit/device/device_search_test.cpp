#include <string>
#include <vector>

#include "tests/unit/device/device_search_fixture.h"

namespace device_test {
namespace {

const char* const kRow1 = HardwareIdTable[0];
const char* const kRow2 = HardwareIdTable[1];

struct FaultPlan {
  const char* operation;  // null: no fault
  int nthCall;
  sim::Fault fault;
};
const FaultPlan kNoFault = {nullptr, 0, sim::Fault::kNone};

FaultPlan Fail(const char* operation, int nthCall = 0) {
  return {operation, nthCall, sim::Fault::kFail};
}
FaultPlan Unwritten(const char* operation) {
  return {operation, 0, sim::Fault::kSucceedWithoutOutput};
}

struct SearchCase {
  const char* title;
  std::vector<Device> devices;
  FaultPlan plan;
  int result;
  const char* winner;  // whose values the outputs hold; null: both empty
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.title; }

class DeviceSearch : public DeviceSearchTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(DeviceSearch, TakesTheRightDeviceAndLetsEverythingGo) {
  const SearchCase& c = GetParam();
  for (const Device& device : c.devices) Install(device);
  if (c.plan.operation != nullptr) InjectFault(c.plan.operation, c.plan.nthCall, c.plan.fault);
  EXPECT_EQ(Search(), c.result);
  const std::string name = c.winner == nullptr ? "" : c.winner;
  EXPECT_TRUE(HoldsExactly(productName, sizeof productName, name.empty() ? "" : "Product " + name));
  EXPECT_TRUE(HoldsExactly(description, sizeof description, name.empty() ? "" : "Camera " + name));
}

const Device kOther = {"O", Ids(kOtherId)};
const Device kOtherOutside = {"P", Ids(kOtherId), true, false};

// A camera with a microphone: the parent node, served by the composite
// driver, carries the table's IDs; the camera's driver sits on a function,
// a child in the Camera class, which only the second pass could meet.
const std::vector<BYTE> kCompositeCompatibleIds = sim::MultiString(
    {"USB\\DevClass_EF&SubClass_02&Prot_01", "USB\\DevClass_EF", "USB\\COMPOSITE"});
Device CompositeParent(const char* name) {
  return {name,
          sim::MultiString({"USB\\VID_5E3A&PID_2171&REV_0100", kRow2}),
          true,
          false,
          true,
          "USB",
          kCompositeCompatibleIds};
}
Device Function(const char* name, const char* parent, const char* id, bool loaded = true) {
  return {name, sim::MultiString({id}), loaded, false, true, "USB", {}, parent};
}
const char kCameraFunction[] = "USB\\VID_5E3A&PID_2171&MI_00";
const char kAudioFunction[] = "USB\\VID_5E3A&PID_2171&MI_02";

const SearchCase kSearchCases[] = {
    // Which device wins.
    {"LoadedRow2CameraInImageClass",
     {kOther, {"A", Ids(kRow2)}, {"B", Ids(kRow1)}},
     kNoFault,
     1,
     "A"},
    {"LoadedAfterUnloaded", {{"A", Ids(kRow1), false}, {"B", Ids(kRow2)}}, kNoFault, 1, "B"},
    {"UnloadedBeforeOthers", {{"A", Ids(kRow1), false}, kOther, kOther}, kNoFault, 1, "A"},
    {"LaterOfTwoUnloaded", {{"A", Ids(kRow1), false}, {"B", Ids(kRow2), false}}, kNoFault, 1, "B"},
    {"OnlyTheEnumeratorKnowsIt", {kOther, {"A", Ids(kRow2), false, false}}, kNoFault, 1, "A"},
    {"NodeZeroOutsideImageClass", {{"A", Ids(kRow2), false, false}, kOther}, kNoFault, 1, "A"},
    {"FirstPassMatchRulesOutSecond",
     {{"A", Ids(kRow1), false}, {"B", Ids(kRow1), true, false}},
     kNoFault,
     1,
     "A"},
    {"AbsentThenLoaded",
     {{"A", Ids(kRow1), false, true, false}, {"B", Ids(kRow1)}},
     kNoFault,
     1,
     "B"},
    {"AbsentAlone", {{"A", Ids(kRow1), true, true, false}, kOther}, kNoFault, 1, "A"},
    {"SecondPassFirstLoaded",
     {{"A", Ids(kRow1), false, false},
      {"B", Ids(kRow1), true, false},
      {"C", Ids(kRow2), true, false}},
     kNoFault,
     1,
     "B"},
    {"SecondPassLastUnloaded",
     {{"A", Ids(kRow1), false, false}, {"B", Ids(kRow1), false, false}, kOtherOutside},
     kNoFault,
     1,
     "B"},
    {"SecondPassAbsentDevice", {{"A", Ids(kRow1), false, false, false}}, kNoFault, 1, "A"},
    {"EnumeratorLetterCase", {{"A", Ids(kRow1), false, false, true, "usb"}}, kNoFault, 1, "A"},
    {"OtherEnumeratorNotSearched",
     {{"A", Ids(kRow1), true, false, true, "PCI"}},
     kNoFault,
     0,
     nullptr},
    {"NoMatchAnywhere", {kOther, kOtherOutside}, kNoFault, 0, nullptr},
    {"NoDevices", {}, kNoFault, 0, nullptr},
    {"ListLongerThanWorkBuffer",
     {{"A", sim::MultiString({std::string(250, 'X').c_str(), kRow1})}},
     kNoFault,
     0,
     nullptr},
    {"ShortListWithoutClosingEntry",
     {{"A", Raw(std::string("Q\0\0\0", 4) + kRow1 + std::string(2, '\0'))},
      {"B", Raw(std::string("ZZZ\0", 4))}},
     kNoFault,
     0,
     nullptr},
    {"LongListPassedOver",
     {{"A", sim::MultiString({kRow1, std::string(250, 'X').c_str()})}, {"B", Ids(kRow1), false}},
     kNoFault,
     1,
     "B"},

    // A composite camera is read from its function, and only from one whose
    // IDs carry the row the parent matched.
    {"CompositeReadFromItsFunction",
     {kOther, CompositeParent("P"), Function("A", "P", kAudioFunction, false),
      Function("F", "P", kCameraFunction)},
     kNoFault,
     1,
     "F"},
    {"CompositeFunctionsNoneLoaded",
     {CompositeParent("P"), Function("F", "P", "USB\\VID_5E3A&PID_2171&MI_00,X", false),
      Function("G", "P", kCameraFunction, false)},
     kNoFault,
     1,
     "F"},
    {"CompositeChildOfAnotherProduct",
     {CompositeParent("P"), Function("F", "P", "USB\\VID_1234&PID_0001&MI_00")},
     kNoFault,
     1,
     "P"},
    {"CompositeChildOfTheOtherRow",
     {CompositeParent("P"), Function("F", "P", "USB\\VID_5E3A&PID_2170&MI_00")},
     kNoFault,
     1,
     "P"},
    {"CompositeTagWithoutInterface",
     {CompositeParent("P"), Function("F", "P", "USB\\VID_5E3A&PID_2171&MI_")},
     kNoFault,
     1,
     "P"},
    {"CompositeWithoutChildren", {CompositeParent("P")}, kNoFault, 1, "P"},
    {"ChildrenOfANodeNotComposite",
     {{"N", Ids(kRow2), true, false}, Function("F", "N", kCameraFunction)},
     kNoFault,
     1,
     "N"},

    // The platform fails.
    {"NoImageClassList", {{"A", Ids(kRow1)}}, Fail("SetupDiGetClassDevsA"), 0, nullptr},
    {"ImageClassEntryFailureEndsPass",
     {{"A", Ids(kRow1), false}, {"B", Ids(kRow1), false}},
     Fail("SetupDiEnumDeviceInfo", 2),
     1,
     "A"},
    {"HardwareIdsUnreadable",
     {{"A", Ids(kRow1)}, {"B", Ids(kRow1), false}},
     Fail("CM_Get_DevNode_Registry_PropertyA", 1),
     1,
     "B"},
    {"NoHardwareIds", {{"A", {}}, {"B", Ids(kRow1), false}}, kNoFault, 1, "B"},
    {"StatusUnreadableCountsAsNotLoaded",
     {{"A", Ids(kRow1)}, {"B", Ids(kRow1), false}},
     Fail("CM_Get_DevNode_Status", 1),
     1,
     "B"},
    {"StatusUnreadableMatchStands", {{"A", Ids(kRow1)}}, Fail("CM_Get_DevNode_Status"), 1, "A"},
    {"SizeQueryFails",
     {{"A", Ids(kRow1), true, false}},
     Fail("CM_Get_Device_ID_List_SizeA"),
     0,
     nullptr},
    {"AllocationFails", {{"A", Ids(kRow1), true, false}}, Fail("HeapAlloc"), 0, nullptr},
    {"ListFetchFails",
     {{"A", Ids(kRow1), true, false}},
     Fail("CM_Get_Device_ID_ListA"),
     0,
     nullptr},
    {"InstanceNotLocated",
     {{"A", Ids(kRow1), false, false}, {"B", Ids(kRow1), false, false}},
     Fail("CM_Locate_DevNodeA", 2),
     1,
     "A"},
    {"DriverKeyDoesNotOpen", {{"A", Ids(kRow1)}}, Fail("CM_Open_DevNode_Key"), 1, nullptr},
    {"ValueReadsFail", {{"A", Ids(kRow1)}}, Fail("RegQueryValueExA"), 1, nullptr},

    // The platform reports success and writes nothing.
    {"ImageClassListEmpty",
     {{"A", Ids(kRow1), false}, {"B", Ids(kRow1), false, false}},
     Unwritten("SetupDiGetClassDevsA"),
     1,
     "B"},
    {"ImageClassEntryUnwritten",
     {{"A", Ids(kRow1), false}, {"B", Ids(kRow1), false, false}},
     Unwritten("SetupDiEnumDeviceInfo"),
     1,
     "B"},
    {"HardwareIdsUnwritten",
     {{"A", Ids(kRow1)}, {"B", Ids(kRow1), true, false}},
     Unwritten("CM_Get_DevNode_Registry_PropertyA"),
     0,
     nullptr},
    {"StatusUnwritten",
     {{"A", Ids(kRow1)}, {"B", Ids(kRow1)}},
     Unwritten("CM_Get_DevNode_Status"),
     1,
     "B"},
    {"SizeUnwritten",
     {{"A", Ids(kRow1), true, false}},
     Unwritten("CM_Get_Device_ID_List_SizeA"),
     0,
     nullptr},
    {"ListUnwritten",
     {{"A", Ids(kRow1), true, false}},
     Unwritten("CM_Get_Device_ID_ListA"),
     0,
     nullptr},
    {"NodeUnwrittenIsNodeZero",
     {kOtherOutside, {"A", Ids(kRow1), true, false}},
     Unwritten("CM_Locate_DevNodeA"),
     0,
     nullptr},
    {"KeyUnwritten", {{"A", Ids(kRow1)}}, Unwritten("CM_Open_DevNode_Key"), 1, nullptr},
    {"ValuesUnwritten", {{"A", Ids(kRow1)}}, Unwritten("RegQueryValueExA"), 1, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Cases, DeviceSearch, ::testing::ValuesIn(kSearchCases),
                         [](const ::testing::TestParamInfo<SearchCase>& info) {
                           return std::string(info.param.title);
                         });

TEST_F(DeviceSearchTest, DevicesAfterALoadedMatchAreNotRead) {
  for (const char* name : {"A", "B", "C"}) Install({name, Ids(kRow1)});
  Install({"D", Ids(kRow1), true, false});
  EXPECT_EQ(Search(), 1);
  EXPECT_TRUE(HoldsExactly(description, sizeof description, "Camera A"));
  EXPECT_EQ(sim::CallCount("SetupDiEnumDeviceInfo"), 1);
  EXPECT_EQ(sim::CallCount("CM_Get_DevNode_Registry_PropertyA"), 1);
  EXPECT_EQ(sim::CallCount("CM_Get_Device_ID_List_SizeA"), 0);
  EXPECT_EQ(sim::CallCount("HeapAlloc"), 0);
}

TEST_F(DeviceSearchTest, SecondPassStopsAtALoadedMatchWithOneBlock) {
  Install({"A", Ids(kRow1), false, false});
  Install({"B", Ids(kRow2), true, false});
  Install({"C", Ids(kRow2), true, false});
  EXPECT_EQ(Search(), 1);
  EXPECT_TRUE(HoldsExactly(description, sizeof description, "Camera B"));
  EXPECT_EQ(sim::CallCount("CM_Locate_DevNodeA"), 2);
  EXPECT_EQ(sim::CallCount("HeapAlloc"), 1);
  EXPECT_EQ(sim::CallCount("HeapFree"), 1);
}

// The block goes first, then the key, then the Image-class list.
TEST_F(DeviceSearchTest, LetsGoInReverseOrder) {
  Install({"A", Ids(kRow1), true, false});
  EXPECT_EQ(Search(), 1);
  std::vector<std::string> releases;
  for (const std::string& call : sim::CallLog()) {
    if (call == "HeapFree" || call == "RegCloseKey" || call == "SetupDiDestroyDeviceInfoList") {
      releases.push_back(call);
    }
  }
  EXPECT_EQ(releases,
            (std::vector<std::string>{"HeapFree", "RegCloseKey", "SetupDiDestroyDeviceInfoList"}));
}

struct IdBlockCase {
  const char* title;
  std::string block;
  int located;
};

// Whatever the block holds, only IDs terminated within it are located.
TEST_F(DeviceSearchTest, InstanceIdBlockIsWalkedWithinItsSize) {
  const IdBlockCase cases[] = {
      {"closed", std::string("USB\\A\0USB\\B\0\0", 13), 2},
      {"no closing entry", std::string("USB\\A\0USB\\B\0", 12), 2},
      {"last ID cut off", std::string("USB\\A\0USB\\B", 11), 1},
      {"one cut-off ID", "USB\\A", 0},
      {"empty", std::string(1, '\0'), 0},
  };
  for (const IdBlockCase& c : cases) {
    sim::ResetMachine();
    Install({"A", Ids(kOtherId), true, false});
    sim::SetDeviceIdList(std::vector<BYTE>(c.block.begin(), c.block.end()));
    EXPECT_EQ(Search(), 0) << c.title;
    EXPECT_EQ(sim::CallCount("CM_Locate_DevNodeA"), c.located) << c.title;
    ExpectNothingOpen();
  }
}

struct EnumeratorCase {
  const char* title;
  std::vector<const char*> rows;
  const char* enumerator;
  const char* hardwareId;
  int result;
};

// A first row without a backslash that would not fit the work buffer.
const std::string kLongRow(MAX_PATH + 40, 'E');
const std::string kLongRowCut(MAX_PATH - 1, 'E');

// The enumerator comes from the first row alone, leading backslashes skipped;
// one too long for the work buffer is cut to fit it.
TEST_F(DeviceSearchTest, EnumeratorIsTheFirstRowsFirstPart) {
  const EnumeratorCase cases[] = {
      {"cut to the work buffer",
       {kLongRow.c_str(), "USB\\CAM"},
       kLongRowCut.c_str(),
       "USB\\CAM",
       1},
      {"leading backslashes", {"\\\\ROOT\\CAM"}, "ROOT", "\\\\ROOT\\CAM", 1},
      {"no backslash", {"CAMERA"}, "CAMERA", "CAMERA", 1},
      {"second row's enumerator", {"USB\\CAM", "PCI\\CAM"}, "PCI", "PCI\\CAM", 0},
      {"second row under first's", {"USB\\CAM", "PCI\\CAM"}, "USB", "PCI\\CAM", 1},
  };
  for (const EnumeratorCase& c : cases) {
    sim::ResetMachine();
    Install({"A", Ids(c.hardwareId), false, false, true, c.enumerator});
    DeviceQuery custom = query;
    custom.hardwareIds = c.rows.data();
    custom.hardwareIdCount = static_cast<DWORD>(c.rows.size());
    EXPECT_EQ(FindCameraDevice(custom), c.result) << c.title;
    ExpectNothingOpen();
  }
}

TEST_F(DeviceSearchTest, EmptyTableMatchesNothing) {
  Install({"A", Ids(kRow1)});
  Install({"B", Ids(kRow1), true, false});
  query.hardwareIds = nullptr;
  query.hardwareIdCount = 0;
  EXPECT_EQ(Search(), 0);
  EXPECT_TRUE(HoldsExactly(productName, sizeof productName, ""));
  EXPECT_TRUE(HoldsExactly(description, sizeof description, ""));
}

// A key handle that the platform left unwritten is neither read nor closed.
TEST_F(DeviceSearchTest, UnwrittenKeyIsNotUsed) {
  Install({"A", Ids(kRow1)});
  InjectFault("CM_Open_DevNode_Key", 0, sim::Fault::kSucceedWithoutOutput);
  EXPECT_EQ(Search(), 1);
  EXPECT_EQ(sim::CallCount("RegQueryValueExA"), 0);
  EXPECT_EQ(sim::CallCount("RegCloseKey"), 0);
}

TEST_F(DeviceSearchTest, WritesNothingToRegistryOrDevices) {
  Install({"A", Ids(kRow1)});
  EXPECT_EQ(Search(), 1);
  for (const std::string& call : sim::CallLog()) {
    EXPECT_TRUE(call != "RegSetValueExA" && call != "RegDeleteValueA") << call;
  }
}

}  // namespace
}  // namespace device_test
