#include "app/logon_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "region/sixty_hertz_region.h"
#include "tests/support/simulated_camera.h"
#include "tests/unit/machine_test.h"

namespace {

class LogonEntryTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    sim::CreateKey(HKEY_LOCAL_MACHINE, kRunKeyPath);
  }
};

struct InstallCase {
  LONG deviceNumber;
  LONG mainsFrequency;
  const char* command;
  size_t storedBytes;  // the text and its terminator
};

TEST_F(LogonEntryTest, InstallStoresTheCommandWithItsTerminator) {
  const InstallCase cases[] = {
      {0, 0, "T7105Cfg.exe", 13},
      {1, 0, "T7105Cfg.exe /d:1", 18},
      {2, 0, "T7105Cfg.exe /d:2", 18},
      {3, 0, "T7105Cfg.exe /d:3", 18},
      {-1, 0, "T7105Cfg.exe /d:-1", 19},
      {2147483647, 0, "T7105Cfg.exe /d:2147483647", 27},
      {INT32_MIN, 0, "T7105Cfg.exe /d:-2147483648", 28},
      {0, 50, "T7105Cfg.exe /hz:50", 20},
      {0, 60, "T7105Cfg.exe /hz:60", 20},
      {2, 60, "T7105Cfg.exe /d:2 /hz:60", 25},
      {INT32_MIN, 50, "T7105Cfg.exe /d:-2147483648 /hz:50", 35},
      {2, kMainsFrequencyAuto, "T7105Cfg.exe /d:2 /hz:auto", 27},
      {0, kMainsFrequencyAuto, "T7105Cfg.exe /hz:auto", 22},
  };
  for (const InstallCase& c : cases) {
    const std::string row = "device number " + std::to_string(c.deviceNumber) + ", mains " +
                            std::to_string(c.mainsFrequency);
    UpdateLogonEntry(c.deviceNumber, c.mainsFrequency, 1);
    const sim::StoredValue value = LogonEntry();
    EXPECT_TRUE(value.present) << row;
    EXPECT_EQ(value.type, REG_SZ) << row;
    EXPECT_EQ(value.data, StoredString(c.command)) << row;
    EXPECT_EQ(value.data.size(), c.storedBytes) << row;
    ExpectNothingOpen();
  }
}

TEST_F(LogonEntryTest, WritingTwiceKeepsTheLastData) {
  UpdateLogonEntry(4, 60, 1);
  UpdateLogonEntry(0, 0, 1);
  EXPECT_EQ(LogonEntry().data, StoredString("T7105Cfg.exe"));
}

TEST_F(LogonEntryTest, RemoveDeletesTheValueWhateverTheNumber) {
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, "T7105Cfg.exe /d:7");
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, "Other", "other.exe");
  UpdateLogonEntry(7, 50, 0);
  EXPECT_FALSE(LogonEntry().present);
  EXPECT_TRUE(sim::GetValue(HKEY_LOCAL_MACHINE, kRunKeyPath, "Other").present);
  UpdateLogonEntry(7, 50, 0);
  EXPECT_FALSE(LogonEntry().present);
  ExpectNothingOpen();
}

TEST_F(LogonEntryTest, MissingKeyIsNotCreated) {
  sim::ResetMachine();
  UpdateLogonEntry(2, 0, 1);
  EXPECT_FALSE(sim::KeyExists(HKEY_LOCAL_MACHINE, kRunKeyPath));
  EXPECT_EQ(sim::CallCount("RegSetValueExA"), 0);
  ExpectNothingOpen();
}

TEST_F(LogonEntryTest, WithoutWriteAccessNothingChanges) {
  sim::DenyWriteAccess(HKEY_LOCAL_MACHINE, kRunKeyPath);
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, "T7105Cfg.exe /d:5");
  UpdateLogonEntry(2, 0, 1);
  UpdateLogonEntry(2, 0, 0);
  EXPECT_EQ(LogonEntry().data, StoredString("T7105Cfg.exe /d:5"));
  EXPECT_EQ(sim::CallCount("RegSetValueExA") + sim::CallCount("RegDeleteValueA"), 0)
      << "the key was opened without the right to write";
  ExpectNothingOpen();
}

struct FaultCase {
  const char* operation;
  int nthCall;
  sim::Fault fault;
  int install;
  LONG mainsFrequency;
  bool entryChanges;
  int keyCalls;  // writes, deletes and closes made on the key: none on a key not opened
};

TEST_F(LogonEntryTest, PlatformFailuresAreSilentAndLeaveNothingOpen) {
  const FaultCase cases[] = {
      {"RegOpenKeyExA", 0, sim::Fault::kFail, 1, 0, false, 0},
      {"RegOpenKeyExA", 0, sim::Fault::kFail, 0, 0, false, 0},
      {"RegOpenKeyExA", 0, sim::Fault::kSucceedWithoutOutput, 1, 0, false, 0},
      {"RegOpenKeyExA", 0, sim::Fault::kSucceedWithoutOutput, 0, 0, false, 0},
      {"wsprintfA", 0, sim::Fault::kFail, 1, 0, false, 1},
      {"wsprintfA", 1, sim::Fault::kFail, 1, 50, false, 1},
      {"wsprintfA", 2, sim::Fault::kFail, 1, 50, false, 1},
      {"RegSetValueExA", 0, sim::Fault::kFail, 1, 0, false, 2},
      {"RegDeleteValueA", 0, sim::Fault::kFail, 0, 0, false, 2},
      {"RegCloseKey", 0, sim::Fault::kFail, 1, 0, true, 2},
      {"RegCloseKey", 0, sim::Fault::kFail, 0, 0, true, 2},
  };
  for (const FaultCase& c : cases) {
    SetUp();
    sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, "before");
    InjectFault(c.operation, c.nthCall, c.fault);
    UpdateLogonEntry(3, c.mainsFrequency, c.install);
    const sim::StoredValue value = LogonEntry();
    const bool unchanged = value.present && value.data == StoredString("before");
    const std::string row = std::string(c.operation) + " call " + std::to_string(c.nthCall) +
                            " fault " + std::to_string(static_cast<int>(c.fault)) + " install " +
                            std::to_string(c.install) + " mains " +
                            std::to_string(c.mainsFrequency);
    EXPECT_EQ(unchanged, !c.entryChanges) << row;
    EXPECT_EQ(sim::CallCount("RegSetValueExA") + sim::CallCount("RegDeleteValueA") +
                  sim::CallCount("RegCloseKey"),
              c.keyCalls)
        << row;
    ExpectNothingOpen();
  }
}

}  // namespace
