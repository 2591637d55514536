#include "app/run_configuration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/simulated_camera.h"
#include "tests/unit/machine_test.h"

namespace {

// Position of the first call of an operation in the call log, or -1.
long FirstCall(const std::string& operation) {
  const std::vector<std::string>& log = sim::CallLog();
  auto found = std::find(log.begin(), log.end(), operation);
  return found == log.end() ? -1 : static_cast<long>(found - log.begin());
}

class RunConfigurationTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    sim::CreateKey(HKEY_LOCAL_MACHINE, kRunKeyPath);
    sim::SetTimeZoneBias(300);  // outside both bands: 60 Hz without a country lookup
  }

  // A camera in the Image class with its driver loaded, described as "USB Camera".
  static void AddCamera() { ::AddCamera("USB Camera", true); }

  static void AddSource(const wchar_t* name, bool binds = true) {
    sim::CaptureSource source;
    source.friendlyName = name;
    source.filterBinds = binds;
    sim::AddCaptureSource(source);
  }
};

TEST_F(RunConfigurationTest, TypicalRunWritesThePropertyAndRemovesTheEntry) {
  AddCamera();
  AddSource(L"USB Camera");
  AddSource(L"USB Camera #2");
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, "T7105Cfg.exe /d:2");

  EXPECT_EQ(RunConfiguration("/d:2"), 1);

  EXPECT_FALSE(LogonEntry().present);
  ASSERT_EQ(sim::PropertyWrites().size(), 1u);
  EXPECT_EQ(sim::PropertyWrites()[0].source, 1);
  EXPECT_EQ(sim::PropertyWrites()[0].data[24], 2) << "bias 300 is a 60 Hz region";
  EXPECT_EQ(sim::CallCount("CoInitialize"), 1);
  EXPECT_EQ(sim::CallCount("CoUninitialize"), 1);
  ExpectNothingOpen();
}

TEST_F(RunConfigurationTest, EmptyTailConfiguresTheFirstCameraOfItsName) {
  AddCamera();
  AddSource(L"USB Camera");
  EXPECT_EQ(RunConfiguration(""), 1);
  EXPECT_TRUE(sim::Waits().empty());
  EXPECT_FALSE(LogonEntry().present);
  EXPECT_EQ(sim::PropertyWrites().size(), 1u);
  ExpectNothingOpen();
}

TEST_F(RunConfigurationTest, NegativeDeviceNumberSelectsItsSuffix) {
  AddCamera();
  AddSource(L"USB Camera");
  AddSource(L"USB Camera #-1");
  EXPECT_EQ(RunConfiguration("/d:-1"), 1);
  ASSERT_EQ(sim::PropertyWrites().size(), 1u);
  EXPECT_EQ(sim::PropertyWrites()[0].source, 1);
}

TEST_F(RunConfigurationTest, PatchRegOnlyWritesTheEntry) {
  AddCamera();
  AddSource(L"USB Camera #3");
  EXPECT_EQ(RunConfiguration("/s /first /PATCHREG /D:3"), 0);

  EXPECT_EQ(LogonEntry().data, StoredString("T7105Cfg.exe /d:3"));
  EXPECT_TRUE(sim::Waits().empty());
  EXPECT_EQ(sim::CallCount("SetupDiGetClassDevsA"), 0);
  EXPECT_EQ(sim::CallCount("CoInitialize"), 0);
  EXPECT_TRUE(sim::PropertyWrites().empty());
  ExpectNothingOpen();
}

TEST_F(RunConfigurationTest, EntryIsRemovedBeforeTheCaptureSourceIsTried) {
  AddCamera();
  AddSource(L"USB Camera");
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, "T7105Cfg.exe");
  RunConfiguration("/first");
  ASSERT_NE(FirstCall("RegDeleteValueA"), -1);
  EXPECT_LT(FirstCall("SetupDiGetClassDevsA"), FirstCall("RegDeleteValueA"));
  EXPECT_LT(FirstCall("RegDeleteValueA"), FirstCall("CoInitialize"));
}

struct OutcomeCase {
  const char* tail;
  bool camera;
  bool sourceBinds;
  int exitCode;
  const char* entryAfter;  // null: no entry
};

TEST_F(RunConfigurationTest, EntryAfterTheRunFollowsTheOutcome) {
  const OutcomeCase cases[] = {
      {"/first", false, true, 0, "T7105Cfg.exe"},
      {"/first /d:2", false, true, 0, "T7105Cfg.exe /d:2"},
      {"/d:2 /first", true, false, 0, "T7105Cfg.exe /d:2"},
      {"", false, true, 0, nullptr},
      {"/d:2", true, false, 0, nullptr},
      {"/first /d:2", true, true, 1, nullptr},
      {"/d:2", true, true, 1, nullptr},
      {"/first /hz:50", false, true, 0, "T7105Cfg.exe /hz:50"},
      {"/hz:60 /first /d:2", true, false, 0, "T7105Cfg.exe /d:2 /hz:60"},
      {"/first /hz:55 /d:2", true, false, 0, "T7105Cfg.exe /d:2"},
      {"/first /d:2 /hz:50", true, true, 1, nullptr},
      {"/patchreg /hz:60 /d:2 /HZ:50", true, true, 0, "T7105Cfg.exe /d:2 /hz:50"},
  };
  for (const OutcomeCase& c : cases) {
    SetUp();
    sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, "stale");
    if (c.camera) AddCamera();
    AddSource(L"USB Camera #2", c.sourceBinds);
    EXPECT_EQ(RunConfiguration(c.tail), c.exitCode) << "tail: " << c.tail;
    const sim::StoredValue entry = LogonEntry();
    if (c.entryAfter == nullptr) {
      EXPECT_FALSE(entry.present) << "tail: " << c.tail;
    } else {
      EXPECT_EQ(entry.data, StoredString(c.entryAfter)) << "tail: " << c.tail;
    }
    EXPECT_EQ(sim::CallCount("CoUninitialize"), 1) << "tail: " << c.tail;
    ExpectNothingOpen();
  }
}

TEST_F(RunConfigurationTest, FailedPropertyWriteStillExitsWithOne) {
  AddCamera();
  sim::CaptureSource source;
  source.friendlyName = L"USB Camera";
  source.setResult = E_FAIL;
  sim::AddCaptureSource(source);
  EXPECT_EQ(RunConfiguration("/first"), 1);
  EXPECT_EQ(sim::PropertyWrites().size(), 1u);
  EXPECT_FALSE(LogonEntry().present);
  ExpectNothingOpen();
}

TEST_F(RunConfigurationTest, FailedTokenBufferChangesNothing) {
  AddCamera();
  AddSource(L"USB Camera");
  sim::SetStringValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kLogonEntryName, "T7105Cfg.exe /d:4");
  InjectFault("HeapAlloc", 1);

  EXPECT_EQ(RunConfiguration("/first /patchreg /d:9"), 0);

  EXPECT_EQ(LogonEntry().data, StoredString("T7105Cfg.exe /d:4"));
  EXPECT_EQ(sim::CallCount("RegOpenKeyExA"), 0);
  EXPECT_EQ(sim::CallCount("SetupDiGetClassDevsA"), 0);
  EXPECT_EQ(sim::CallCount("CoInitialize"), 0);
  EXPECT_EQ(sim::CallCount("CoUninitialize"), 1) << "the release runs on every path";
  ExpectNothingOpen();
}

TEST_F(RunConfigurationTest, StartDelayWaitsFiveSecondsBeforeTheSearch) {
  AddCamera();
  AddSource(L"USB Camera");
  EXPECT_EQ(RunConfiguration("/s"), 1);
  EXPECT_EQ(sim::Waits(), std::vector<DWORD>{5000});
  EXPECT_LT(FirstCall("WaitForSingleObject"), FirstCall("SetupDiGetClassDevsA"));
  ExpectNothingOpen();
}

TEST_F(RunConfigurationTest, StartDelayWithoutAnEventStillRuns) {
  AddCamera();
  AddSource(L"USB Camera");
  InjectFault("CreateEventA", 1);
  EXPECT_EQ(RunConfiguration("/s"), 1);
  EXPECT_EQ(sim::CallCount("WaitForSingleObject"), 0) << "waited without an event";
  ExpectNothingOpen();
}

TEST_F(RunConfigurationTest, LongestCommandTailIsReadWhole) {
  std::string tail;
  while (tail.size() < 32000) tail += "/x:0123456789 ";
  tail += "/patchreg /d:7";
  EXPECT_EQ(RunConfiguration(tail.c_str()), 0);
  EXPECT_EQ(LogonEntry().data, StoredString("T7105Cfg.exe /d:7"));
  ExpectNothingOpen();
}

}  // namespace
