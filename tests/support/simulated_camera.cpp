#include "tests/support/simulated_camera.h"

const char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kLogonEntryName[] = "T7105Cfg.exe";
const char kCameraDriverKey[] =
    "System\\CurrentControlSet\\Control\\Class\\{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\0000";

sim::DeviceNode CameraNode(bool inImageClass) {
  sim::DeviceNode node;
  node.instanceId = "USB\\VID_5E3A&PID_2171\\5&1A2B&0&1";
  node.hardwareIds =
      sim::MultiString({"USB\\VID_5E3A&PID_2171&REV_0100", "USB\\VID_5E3A&PID_2171"});
  node.inImageClass = inImageClass;
  node.driverKey = kCameraDriverKey;
  return node;
}

void AddCamera(const char* description, bool inImageClass) {
  sim::AddDevice(CameraNode(inImageClass));
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kCameraDriverKey, "DriverDesc", description);
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kCameraDriverKey, "ZrProductName", "TX7105");
}

sim::StoredValue LogonEntry() {
  return sim::GetValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName);
}

std::vector<BYTE> StoredString(const std::string& text) {
  std::vector<BYTE> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}
