#include "app/run_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "region/sixty_hertz_region.h"
#include "tests/unit/machine_test.h"

namespace {

struct SwitchCase {
  const char* tail;
  LONG deviceNumber;
  int startDelay;
  int firstRun;
  int patchReg;
  LONG mainsFrequency;
};

RunOptions Parse(const std::string& tail) {
  RunOptions options = {};
  std::vector<char> tokens(tail.size() + 1, '\x7f');
  ParseCommandTail(&options, tail.c_str(), tokens.data());
  return options;
}

using RunOptionsTest = MachineTest;

TEST_F(RunOptionsTest, AppliesTheSwitchTable) {
  const SwitchCase cases[] = {
      {"", 0, 0, 0, 0, 0},
      {"   ", 0, 0, 0, 0, 0},
      {"/s", 0, 1, 0, 0, 0},
      {"/S /FIRST", 0, 1, 1, 0, 0},
      {"/first /s", 0, 1, 1, 0, 0},
      {"/d:2", 2, 0, 0, 0, 0},
      {"/D:12", 12, 0, 0, 0, 0},
      {"/patchreg", 0, 0, 0, 1, 0},
      {"/PATCHREG /D:3", 3, 0, 0, 1, 0},
      {"/d:3 /patchreg", 3, 0, 0, 1, 0},
      {"/d:abc", 0, 0, 0, 0, 0},
      {"/d:2x", 2, 0, 0, 0, 0},
      {"/d:-1", -1, 0, 0, 0, 0},
      {"/d:+7", 7, 0, 0, 0, 0},
      {"/d:", 0, 0, 0, 0, 0},
      {"/d:2 /d:5", 5, 0, 0, 0, 0},
      {"/d:5 /d:abc", 0, 0, 0, 0, 0},
      {"/d:\t4", 4, 0, 0, 0, 0},
      {"/dd:2", 0, 0, 0, 0, 0},
      {"/d2", 0, 0, 0, 0, 0},
      {"/s\t/first", 0, 0, 0, 0, 0},
      {"/ss", 0, 0, 0, 0, 0},
      {"s", 0, 0, 0, 0, 0},
      {"/first-run", 0, 0, 0, 0, 0},
      {"\"/s\"", 0, 0, 0, 0, 0},
      {"  /s   /d:9  ", 9, 1, 0, 0, 0},
      {"/d:2147483647", 2147483647, 0, 0, 0, 0},
      {"/d:-2147483648", INT32_MIN, 0, 0, 0, 0},
      {"/d:2147483648", 2147483647, 0, 0, 0, 0},
      {"/d:99999999999999999999", 2147483647, 0, 0, 0, 0},
      {"/d:-2147483649", INT32_MIN, 0, 0, 0, 0},
      {"/d:-99999999999999999999", INT32_MIN, 0, 0, 0, 0},
      {"/d:0x10", 0, 0, 0, 0, 0},
      {"/hz:50", 0, 0, 0, 0, 50},
      {"/HZ:60", 0, 0, 0, 0, 60},
      {"/Hz:+60x", 0, 0, 0, 0, 60},
      {"/hz:\t050", 0, 0, 0, 0, 50},
      {"/hz:55", 0, 0, 0, 0, 0},
      {"/hz:", 0, 0, 0, 0, 0},
      {"/hz:4294967346", 0, 0, 0, 0, 0},
      {"/hz:50 /hz:0", 0, 0, 0, 0, 0},
      {"/hz:60 /d:2", 2, 0, 0, 0, 60},
      {"/d:2 /hz:50", 2, 0, 0, 0, 50},
      {"/hz50", 0, 0, 0, 0, 0},
      {"/hzz:50", 0, 0, 0, 0, 0},
      {"/hz:auto", 0, 0, 0, 0, kMainsFrequencyAuto},
      {"/HZ:AUTO", 0, 0, 0, 0, kMainsFrequencyAuto},
      {"/Hz:Auto /d:2", 2, 0, 0, 0, kMainsFrequencyAuto},
      {"/hz:autox", 0, 0, 0, 0, 0},
      {"/hz:auto2", 0, 0, 0, 0, 0},
      {"/hz:aut", 0, 0, 0, 0, 0},
      {"/hz:\tauto", 0, 0, 0, 0, 0},
      {"/hz:auto /hz:60", 0, 0, 0, 0, 60},
      {"/hz:60 /hz:auto", 0, 0, 0, 0, kMainsFrequencyAuto},
      {"/hz:auto /hz:50", 0, 0, 0, 0, 50},
      {"/hz:50 /hz:auto", 0, 0, 0, 0, kMainsFrequencyAuto},
      {"/hz:auto /hz:0", 0, 0, 0, 0, 0},
      {"/hz:0 /hz:auto", 0, 0, 0, 0, kMainsFrequencyAuto},
  };
  for (const SwitchCase& c : cases) {
    const RunOptions options = Parse(c.tail);
    EXPECT_EQ(options.deviceNumber, c.deviceNumber) << "tail: " << c.tail;
    EXPECT_EQ(options.startDelay, c.startDelay) << "tail: " << c.tail;
    EXPECT_EQ(options.firstRun, c.firstRun) << "tail: " << c.tail;
    EXPECT_EQ(options.patchReg, c.patchReg) << "tail: " << c.tail;
    EXPECT_EQ(options.mainsFrequency, c.mainsFrequency) << "tail: " << c.tail;
  }
}

TEST_F(RunOptionsTest, CopiesTheTailIntoExactlyItsBuffer) {
  const std::string tail = "/s /d:4";
  std::vector<char> tokens(tail.size() + 2, '\x7f');
  RunOptions options = {};
  ParseCommandTail(&options, tail.c_str(), tokens.data());
  EXPECT_EQ(std::string(tokens.data(), tail.size() + 1), std::string("/s\0/d:4\0", 8));
  EXPECT_EQ(tokens.back(), '\x7f') << "wrote past the tail's copy";
}

}  // namespace
