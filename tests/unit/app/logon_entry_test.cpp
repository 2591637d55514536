#include "app/logon_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  const char* command;
};

TEST_F(LogonEntryTest, InstallStoresTheCommandWithItsTerminator) {
  const InstallCase cases[] = {
      {0, "T7105Cfg.exe"},
      {1, "T7105Cfg.exe /d:1"},
      {2, "T7105Cfg.exe /d:2"},
      {3, "T7105Cfg.exe /d:3"},
      {-1, "T7105Cfg.exe /d:-1"},
      {2147483647, "T7105Cfg.exe /d:2147483647"},
      {INT32_MIN, "T7105Cfg.exe /d:-2147483648"},
  };
  for (const InstallCase& c : cases) {
    UpdateLogonEntry(c.deviceNumber, 1);
    const sim::StoredValue value = LogonEntry();
    EXPECT_TRUE(value.present) << "device number " << c.deviceNumber;
    EXPECT_EQ(value.type, REG_SZ) << "device number " << c.deviceNumber;
    EXPECT_EQ(value.data, StoredString(c.command)) << "device number " << c.deviceNumber;
    ExpectNothingOpen();
  }
}

TEST_F(LogonEntryTest, DeviceNumberZeroStoresThirteenBytes) {
  UpdateLogonEntry(0, 1);
  EXPECT_EQ(LogonEntry().data.size(), 13u);
}

TEST_F(LogonEntryTest, WritingTwiceKeepsTheLastData) {
  UpdateLogonEntry(4, 1);
  UpdateLogonEntry(0, 1);
  EXPECT_EQ(LogonEntry().data, StoredString("T7105Cfg.exe"));
}

TEST_F(LogonEntryTest, RemoveDeletesTheValueWhateverTheNumber) {
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, "T7105Cfg.exe /d:7");
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, "Other", "other.exe");
  UpdateLogonEntry(7, 0);
  EXPECT_FALSE(LogonEntry().present);
  EXPECT_TRUE(sim::GetValue(HKEY_LOCAL_MACHINE, kRunKeyPath, "Other").present);
  UpdateLogonEntry(7, 0);
  EXPECT_FALSE(LogonEntry().present);
  ExpectNothingOpen();
}

TEST_F(LogonEntryTest, MissingKeyIsNotCreated) {
  sim::ResetMachine();
  UpdateLogonEntry(2, 1);
  EXPECT_FALSE(sim::KeyExists(HKEY_LOCAL_MACHINE, kRunKeyPath));
  EXPECT_EQ(sim::CallCount("RegSetValueExA"), 0);
  ExpectNothingOpen();
}

TEST_F(LogonEntryTest, WithoutWriteAccessNothingChanges) {
  sim::DenyWriteAccess(HKEY_LOCAL_MACHINE, kRunKeyPath);
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, "T7105Cfg.exe /d:5");
  UpdateLogonEntry(2, 1);
  UpdateLogonEntry(2, 0);
  EXPECT_EQ(LogonEntry().data, StoredString("T7105Cfg.exe /d:5"));
  EXPECT_EQ(sim::CallCount("RegSetValueExA") + sim::CallCount("RegDeleteValueA"), 0)
      << "the key was opened without the right to write";
  ExpectNothingOpen();
}

struct FaultCase {
  const char* operation;
  sim::Fault fault;
  int install;
  bool entryChanges;
  int keyCalls;  // writes, deletes and closes made on the key: none on a key not opened
};

TEST_F(LogonEntryTest, PlatformFailuresAreSilentAndLeaveNothingOpen) {
  const FaultCase cases[] = {
      {"RegOpenKeyExA", sim::Fault::kFail, 1, false, 0},
      {"RegOpenKeyExA", sim::Fault::kFail, 0, false, 0},
      {"RegOpenKeyExA", sim::Fault::kSucceedWithoutOutput, 1, false, 0},
      {"RegOpenKeyExA", sim::Fault::kSucceedWithoutOutput, 0, false, 0},
      {"wsprintfA", sim::Fault::kFail, 1, false, 1},
      {"RegSetValueExA", sim::Fault::kFail, 1, false, 2},
      {"RegDeleteValueA", sim::Fault::kFail, 0, false, 2},
      {"RegCloseKey", sim::Fault::kFail, 1, true, 2},
      {"RegCloseKey", sim::Fault::kFail, 0, true, 2},
  };
  for (const FaultCase& c : cases) {
    SetUp();
    sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, "before");
    InjectFault(c.operation, 0, c.fault);
    UpdateLogonEntry(3, c.install);
    const sim::StoredValue value = LogonEntry();
    const bool unchanged = value.present && value.data == StoredString("before");
    const std::string row = std::string(c.operation) + " fault " +
                            std::to_string(static_cast<int>(c.fault)) + " install " +
                            std::to_string(c.install);
    EXPECT_EQ(unchanged, !c.entryChanges) << row;
    EXPECT_EQ(sim::CallCount("RegSetValueExA") + sim::CallCount("RegDeleteValueA") +
                  sim::CallCount("RegCloseKey"),
              c.keyCalls)
        << row;
    ExpectNothingOpen();
  }
}

}  // namespace
