#include "machine.h"

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

}  // namespace detail

void ResetMachine() { detail::TheMachine() = detail::Machine{}; }

void InjectFault(const std::string& operation, int nthCall, Fault fault) {
  detail::TheMachine().faults[operation].push_back({nthCall, fault});
}

Fault EnterOperation(const char* operation) {
  detail::Machine& m = detail::TheMachine();
  auto counted = m.callCounts.find(operation);
  if (counted == m.callCounts.end()) counted = m.callCounts.emplace(operation, 0).first;
  const int call = ++counted->second;
  if (m.keepCallLog) m.callLog.emplace_back(operation);
  auto found = m.faults.find(operation);
  if (found == m.faults.end()) return Fault::kNone;
  for (const detail::ScheduledFault& scheduled : found->second) {
    if (scheduled.nthCall == 0 || scheduled.nthCall == call) return scheduled.fault;
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
