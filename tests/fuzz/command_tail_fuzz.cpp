// A whole command line: the program's name, then whatever switches. The tail
// cut from it must begin where the name and the blanks after it end; it is
// parsed into the run's options and compared with the switch table read
// token by token; then a whole run is made with it on a machine without a
// camera, which must exit 0, hold nothing afterwards and leave the logon
// entry as the switches say.
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/command_tail.h"
#include "app/run_configuration.h"
#include "app/run_options.h"
#include "platform/standin/machine.h"
#include "region/sixty_hertz_region.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/simulated_camera.h"

namespace {

bool IsSkipped(char c) {
  const unsigned char code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

// Where the tail begins: after the name, which ends at the first character
// of code 32 or below, or, when it begins with a double quote, after the
// closing quote or at the end of the line; then past every character of
// code 1 to 32.
size_t TailOffset(const std::string& line) {
  size_t offset = 0;
  if (!line.empty() && line[0] == '"') {
    const size_t closing = line.find('"', 1);
    offset = closing == std::string::npos ? line.size() : closing + 1;
  } else {
    while (offset < line.size() && static_cast<unsigned char>(line[offset]) > 32) ++offset;
  }
  while (offset < line.size() && IsSkipped(line[offset])) ++offset;
  return offset;
}

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Optional white space and sign, then decimal digits up to the first
// non-digit, held to the 32-bit range.
LONG DecimalValue(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (magnitude <= INT32_MAX) magnitude = magnitude * 10 + (text[i] - '0');
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<LONG>(value);
}

RunOptions ExpectedOptions(const std::string& tail) {
  RunOptions expected;
  memset(&expected, 0, sizeof expected);
  size_t start = 0;
  while (start <= tail.size()) {
    size_t end = tail.find(' ', start);
    if (end == std::string::npos) end = tail.size();
    const std::string token = fuzz::FoldAscii(tail.substr(start, end - start));
    if (token == "/s") {
      expected.startDelay = 1;
    } else if (token == "/first") {
      expected.firstRun = 1;
    } else if (token.compare(0, 3, "/d:") == 0) {
      expected.deviceNumber = DecimalValue(token.substr(3));
    } else if (token == "/patchreg") {
      expected.patchReg = 1;
    } else if (token == "/hz:auto") {
      expected.mainsFrequency = kMainsFrequencyAuto;
    } else if (token.compare(0, 4, "/hz:") == 0) {
      const LONG frequency = DecimalValue(token.substr(4));
      expected.mainsFrequency = frequency == 50 || frequency == 60 ? frequency : 0;
    }
    start = end + 1;
  }
  return expected;
}

void CheckParse(const std::string& line, const char* tail) {
  FUZZ_CHECK(tail == line.c_str() + TailOffset(line));
  // Exactly as many bytes as the tail needs, so a write past them is seen.
  const size_t length = strlen(tail);
  std::vector<char> tokens(length + 1, '\x5A');
  RunOptions options;
  memset(&options, 0, sizeof options);
  ParseCommandTail(&options, tail, tokens.data());
  const RunOptions expected = ExpectedOptions(tail);
  FUZZ_CHECK(options.deviceNumber == expected.deviceNumber);
  FUZZ_CHECK(options.startDelay == expected.startDelay);
  FUZZ_CHECK(options.firstRun == expected.firstRun);
  FUZZ_CHECK(options.patchReg == expected.patchReg);
  FUZZ_CHECK(options.mainsFrequency == expected.mainsFrequency);
}

std::vector<BYTE> EntryFor(const RunOptions& options) {
  std::string command = "T7105Cfg.exe";
  if (options.deviceNumber != 0) command += " /d:" + std::to_string(options.deviceNumber);
  if (options.mainsFrequency == kMainsFrequencyAuto) {
    command += " /hz:auto";
  } else if (options.mainsFrequency != 0) {
    command += " /hz:" + std::to_string(options.mainsFrequency);
  }
  std::vector<BYTE> data(command.begin(), command.end());
  data.push_back(0);
  return data;
}

void CheckRun(const char* tail) {
  sim::ResetMachine();
  sim::CreateKey(HKEY_LOCAL_MACHINE, kRunKeyPath);
  const RunOptions expected = ExpectedOptions(tail);
  FUZZ_CHECK(RunConfiguration(tail) == 0);
  const sim::StoredValue entry = LogonEntry();
  if (expected.patchReg) {
    FUZZ_CHECK(entry.present && entry.type == REG_SZ);
    FUZZ_CHECK(entry.data == EntryFor(expected));
  } else if (expected.firstRun) {
    FUZZ_CHECK(entry.present && entry.data == EntryFor(expected));
  } else {
    FUZZ_CHECK(!entry.present);
  }
  const bool waited = expected.startDelay && !expected.patchReg;
  FUZZ_CHECK(sim::Waits() == (waited ? std::vector<DWORD>{5000} : std::vector<DWORD>{}));
  const sim::OpenResources open = sim::Open();
  FUZZ_CHECK(open.registryKeys == 0 && open.deviceLists == 0 && open.heapBlocks == 0);
  FUZZ_CHECK(open.comObjects == 0 && open.bstrs == 0 && open.comInitDepth == 0);
  FUZZ_CHECK(open.handles == 0 && open.libraries == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  const std::string line = input.Until('\0');
  const char* tail = FindCommandTail(line.c_str());
  CheckParse(line, tail);
  CheckRun(tail);
  return 0;
}
