#include "app/run_configuration.h"

#include "app/logon_entry.h"
#include "app/run_options.h"
#include "capture/capture_binding.h"
#include "capture/instance_suffix.h"
#include "capture/power_line.h"
#include "device/find_camera_device.h"
#include "device/hardware_id_table.h"

namespace {

const DWORD kStartDelayMilliseconds = 5000;

// A timed wait on an event that nothing signals: the wait simply runs out.
void WaitBeforeStart() {
  HANDLE event = CreateEventA(NULL, FALSE, FALSE, NULL);
  if (event != NULL) {
    WaitForSingleObject(event, kStartDelayMilliseconds);
    CloseHandle(event);
  }
}

// The configuration run proper. `productName` lends the token buffer, at
// least MAX_PATH bytes, to the device search; its content is not used.
int ConfigureCamera(CaptureTarget* target, const RunOptions* options, char* productName) {
  int result = 0;
  char description[MAX_PATH];
  description[0] = '\0';
  if (options->startDelay) WaitBeforeStart();

  const char* const hardwareIds[kHardwareIdRowCount] = {HardwareIdTable[0], HardwareIdTable[1]};
  DeviceQuery query;
  query.hardwareIds = hardwareIds;
  query.hardwareIdCount = kHardwareIdRowCount;
  query.productName = productName;
  query.productNameSize = MAX_PATH;
  query.description = description;
  query.descriptionSize = MAX_PATH;
  // Not finding the camera leaves an empty description; the run goes on with it.
  FindCameraDevice(query);

  AppendInstanceSuffix(description, options->deviceNumber);
  memcpy(target->friendlyName, description, sizeof target->friendlyName);
  target->friendlyName[MAX_PATH - 1] = '\0';

  // The entry goes before the camera is tried, so that a run that dies on
  // the way leaves no entry behind.
  UpdateLogonEntry(options->deviceNumber, options->mainsFrequency, 0);
  if (BindCaptureFilter(target)) {
    ApplyPowerLineSetting(target, options->mainsFrequency);
    result = 1;
  } else if (options->firstRun) {
    UpdateLogonEntry(options->deviceNumber, options->mainsFrequency, 1);
  }
  return result;
}

}  // namespace

int RunConfiguration(const char* commandTail) {
  CaptureTarget target;
  memset(&target, 0, sizeof target);
  int result = 0;
  RunOptions options;
  memset(&options, 0, sizeof options);

  // The token buffer also serves as the search's product-name output, so it
  // is never smaller than MAX_PATH.
  const size_t tailLength = strlen(commandTail);
  const size_t tokenBufferSize = tailLength + 1 > MAX_PATH ? tailLength + 1 : MAX_PATH;
  char* tokens = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, tokenBufferSize));
  if (tokens != NULL) {
    ParseCommandTail(&options, commandTail, tokens);
    if (options.patchReg) {
      UpdateLogonEntry(options.deviceNumber, options.mainsFrequency, 1);
    } else {
      result = ConfigureCamera(&target, &options, tokens);
    }
    HeapFree(GetProcessHeap(), 0, tokens);
  }

  ReleaseCaptureTarget(&target);
  return result;
}
