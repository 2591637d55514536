#include "machine.h"

#include <stdio.h>
#include <stdlib.h>

#include "state.h"

namespace sim {
namespace detail {

Machine& TheMachine() {
  static Machine machine;
  return machine;
}

std::string FoldCase(const std::string& text) {
  std::string folded = text;
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

namespace {

const Operation* FindOperation(const std::string& name) {
  for (const Operation& operation : Operations()) {
    if (name == operation.name) return &operation;
  }
  return nullptr;
}

// Unfired faults of machines since emptied, until a test takes them.
std::vector<std::string>& UnfiredSoFar() {
  static std::vector<std::string> unfired;
  return unfired;
}

// Moves the machine's unfired faults that had to fire to the list.
void CollectUnfired(Machine& m) {
  for (auto& [operation, scheduled] : m.faults) {
    for (ScheduledFault& fault : scheduled) {
      if (!fault.mustFire || fault.fired) continue;
      fault.mustFire = false;
      const std::string call =
          fault.nthCall == 0 ? "every call" : "call " + std::to_string(fault.nthCall);
      const char* how = fault.fault == Fault::kFail ? "failing" : "succeeding without output";
      UnfiredSoFar().push_back(operation + " " + call + " " + how);
    }
  }
}

}  // namespace

}  // namespace detail

const std::vector<Operation>& Operations() {
  static const std::vector<Operation> operations = {
#define T7105_OPERATION(name, faultable) {name, Faultable::faultable},
#include "operations.inc"
#undef T7105_OPERATION
  };
  return operations;
}

void ResetMachine() {
  detail::CollectUnfired(detail::TheMachine());
  detail::TheMachine() = detail::Machine{};
}

std::string InjectFault(const std::string& operation, int nthCall, Fault fault, Firing firing) {
  const Operation* known = detail::FindOperation(operation);
  if (known == nullptr) return '"' + operation + "\" is no operation of the stand-in";
  if (known->faultable == Faultable::kNotFaultable) return operation + " is not faultable";
  if (fault == Fault::kNone) return "no fault given for " + operation;
  if (fault == Fault::kSucceedWithoutOutput &&
      known->faultable != Faultable::kFailOrWithoutOutput) {
    return operation + " cannot succeed without output: it can only fail";
  }
  detail::TheMachine().faults[operation].push_back(
      {nthCall, fault, firing == Firing::kMustFire, false});
  return std::string();
}

std::vector<std::string> TakeUnfiredFaults() {
  detail::CollectUnfired(detail::TheMachine());
  std::vector<std::string> unfired;
  unfired.swap(detail::UnfiredSoFar());
  return unfired;
}

Fault EnterOperation(const char* operation) {
  detail::Machine& m = detail::TheMachine();
  auto counted = m.callCounts.find(operation);
  if (counted == m.callCounts.end()) {
    if (detail::FindOperation(operation) == nullptr) {
      fprintf(stderr, "%s is missing from platform/standin/operations.inc\n", operation);
      abort();
    }
    counted = m.callCounts.emplace(operation, 0).first;
  }
  const int call = ++counted->second;
  if (m.keepCallLog) m.callLog.emplace_back(operation);
  auto found = m.faults.find(operation);
  if (found == m.faults.end()) return Fault::kNone;
  for (detail::ScheduledFault& scheduled : found->second) {
    if (scheduled.nthCall == 0 || scheduled.nthCall == call) {
      scheduled.fired = true;
      return scheduled.fault;
    }
  }
  return Fault::kNone;
}

int CallCount(const std::string& operation) {
  const detail::Machine& m = detail::TheMachine();
  auto found = m.callCounts.find(operation);
  return found == m.callCounts.end() ? 0 : found->second;
}

const std::vector<std::string>& CallLog() { return detail::TheMachine().callLog; }

void KeepCallLog(bool keep) { detail::TheMachine().keepCallLog = keep; }

OpenResources Open() {
  const detail::Machine& m = detail::TheMachine();
  OpenResources open;
  open.registryKeys = static_cast<int>(m.openKeys.size());
  open.deviceLists = static_cast<int>(m.openDeviceLists.size());
  open.heapBlocks = static_cast<int>(m.heapBlocks.size());
  open.comObjects = m.liveComObjects;
  open.bstrs = m.liveBstrs;
  open.comInitDepth = m.comInitDepth;
  open.handles = static_cast<int>(m.openEvents.size());
  open.libraries = m.loadedLibraries;
  return open;
}

}  // namespace sim
