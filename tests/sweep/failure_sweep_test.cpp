// Each scenario is run once to record every platform call it makes, then
// once more for each recorded call of a faultable operation with that call
// failing, and, where the operation has outputs, once with it reporting
// success without writing them. Every run must end with the outcome the
// scenario names for that call, holding nothing: no key, list, block,
// string, COM reference or COM use.
#include <gtest/gtest.h>
#include <stdio.h>

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

// The property that carries the class: the camera driver's vendor set, 15.
const char kVendorPropertySet[] = "{4B1E93D2-6C07-4F5A-9E21-7D38A0C4B615}";
const DWORD kPowerLineProperty = 15;

// The faults that an operation can be given, none for one not faultable.
std::vector<Fault> FaultsOf(const std::string& operation) {
  for (const sim::Operation& known : sim::Operations()) {
    if (operation != known.name) continue;
    if (known.faultable == sim::Faultable::kFailOnly) return {Fault::kFail};
    if (known.faultable == sim::Faultable::kFailOrWithoutOutput) {
      return {Fault::kFail, Fault::kSucceedWithoutOutput};
    }
  }
  return {};
}

const char* FaultName(Fault fault) {
  return fault == Fault::kFail ? "failing" : "succeeding without output";
}

bool Covers(Faults faults, Fault fault) {
  return faults == Faults::kBoth || (faults == Faults::kFail) == (fault == Fault::kFail);
}

std::string GuidText(const GUID& guid) {
  char text[40];
  snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
           static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
           guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6],
           guid.Data4[7]);
  return text;
}

// A property write as text: the class, the capture source that received it,
// the property set and id.
std::string ShowWrite(int frequencyClass, int source, const std::string& set, DWORD id) {
  return "class " + std::to_string(frequencyClass) + " to source " + std::to_string(source) +
         " as " + set + " id " + std::to_string(id);
}

// An outcome as text, the logon entry byte for byte with its type, so that
// two outcomes are equal when their texts are.
std::string Show(int exitCode, const std::string& entry, int comBegun, const std::string& write) {
  return "exit " + std::to_string(exitCode) + ", entry " + entry + ", CoInitialize x" +
         std::to_string(comBegun) + ", " + write;
}

std::string Expected(const Scenario& scenario, const Outcome& outcome) {
  const std::string entry =
      outcome.entry == nullptr ? "none" : '"' + std::string(outcome.entry) + "\\0\" REG_SZ";
  const std::string write = outcome.frequencyClass == 0
                                ? "no write"
                                : ShowWrite(outcome.frequencyClass, scenario.cameraSource,
                                            kVendorPropertySet, kPowerLineProperty);
  return Show(outcome.exitCode, entry, outcome.comBegun, write);
}

// What the run left behind. Anything but one 72-byte block sent as both
// instance and property data shows as a count of writes.
std::string Observed(int exitCode) {
  const sim::StoredValue stored = LogonEntry();
  std::string entry = "none";
  if (stored.present) {
    entry = "\"";
    for (BYTE b : stored.data) entry += b == 0 ? std::string("\\0") : std::string(1, char(b));
    entry += stored.type == REG_SZ ? "\" REG_SZ" : "\" type " + std::to_string(stored.type);
  }
  const std::vector<sim::PropertyWrite>& writes = sim::PropertyWrites();
  std::string write = "no write";
  if (writes.size() == 1 && writes[0].data.size() == 72 && writes[0].instance == writes[0].data) {
    write = ShowWrite(writes[0].data[24], writes[0].source, GuidText(writes[0].set), writes[0].id);
  } else if (!writes.empty()) {
    write = std::to_string(writes.size()) + " writes, not one block as both buffers";
  }
  return Show(exitCode, entry, sim::CallCount("CoInitialize"), write);
}

class FailureSweep : public MachineTest, public ::testing::WithParamInterface<Scenario> {
 protected:
  // Runs the scenario's command tail on the machine as scripted, checks what
  // the run leaves behind and returns it.
  std::string RunAndCheck(const Scenario& scenario, const std::string& label,
                          const Outcome& expected) {
    const std::string observed = Observed(RunConfiguration(scenario.commandTail));
    EXPECT_EQ(observed, Expected(scenario, expected)) << label;
    EXPECT_EQ(sim::CallCount("CoUninitialize"), 1) << label;
    SCOPED_TRACE(label);
    ExpectNothingOpen();
    return observed;
  }
};

TEST_P(FailureSweep, EveryCallMisbehavingEndsAsDefined) {
  const Scenario& scenario = GetParam();
  scenario.scriptMachine();
  const std::string unfaulted = RunAndCheck(scenario, "without faults", scenario.outcome);
  const std::vector<std::string> calls = sim::CallLog();
  ASSERT_FALSE(calls.empty());
  const int regionCalls = RegionCallCount();
  EXPECT_EQ(regionCalls > 0, scenario.regionAsked) << regionCalls << " calls of the region rule";

  std::map<std::string, int> seenSoFar;
  std::set<std::string> deviationsUsed;
  int runs = 0;
  int differed = 0;
  for (const std::string& operation : calls) {
    const int nth = ++seenSoFar[operation];
    for (Fault fault : FaultsOf(operation)) {
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
      InjectFault(operation, nth, fault);
      if (RunAndCheck(scenario, label, expected) != unfaulted) ++differed;
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
  std::cout << scenario.name << ": " << calls.size() << " calls of " << seenSoFar.size()
            << " operations, " << runs << " faulted runs, " << differed
            << " of them ending otherwise than the unfaulted run\n";
}

INSTANTIATE_TEST_SUITE_P(Runs, FailureSweep, ::testing::ValuesIn(Scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace sweep
