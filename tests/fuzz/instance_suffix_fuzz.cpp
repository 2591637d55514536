// The instance suffix over any 260-byte name and any number. Input: the
// number (4 bytes, little-endian), a fill byte, then the name's bytes; a
// name shorter than 260 bytes is filled up with the fill byte, so names
// without any terminator come up as often as short ones. The name lies in
// a heap block of exactly 260 bytes, so a write past it is seen.
#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

#include "capture/instance_suffix.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  const LONG number = static_cast<LONG>(input.Dword());
  const char fill = static_cast<char>(input.Byte());
  std::string original = input.Bytes(MAX_PATH);
  original.resize(MAX_PATH, fill);
  std::unique_ptr<char[]> name(new char[MAX_PATH]);
  memcpy(name.get(), original.data(), MAX_PATH);

  FUZZ_CHECK(AppendInstanceSuffix(name.get(), number) == 1);

  const std::string after(name.get(), MAX_PATH);
  if (static_cast<DWORD>(number) < 2u) {
    FUZZ_CHECK(after == original);
    return 0;
  }
  const size_t length = strnlen(name.get(), MAX_PATH);
  FUZZ_CHECK(length < MAX_PATH);
  const std::string suffix = " #" + std::to_string(number);
  FUZZ_CHECK(length >= suffix.size());
  FUZZ_CHECK(after.compare(length - suffix.size(), suffix.size(), suffix) == 0);
  // What stays of the description: up to the character before its first '#'
  // (a '#' in front cuts nothing), shortened only where the suffix needs room.
  const size_t originalLength = strnlen(original.data(), MAX_PATH - 1);
  const size_t hash = original.find('#');
  size_t kept =
      hash != std::string::npos && hash != 0 && hash < originalLength ? hash - 1 : originalLength;
  if (kept > MAX_PATH - 1 - suffix.size()) kept = MAX_PATH - 1 - suffix.size();
  FUZZ_CHECK(length - suffix.size() == kept);
  FUZZ_CHECK(after.compare(0, kept, original, 0, kept) == 0);
  // Nothing after the new terminator is touched.
  FUZZ_CHECK(
      after.compare(length + 1, std::string::npos, original, length + 1, std::string::npos) == 0);
  return 0;
}
