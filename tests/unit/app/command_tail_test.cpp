#include "app/command_tail.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TailCase {
  const char* commandLine;
  const char* tail;
};

TEST(CommandTail, SkipsTheProgramNameAndTheBlanksAfterIt) {
  const TailCase cases[] = {
      {"T7105Cfg.exe /d:2", "/d:2"},
      {"T7105Cfg.exe", ""},
      {"", ""},
      {"T7105Cfg.exe    /s /first", "/s /first"},
      {"\"C:\\Program Files\\Cam\\T7105Cfg.exe\" /d:2", "/d:2"},
      {"\"C:\\Program Files\\Cam\\T7105Cfg.exe\"/patchreg", "/patchreg"},
      {"\"unterminated name /d:2", ""},
      {"\"\" /s", "/s"},
      {"prog\t/s", "/s"},
      {"prog\x01\x1f /s", "/s"},
      {"prog \t\r\n /d:3 ", "/d:3 "},
      {"prog\xe9x /s", "/s"},
      {"prog \x80/d:2", "\x80/d:2"},
      {"prog /a\tb \"c d\"", "/a\tb \"c d\""},
  };
  for (const TailCase& c : cases) {
    EXPECT_EQ(std::string(FindCommandTail(c.commandLine)), c.tail)
        << "command line: " << c.commandLine;
  }
}

TEST(CommandTail, PointsIntoTheCommandLine) {
  const char commandLine[] = "prog /s";
  EXPECT_EQ(FindCommandTail(commandLine), commandLine + 5);
}

}  // namespace
