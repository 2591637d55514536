// Each scenario is run once to record every platform call it makes, then
// once more for each recorded call with that call failing, and, where the
// call has outputs, once with it reporting success without writing them.
// Every run must end with the outcome the scenario names for that call,
// holding nothing: no key, list, block, string, COM reference or COM use.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/run_configuration.h"
#include "tests/sweep/sweep_scenarios.h"
#include "tests/unit/machine_test.h"

namespace sweep {

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

namespace {

using sim::Fault;

// Operations whose callers get more than a result back: a handle, a list,
// a buffer's content. "Success without output" is tried for these.
const std::set<std::string> kWithOutputs = {
    "RegOpenKeyExA",
    "RegQueryValueExA",
    "SetupDiGetClassDevsA",  // its list is its output: success without one is an empty list
    "SetupDiEnumDeviceInfo",
    "CM_Get_DevNode_Registry_PropertyA",
    "CM_Get_DevNode_Status",
    "CM_Get_Device_ID_List_SizeA",
    "CM_Get_Device_ID_ListA",
    "CM_Locate_DevNodeA",
    "CM_Open_DevNode_Key",
    "CoCreateInstance",
    "ICreateDevEnum::CreateClassEnumerator",
    "IEnumMoniker::Next",
    "IMoniker::BindToStorage",
    "IMoniker::BindToObject",
    "IPropertyBag::Read",
    "IUnknown::QueryInterface",
    "WideCharToMultiByte",
    "wsprintfA",
    "GetTimeZoneInformation",
    "GetGeoInfoA",
};

// Operations that only answer with their result, or give something up.
const std::set<std::string> kWithoutOutputs = {
    "HeapAlloc",
    "HeapFree",
    "RegSetValueExA",
    "RegDeleteValueA",
    "RegCloseKey",
    "SetupDiDestroyDeviceInfoList",
    "CoInitialize",
    "CoUninitialize",
    "IEnumMoniker::Reset",
    "IUnknown::Release",
    "IKsPropertySet::Set",
    "SysFreeString",
    "CreateEventA",
    "WaitForSingleObject",
    "CloseHandle",
    "LoadLibraryA",
    "GetProcAddress",
    "FreeLibrary",
    "GetUserGeoID",
    "lstrcmpiA",
    "lstrlenA",
};

// Calls that the stand-in's objects make on their own, inside a call of the
// program's: the property bag allocates the name it returns. Its failure is
// that of IPropertyBag::Read, which is swept.
const std::set<std::string> kMadeByThePlatform = {"SysAllocString"};

const char* FaultName(Fault fault) {
  return fault == Fault::kFail ? "failing" : "succeeding without output";
}

bool Covers(Faults faults, Fault fault) {
  return faults == Faults::kBoth || (faults == Faults::kFail) == (fault == Fault::kFail);
}

// An outcome as text, the logon entry byte for byte with its type, so that
// two outcomes are equal when their texts are.
std::string Show(int exitCode, const std::string& entry, int comBegun, int frequencyClass) {
  return "exit " + std::to_string(exitCode) + ", entry " + entry + ", CoInitialize x" +
         std::to_string(comBegun) + ", class " + std::to_string(frequencyClass);
}

std::string Expected(const Outcome& outcome) {
  const std::string entry =
      outcome.entry == nullptr ? "none" : '"' + std::string(outcome.entry) + "\\0\" REG_SZ";
  return Show(outcome.exitCode, entry, outcome.comBegun, outcome.frequencyClass);
}

// What the run left behind. A property write other than one 72-byte block
// sent as both instance and property data shows as class -1.
std::string Observed(int exitCode) {
  const sim::StoredValue stored = LogonEntry();
  std::string entry = "none";
  if (stored.present) {
    entry = "\"";
    for (BYTE b : stored.data) entry += b == 0 ? std::string("\\0") : std::string(1, char(b));
    entry += stored.type == REG_SZ ? "\" REG_SZ" : "\" type " + std::to_string(stored.type);
  }
  const std::vector<sim::PropertyWrite>& writes = sim::PropertyWrites();
  int frequencyClass = 0;
  if (writes.size() == 1 && writes[0].data.size() == 72 && writes[0].instance == writes[0].data) {
    frequencyClass = writes[0].data[24];
  } else if (!writes.empty()) {
    frequencyClass = -1;
  }
  return Show(exitCode, entry, sim::CallCount("CoInitialize"), frequencyClass);
}

class FailureSweep : public MachineTest, public ::testing::WithParamInterface<Scenario> {
 protected:
  // Runs the scenario's command tail on the machine as scripted and checks
  // what the run leaves behind.
  void RunAndCheck(const Scenario& scenario, const std::string& label, const Outcome& expected) {
    const int exitCode = RunConfiguration(scenario.commandTail);
    EXPECT_EQ(Observed(exitCode), Expected(expected)) << label;
    EXPECT_EQ(sim::CallCount("CoUninitialize"), 1) << label;
    SCOPED_TRACE(label);
    ExpectNothingOpen();
  }

  std::vector<std::string> Record(const Scenario& scenario) {
    sim::ResetMachine();
    scenario.scriptMachine();
    RunAndCheck(scenario, "without faults", scenario.outcome);
    return sim::CallLog();
  }
};

TEST_P(FailureSweep, EveryCallMisbehavingEndsAsDefined) {
  const Scenario& scenario = GetParam();
  const std::vector<std::string> calls = Record(scenario);
  ASSERT_FALSE(calls.empty());

  std::map<std::string, int> seenSoFar;
  std::set<std::string> deviationsUsed;
  int swept = 0;
  int runs = 0;
  for (const std::string& operation : calls) {
    if (kMadeByThePlatform.count(operation) != 0) continue;
    const int nth = ++seenSoFar[operation];
    ++swept;
    const bool withOutputs = kWithOutputs.count(operation) != 0;
    ASSERT_TRUE(withOutputs || kWithoutOutputs.count(operation) != 0)
        << operation << " is a new platform call: say whether it has outputs";
    std::vector<Fault> faults = {Fault::kFail};
    if (withOutputs) faults.push_back(Fault::kSucceedWithoutOutput);
    for (Fault fault : faults) {
      std::string label = operation + " call " + std::to_string(nth) + " " + FaultName(fault);
      Outcome expected = scenario.outcome;
      for (const Deviation& deviation : scenario.deviations) {
        if (operation == deviation.operation && nth == deviation.nthCall &&
            Covers(deviation.faults, fault)) {
          expected = deviation.outcome;
          label += std::string(" (") + deviation.why + ")";
          deviationsUsed.insert(operation + "#" + std::to_string(nth) + FaultName(fault));
        }
      }
      sim::ResetMachine();
      scenario.scriptMachine();
      sim::InjectFault(operation, nth, fault);
      RunAndCheck(scenario, label, expected);
      ++runs;
    }
  }

  // Every deviation the scenario names was met: none describes a call that
  // the run no longer makes.
  for (const Deviation& deviation : scenario.deviations) {
    for (Fault fault : {Fault::kFail, Fault::kSucceedWithoutOutput}) {
      if (!Covers(deviation.faults, fault)) continue;
      EXPECT_EQ(deviationsUsed.count(deviation.operation + std::string("#") +
                                     std::to_string(deviation.nthCall) + FaultName(fault)),
                1u)
          << deviation.operation << " call " << deviation.nthCall << " " << FaultName(fault) << " ("
          << deviation.why << ") was never swept";
    }
  }
  std::cout << scenario.name << ": " << swept << " calls of " << seenSoFar.size() << " operations, "
            << runs << " faulted runs\n";
}

INSTANTIATE_TEST_SUITE_P(Runs, FailureSweep, ::testing::ValuesIn(Scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace sweep
