// The process's command line and the kernel objects of the start delay. The
// waits return at once with the timeout they were given recorded, so a test
// sees the delay without spending it.
#include "state.h"

using sim::Fault;
using sim::detail::TheMachine;

namespace sim {

void SetCommandLine(const std::string& commandLine) {
  detail::TheMachine().commandLine = commandLine;
}

const std::vector<DWORD>& Waits() { return detail::TheMachine().waits; }

}  // namespace sim

LPSTR WINAPI GetCommandLineA() {
  sim::EnterOperation("GetCommandLineA");
  return &TheMachine().commandLine[0];
}

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset,
                           BOOL bInitialState, LPCSTR lpName) {
  (void)lpEventAttributes;
  (void)bManualReset;
  (void)bInitialState;
  (void)lpName;
  if (sim::EnterOperation("CreateEventA") != Fault::kNone) return nullptr;
  const ULONG_PTR handle = TheMachine().nextEventHandle++;
  TheMachine().openEvents.insert(handle);
  return reinterpret_cast<HANDLE>(handle);
}

// Nothing ever signals an event here: a wait on one that is open times out.
DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  if (sim::EnterOperation("WaitForSingleObject") != Fault::kNone) return WAIT_FAILED;
  if (TheMachine().openEvents.count(reinterpret_cast<ULONG_PTR>(hHandle)) == 0) {
    return WAIT_FAILED;
  }
  TheMachine().waits.push_back(dwMilliseconds);
  return WAIT_TIMEOUT;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
  const Fault fault = sim::EnterOperation("CloseHandle");
  const bool wasOpen = TheMachine().openEvents.erase(reinterpret_cast<ULONG_PTR>(hObject)) != 0;
  return wasOpen && fault != Fault::kFail ? TRUE : FALSE;
}
