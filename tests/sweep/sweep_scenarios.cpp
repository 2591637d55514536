#include "tests/sweep/sweep_scenarios.h"

#include <string>

namespace sweep {

const char kEarlierEntry[] = "T7105Cfg.exe /d:4";

namespace {

// A device that is not the camera; its only ID is its instance ID's first two parts.
void AddOtherDevice(const std::string& enumerator, const std::string& id, bool inImageClass) {
  sim::DeviceNode node;
  node.instanceId = enumerator + "\\" + id + "\\1";
  node.hardwareIds = sim::MultiString({(enumerator + "\\" + id).c_str()});
  node.inImageClass = inImageClass;
  sim::AddDevice(node);
}

void AddSource(const wchar_t* name, bool binds) {
  sim::CaptureSource source;
  source.friendlyName = name;
  source.filterBinds = binds;
  sim::AddCaptureSource(source);
}

void AddEarlierEntry() {
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, kEarlierEntry);
}

// The camera among other imaging devices, the second of two capture
// sources, the user in a 60 Hz country inside a band.
void CameraAmongOthers() {
  AddEarlierEntry();
  AddOtherDevice("USB", "VID_1234&PID_0001", true);
  AddCamera("USB Camera", true);
  AddOtherDevice("PCI", "VEN_8086&DEV_0001", true);
  AddSource(L"Other", true);
  AddSource(L"USB Camera #2", true);
  sim::SetTimeZoneBias(-540);
  sim::SetUserCountry("KOR");
}

// The first source of the camera's name does not bind; a second one would.
void FirstMatchUnbindable() {
  AddEarlierEntry();
  AddCamera("USB Camera", true);
  AddSource(L"USB Camera", false);
  AddSource(L"USB Camera", true);
  sim::SetTimeZoneBias(300);
}

void CameraAndSource() {
  AddEarlierEntry();
  AddCamera("USB Camera", true);
  AddSource(L"USB Camera #3", true);
}

// The Image class doesn't list the camera; the USB enumerator knows it
// among other devices. A 60 Hz zone outside the bands, a 50 Hz country.
void CameraOnlyUnderUsb() {
  AddEarlierEntry();
  AddOtherDevice("PCI", "VEN_8086&DEV_0001", true);
  AddOtherDevice("USB", "VID_1234&PID_0001", false);
  AddCamera("USB Camera", false);
  AddOtherDevice("USB", "VID_1234&PID_0002", false);
  AddSource(L"USB Camera", true);
  sim::SetTimeZoneBias(300);
  sim::SetUserCountry("USA");
}

// The same machine in Buenos Aires, for a user in Argentina: 50 Hz mains,
// where the rule says 60.
void CameraOnlyUnderUsbInArgentina() {
  CameraOnlyUnderUsb();
  sim::SetTimeZoneBias(180);
  sim::SetUserCountry("ARG");
}

// A camera with a microphone, known only to the USB enumerator: the parent,
// served by the composite driver, matches the table and names no capture
// source; the camera's driver sits on its second function, a child in the
// Camera class, after a microphone function whose driver is not loaded. A
// 60 Hz zone outside the bands.
void CompositeCameraUnderUsb() {
  const char parentKey[] =
      "System\\CurrentControlSet\\Control\\Class\\{36FC9E60-C465-11CF-8056-444553540000}\\0007";
  AddEarlierEntry();
  AddOtherDevice("PCI", "VEN_8086&DEV_0001", true);
  AddOtherDevice("USB", "VID_1234&PID_0001", false);
  sim::DeviceNode parent = CameraNode(false);
  parent.compatibleIds = sim::MultiString({"USB\\DevClass_EF", "USB\\COMPOSITE"});
  parent.driverKey = parentKey;
  sim::AddDevice(parent);
  sim::SetStringValue(HKEY_LOCAL_MACHINE, parentKey, "DriverDesc", "USB Composite Device");
  sim::DeviceNode audio;
  audio.instanceId = "USB\\VID_5E3A&PID_2171&MI_02\\6&1A2B&0&2";
  audio.hardwareIds = sim::MultiString({"USB\\VID_5E3A&PID_2171&MI_02"});
  audio.inImageClass = false;
  audio.status = 0;
  audio.parentInstanceId = parent.instanceId;
  sim::AddDevice(audio);
  sim::DeviceNode camera = CameraNode(false);
  camera.instanceId = "USB\\VID_5E3A&PID_2171&MI_00\\6&1A2B&0&0";
  camera.hardwareIds =
      sim::MultiString({"USB\\VID_5E3A&PID_2171&REV_0100&MI_00", "USB\\VID_5E3A&PID_2171&MI_00"});
  camera.parentInstanceId = parent.instanceId;
  sim::AddDevice(camera);
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kCameraDriverKey, "DriverDesc", "USB Camera");
  AddSource(L"USB Camera", true);
  sim::SetTimeZoneBias(300);
  sim::SetUserCountry("USA");
}

// Outcomes shared by the scenarios.
const Outcome kNothingDone = {0, kEarlierEntry, 0, 0};

// What each misbehaving call makes of a run that finds the camera only
// under the USB enumerator: `configured` when it is not disturbed,
// `notConfigured` when the camera is not found or not bound.
std::vector<Deviation> SecondPassDeviations(const Outcome& configured,
                                            const Outcome& notConfigured) {
  const Outcome entryKept = {1, kEarlierEntry, 1, configured.frequencyClass};
  const Faults kFail = Faults::kFail;
  const Faults kBoth = Faults::kBoth;
  return {
      {"HeapAlloc", 1, kFail, kNothingDone, "no token buffer: the run ends at once"},
      {"SetupDiGetClassDevsA", 1, kFail, notConfigured, "no device list: no search at all"},
      {"CM_Get_Device_ID_List_SizeA", 1, kBoth, notConfigured, "no list size: no second pass"},
      {"HeapAlloc", 2, kFail, notConfigured, "no block for the list: no second pass"},
      {"CM_Get_Device_ID_ListA", 1, kBoth, notConfigured, "no list: no second pass"},
      {"CM_Locate_DevNodeA", 2, kBoth, notConfigured, "the camera's node is not located"},
      {"CM_Get_DevNode_Registry_PropertyA", 3, kBoth, notConfigured, "the camera's IDs unread"},
      {"CM_Open_DevNode_Key", 1, kBoth, notConfigured, "driver key unopened: no description"},
      {"RegQueryValueExA", 2, kBoth, notConfigured, "DriverDesc unread: no description"},
      {"RegOpenKeyExA", 1, kBoth, entryKept, "Run key unopened: the delete is a no-op"},
      {"RegDeleteValueA", 1, kFail, entryKept, "the delete's outcome is not examined"},
      {"CoInitialize", 1, kFail, notConfigured, "no COM: not bound"},
      {"CoCreateInstance", 1, kBoth, notConfigured, "no system device enumerator"},
      {"ICreateDevEnum::CreateClassEnumerator", 1, kBoth, notConfigured, "no class enumerator"},
      {"IEnumMoniker::Next", 1, kBoth, notConfigured, "the search ends before the camera"},
      {"IMoniker::BindToStorage", 1, kBoth, notConfigured, "the camera's name is skipped"},
      {"IPropertyBag::Read", 1, kBoth, notConfigured, "the camera's name is skipped"},
      {"SysAllocString", 1, kFail, notConfigured, "the camera's name is skipped"},
      {"WideCharToMultiByte", 1, kBoth, notConfigured, "the camera's name is skipped"},
      {"IMoniker::BindToObject", 1, kBoth, notConfigured, "the match does not bind"},
      {"IUnknown::QueryInterface", 1, kBoth, notConfigured, "no property set"},
  };
}

std::vector<Scenario> MakeScenarios() {
  const Outcome configured = {1, nullptr, 1, 2};
  const Outcome retryEntered = {0, "T7105Cfg.exe /d:2", 1, 0};
  const Outcome entryKept = {1, kEarlierEntry, 1, 2};
  const Outcome fiftyHertz = {1, nullptr, 1, 1};
  const Outcome notFound = {0, nullptr, 1, 0};
  const Faults kFail = Faults::kFail;
  const Faults kBoth = Faults::kBoth;

  std::vector<Scenario> scenarios;
  scenarios.push_back(
      {"CameraFoundBoundAndWritten",
       CameraAmongOthers,
       "/s /first /d:2",
       1,
       configured,
       true,
       {
           {"HeapAlloc", 1, kFail, kNothingDone, "no token buffer: the run ends at once"},
           {"SetupDiGetClassDevsA", 1, kFail, retryEntered, "no device list: no description"},
           {"CM_Open_DevNode_Key", 1, kBoth, retryEntered, "driver key unopened: no description"},
           {"RegQueryValueExA", 2, kBoth, retryEntered, "DriverDesc unread: no description"},
           {"RegOpenKeyExA", 1, kBoth, entryKept, "Run key unopened: the delete is a no-op"},
           {"RegDeleteValueA", 1, kFail, entryKept, "the delete's outcome is not examined"},
           {"CoInitialize", 1, kFail, retryEntered, "no COM: not bound"},
           {"CoCreateInstance", 1, kBoth, retryEntered, "no system device enumerator"},
           {"ICreateDevEnum::CreateClassEnumerator", 1, kBoth, retryEntered, "no class enumerator"},
           {"IEnumMoniker::Next", 1, kBoth, retryEntered, "the search ends before the camera"},
           {"IEnumMoniker::Next", 2, kBoth, retryEntered, "the search ends at the camera"},
           {"IMoniker::BindToStorage", 2, kBoth, retryEntered, "the camera's name is skipped"},
           {"IPropertyBag::Read", 2, kBoth, retryEntered, "the camera's name is skipped"},
           {"SysAllocString", 2, kFail, retryEntered, "the camera's name is skipped"},
           {"WideCharToMultiByte", 2, kBoth, retryEntered, "the camera's name is skipped"},
           {"IMoniker::BindToObject", 1, kBoth, retryEntered, "the first match does not bind"},
           {"IUnknown::QueryInterface", 1, kBoth, retryEntered, "no property set"},
           {"LoadLibraryA", 1, kFail, fiftyHertz, "no country lookup: 50 Hz"},
           {"GetProcAddress", 1, kFail, fiftyHertz, "no GetGeoInfoA: 50 Hz"},
           {"GetProcAddress", 2, kFail, fiftyHertz, "no GetUserGeoID: 50 Hz"},
           {"GetUserGeoID", 1, kFail, fiftyHertz, "no nation: 50 Hz"},
           {"GetGeoInfoA", 1, kBoth, fiftyHertz, "no country code: 50 Hz"},
       }});
  scenarios.push_back(
      {"FirstMatchFailsToBindUnderFirst",
       FirstMatchUnbindable,
       "/first",
       1,
       {0, "T7105Cfg.exe", 1, 0},
       false,
       {
           {"HeapAlloc", 1, kFail, kNothingDone, "no token buffer: the run ends at once"},
           {"IMoniker::BindToStorage", 1, kBoth, configured, "first source skipped"},
           {"IPropertyBag::Read", 1, kBoth, configured, "first source skipped"},
           {"SysAllocString", 1, kFail, configured, "first source skipped"},
           {"WideCharToMultiByte", 1, kBoth, configured, "first source skipped"},
           {"RegOpenKeyExA", 2, kBoth, notFound, "Run key unopened: the entry stays deleted"},
           {"wsprintfA", 1, kFail, notFound, "no command formed: the entry stays deleted"},
           {"RegSetValueExA", 1, kFail, notFound, "the write's outcome is not examined"},
       }});
  scenarios.push_back({"PatchRegOnlyWritesTheEntry",
                       CameraAndSource,
                       "/patchreg /d:3",
                       0,
                       {0, "T7105Cfg.exe /d:3", 0, 0},
                       false,
                       {
                           {"HeapAlloc", 1, kFail, kNothingDone, "no token buffer"},
                           {"RegOpenKeyExA", 1, kBoth, kNothingDone, "Run key unopened"},
                           {"wsprintfA", 1, kFail, kNothingDone, "no command formed"},
                           {"RegSetValueExA", 1, kFail, kNothingDone, "the write failed"},
                       }});
  std::vector<Deviation> ruleDecides = SecondPassDeviations(configured, notFound);
  ruleDecides.push_back({"GetTimeZoneInformation", 1, kBoth, fiftyHertz,
                         "no bias: 0 lies in a band, where the country decides"});
  scenarios.push_back(
      {"CameraFoundBySecondPass", CameraOnlyUnderUsb, "", 0, configured, true, ruleDecides});
  // Where the rule says 60 Hz, the administrator's /hz:50 is written without
  // asking it; the entry written back under /first carries the switch on.
  const Outcome retryWithFrequency = {0, "T7105Cfg.exe /hz:50", 1, 0};
  scenarios.push_back({"MainsFrequencyGivenOverTheRule", CameraOnlyUnderUsb, "/first /hz:50", 0,
                       fiftyHertz, false, SecondPassDeviations(fiftyHertz, retryWithFrequency)});
  // /hz:auto corrects the rule for the user's country at its own bias; a
  // country that cannot be read leaves the rule's 60 Hz.
  std::vector<Deviation> corrected =
      SecondPassDeviations(fiftyHertz, {0, "T7105Cfg.exe /hz:auto", 1, 0});
  corrected.push_back({"LoadLibraryA", 1, kFail, configured, "no country lookup: the rule"});
  corrected.push_back({"GetProcAddress", 1, kFail, configured, "no GetGeoInfoA: the rule"});
  corrected.push_back({"GetProcAddress", 2, kFail, configured, "no GetUserGeoID: the rule"});
  corrected.push_back({"GetUserGeoID", 1, kFail, configured, "no nation: the rule"});
  corrected.push_back({"GetGeoInfoA", 1, kBoth, configured, "no country code: the rule"});
  scenarios.push_back({"AutoCorrectsTheRule", CameraOnlyUnderUsbInArgentina, "/first /hz:auto", 0,
                       fiftyHertz, true, corrected});
  // Whatever keeps the search from the camera's function leaves the parent's
  // description, or the microphone's driver key, which names nothing.
  std::vector<Deviation> composite = ruleDecides;
  composite.push_back({"CM_Get_Child", 1, kBoth, notFound, "no children: the parent is read"});
  composite.push_back({"CM_Get_DevNode_Registry_PropertyA", 4, kBoth, notFound,
                       "compatible IDs unread: the parent is read"});
  composite.push_back({"CM_Get_DevNode_Registry_PropertyA", 6, kBoth, notFound,
                       "the camera function's IDs unread: the microphone's is read"});
  composite.push_back({"CM_Get_Sibling", 1, kBoth, notFound,
                       "the camera function is not met: the microphone's is read"});
  composite.push_back(
      {"CM_Get_DevNode_Status", 3, kBoth, notFound,
       "the camera function not seen loaded: the first, the microphone's, is read"});
  scenarios.push_back({"CompositeCameraByItsFunction", CompositeCameraUnderUsb, "", 0, configured,
                       true, composite});
  return scenarios;
}

}  // namespace

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> scenarios = MakeScenarios();
  return scenarios;
}

}  // namespace sweep
