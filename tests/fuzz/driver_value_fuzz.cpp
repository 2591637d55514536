// The driver-key value reads over any stored data, type and length, through
// the whole device search on a machine with one camera. Input: a flags byte
// (bit 0: no "ZrProductName" stored, bit 1: no "DriverDesc" stored, bit 2:
// null product-name output, bit 3: null description output), a type byte
// for each value (0: REG_SZ, 1: REG_EXPAND_SZ, 2: REG_MULTI_SZ, 3: REG_BINARY,
// anything else: that number), each output's size (2 bytes each, taken
// modulo 600), the product name's length (2 bytes), its bytes, and the
// description's bytes to the end. Each output lies in a heap block of
// exactly its size, so a write past it is seen. Afterwards each output holds
// the whole value, terminated within its size, or the empty string.
#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "device/find_camera_device.h"
#include "device/hardware_id_table.h"
#include "platform/standin/machine.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/simulated_camera.h"

namespace {

const char kMarker = '\xA5';

DWORD TypeFor(uint8_t selector) {
  switch (selector) {
    case 0:
      return REG_SZ;
    case 1:
      return REG_EXPAND_SZ;
    case 2:
      return REG_MULTI_SZ;
    case 3:
      return REG_BINARY;
    default:
      return selector;
  }
}

struct Value {
  bool stored;
  DWORD type;
  std::string data;
};

// Text that fits with its terminator: data that ends in NUL, or that leaves
// room for one; the text is then the data up to its first NUL.
std::string ExpectedText(const Value& value, DWORD size) {
  const bool fits = value.data.size() < size ||
                    (value.data.size() == size && !value.data.empty() && value.data.back() == '\0');
  if (!value.stored || value.type != REG_SZ || !fits) return std::string();
  return value.data.substr(0, value.data.find('\0'));
}

void Store(const char* name, const Value& value) {
  if (value.stored) {
    sim::SetValue(HKEY_LOCAL_MACHINE, kCameraDriverKey, name, value.type,
                  std::vector<BYTE>(value.data.begin(), value.data.end()));
  }
}

// A heap block of exactly `size` bytes (one byte for 0, never offered),
// marked throughout.
std::unique_ptr<char[]> Output(DWORD size) {
  std::unique_ptr<char[]> block(new char[size == 0 ? 1 : size]);
  memset(block.get(), kMarker, size == 0 ? 1 : size);
  return block;
}

void CheckOutput(const char* output, DWORD size, const Value& value) {
  if (output == nullptr) return;
  if (size == 0) {
    FUZZ_CHECK(output[0] == kMarker);
    return;
  }
  const size_t length = strnlen(output, size);
  FUZZ_CHECK(length < size);
  FUZZ_CHECK(std::string(output, length) == ExpectedText(value, size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  const uint8_t flags = input.Byte();
  Value product = {(flags & 1) == 0, TypeFor(input.Byte()), std::string()};
  Value description = {(flags & 2) == 0, TypeFor(input.Byte()), std::string()};
  const DWORD productSize = input.Word() % 600u;
  const DWORD descriptionSize = input.Word() % 600u;
  product.data = input.Bytes(input.Word());
  description.data = input.Rest();

  sim::ResetMachine();
  sim::DeviceNode camera;
  camera.instanceId = "USB\\VID_5E3A&PID_2171\\1";
  camera.hardwareIds = sim::MultiString({HardwareIdTable[1]});
  camera.driverKey = kCameraDriverKey;
  sim::AddDevice(camera);
  sim::CreateKey(HKEY_LOCAL_MACHINE, kCameraDriverKey);
  Store("ZrProductName", product);
  Store("DriverDesc", description);

  std::unique_ptr<char[]> productName = Output(productSize);
  std::unique_ptr<char[]> descriptionText = Output(descriptionSize);
  const char* rows[kHardwareIdRowCount] = {HardwareIdTable[0], HardwareIdTable[1]};
  DeviceQuery query;
  query.hardwareIds = rows;
  query.hardwareIdCount = kHardwareIdRowCount;
  query.productName = (flags & 4) != 0 ? nullptr : productName.get();
  query.productNameSize = productSize;
  query.description = (flags & 8) != 0 ? nullptr : descriptionText.get();
  query.descriptionSize = descriptionSize;

  FUZZ_CHECK(FindCameraDevice(query) == 1);

  CheckOutput(query.productName, productSize, product);
  CheckOutput(query.description, descriptionSize, description);
  const sim::OpenResources open = sim::Open();
  FUZZ_CHECK(open.registryKeys == 0 && open.deviceLists == 0 && open.heapBlocks == 0);
  return 0;
}
