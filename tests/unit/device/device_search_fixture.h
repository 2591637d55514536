// Cameras and other devices on the simulated machine, and a search with
// marker-filled output buffers whose every changed byte a test can check.
#pragma once

#include <string.h>

#include <string>
#include <vector>

#include "device/find_camera_device.h"
#include "device/hardware_id_table.h"
#include "tests/unit/machine_test.h"

namespace device_test {

const char kMarker = '\xA5';
const char kOtherId[] = "USB\\VID_1234&PID_0001";

inline std::vector<BYTE> Ids(const char* id) { return sim::MultiString({id}); }

// Bytes exactly as given, for lists that aren't well formed.
inline std::vector<BYTE> Raw(const std::string& bytes) {
  return std::vector<BYTE>(bytes.begin(), bytes.end());
}

struct Device {
  const char* name;  // last part of the instance ID; the driver-key values name it
  std::vector<BYTE> hardwareIds;
  bool loaded = true;
  bool inImageClass = true;
  bool present = true;
  const char* enumerator = "USB";
  std::vector<BYTE> compatibleIds = {};
  const char* parent = nullptr;  // the name of the device it is a function of
};

inline std::string InstanceId(const char* enumerator, const char* name) {
  return std::string(enumerator) + "\\VID_5E3A&PID_2171\\" + name;
}

inline std::string DriverKey(const char* name) {
  return std::string("System\\CurrentControlSet\\Control\\Class\\") +
         "{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\" + name;
}

// The driver key holds "Product <name>" and "Camera <name>", or, without
// `values`, no value at all.
inline DEVINST Install(const Device& device, bool values = true) {
  sim::DeviceNode node;
  node.instanceId = InstanceId(device.enumerator, device.name);
  node.compatibleIds = device.compatibleIds;
  if (device.parent != nullptr) node.parentInstanceId = InstanceId("USB", device.parent);
  node.hardwareIds = device.hardwareIds;
  node.status = device.loaded ? DN_DRIVER_LOADED | DN_STARTED : 0;
  node.inImageClass = device.inImageClass;
  node.present = device.present;
  node.driverKey = DriverKey(device.name);
  sim::CreateKey(HKEY_LOCAL_MACHINE, node.driverKey);
  if (values) {
    sim::SetStringValue(HKEY_LOCAL_MACHINE, node.driverKey, "ZrProductName",
                        std::string("Product ") + device.name);
    sim::SetStringValue(HKEY_LOCAL_MACHINE, node.driverKey, "DriverDesc",
                        std::string("Camera ") + device.name);
  }
  return sim::AddDevice(node);
}

// Shows a buffer byte for byte, markers as '~', up to the last changed byte.
inline std::string Show(const char* buffer, size_t size) {
  size_t end = size;
  while (end > 0 && buffer[end - 1] == kMarker) --end;
  std::string shown;
  for (size_t i = 0; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(buffer[i]);
    if (buffer[i] == kMarker) {
      shown += '~';
    } else if (c == 0) {
      shown += "\\0";
    } else if (c < 0x20 || c > 0x7e) {
      shown += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown + (end < size ? "~..." : "");
}

// The buffer holds `text` and its NUL, and nothing else was written.
inline ::testing::AssertionResult HoldsExactly(const char* buffer, size_t size,
                                               const std::string& text) {
  std::string expected = text + '\0';
  expected.resize(size, kMarker);
  if (memcmp(buffer, expected.data(), size) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "buffer holds \"" << Show(buffer, size)
                                       << "\", expected \"" << Show(expected.data(), size) << "\"";
}

// No byte of the buffer from `from` on was written.
inline ::testing::AssertionResult UntouchedFrom(const char* buffer, size_t size, size_t from) {
  for (size_t i = from; i < size; ++i) {
    if (buffer[i] != kMarker) {
      return ::testing::AssertionFailure()
             << "byte " << i << " written: \"" << Show(buffer, size) << "\"";
    }
  }
  return ::testing::AssertionSuccess();
}

class DeviceSearchTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    memset(productName, kMarker, sizeof productName);
    memset(description, kMarker, sizeof description);
  }
  void TearDown() override {
    ExpectNothingOpen();
    MachineTest::TearDown();
  }

  int Search() { return FindCameraDevice(query); }

  char productName[MAX_PATH];
  char description[MAX_PATH];
  const char* rows[kHardwareIdRowCount] = {HardwareIdTable[0], HardwareIdTable[1]};
  DeviceQuery query = {rows,        kHardwareIdRowCount, productName, sizeof productName,
                       description, sizeof description};
};

}  // namespace device_test
