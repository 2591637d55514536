// Whole runs with any number of platform calls misbehaving at once, where the
// failure sweep makes one at a time. Input: a byte that picks one of the
// sweep's scenarios, then any number of three-byte faults: the operation (an
// index into the stand-in's faultable operations, in their order), which of
// its calls (0: every one), and the misbehaviour (low bit: failing, or
// succeeding without output where the operation has outputs). Whatever
// the faults, the run must end holding nothing, with COM use balanced, an
// exit code of 0 or 1, a property write to the camera's source exactly when
// it exits with 1, and a logon entry that is absent, the earlier one, or the
// one its switches write.
#include <stdint.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "app/run_configuration.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/sweep/sweep_scenarios.h"

namespace {

// The operations that a fault can make misbehave.
const std::vector<sim::Operation>& FaultableOperations() {
  static const std::vector<sim::Operation> faultable = [] {
    std::vector<sim::Operation> operations;
    for (const sim::Operation& operation : sim::Operations()) {
      if (operation.faultable != sim::Faultable::kNotFaultable) operations.push_back(operation);
    }
    return operations;
  }();
  return faultable;
}

// The entry that the scenario's switches write, when they write one.
std::string WrittenEntry(const sweep::Scenario& scenario) {
  const std::string tail = scenario.commandTail;
  if (tail.find("/first") == std::string::npos && tail.find("/patchreg") == std::string::npos) {
    return std::string();
  }
  const size_t number = tail.find("/d:");
  const long deviceNumber =
      number == std::string::npos ? 0 : strtol(&tail[number + 3], nullptr, 10);
  const size_t frequency = tail.find("/hz:");
  const std::string hertz =
      frequency == std::string::npos
          ? std::string()
          : tail.substr(frequency + 4, tail.find(' ', frequency) - frequency - 4);
  return "T7105Cfg.exe" +
         (deviceNumber == 0 ? std::string() : " /d:" + std::to_string(deviceNumber)) +
         (hertz.empty() || hertz == "0" ? std::string() : " /hz:" + hertz);
}

// The text of an entry that is present, which is never empty.
std::string EntryText(const sim::StoredValue& entry) {
  FUZZ_CHECK(entry.type == REG_SZ && entry.data.size() > 1 && entry.data.back() == 0);
  return std::string(entry.data.begin(), entry.data.end() - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  const std::vector<sweep::Scenario>& scenarios = sweep::Scenarios();
  const sweep::Scenario& scenario = scenarios[input.Byte() % scenarios.size()];
  sim::ResetMachine();
  scenario.scriptMachine();
  const std::vector<sim::Operation>& operations = FaultableOperations();
  for (size_t fault = 0; fault < size / 3; ++fault) {
    const sim::Operation& operation = operations[input.Byte() % operations.size()];
    const int nthCall = input.Byte() % 16;
    const bool withoutOutput =
        (input.Byte() & 1) != 0 && operation.faultable == sim::Faultable::kFailOrWithoutOutput;
    FUZZ_CHECK(
        sim::InjectFault(operation.name, nthCall,
                         withoutOutput ? sim::Fault::kSucceedWithoutOutput : sim::Fault::kFail,
                         sim::Firing::kMayNotFire)
            .empty());
  }

  const int exitCode = RunConfiguration(scenario.commandTail);

  FUZZ_CHECK(exitCode == 0 || exitCode == 1);
  const std::vector<sim::PropertyWrite>& writes = sim::PropertyWrites();
  FUZZ_CHECK(writes.size() == static_cast<size_t>(exitCode));
  for (const sim::PropertyWrite& write : writes) {
    FUZZ_CHECK(write.source == scenario.cameraSource && write.id == 15);
    FUZZ_CHECK(write.instance.size() == 72 && write.instance == write.data);
    FUZZ_CHECK(write.data[24] == 1 || write.data[24] == 2);
  }
  const sim::StoredValue stored = LogonEntry();
  if (stored.present) {
    const std::string entry = EntryText(stored);
    FUZZ_CHECK(entry == sweep::kEarlierEntry || (exitCode == 0 && entry == WrittenEntry(scenario)));
  }
  FUZZ_CHECK(sim::CallCount("CoInitialize") <= 1 && sim::CallCount("CoUninitialize") == 1);
  const sim::OpenResources open = sim::Open();
  FUZZ_CHECK(open.registryKeys == 0 && open.deviceLists == 0 && open.heapBlocks == 0);
  FUZZ_CHECK(open.comObjects == 0 && open.bstrs == 0 && open.comInitDepth == 0);
  FUZZ_CHECK(open.handles == 0 && open.libraries == 0);
  return 0;
}
