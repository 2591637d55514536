/* Registry properties and status of a device node. */
#include "devnode.h"

CONFIGRET WINAPI CM_Get_DevNode_Registry_PropertyA(DEVINST node, ULONG property, PULONG type,
                                                   PVOID buffer, PULONG length, ULONG flags) {
  if (length == NULL || (buffer == NULL && *length != 0)) return CR_INVALID_POINTER;
  if (flags != 0) return CR_INVALID_FLAG;
  if (property < CM_DRP_MIN || property > CM_DRP_MAX) return CR_INVALID_PROPERTY;
  if (type != NULL) *type = REG_NONE;
  HDEVINFO devices = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA device;
  if (!devnode_open(node, &devices, &device)) return CR_NO_SUCH_DEVINST;
  /* The configuration manager numbers its properties one above SetupAPI's. */
  DWORD value_type = REG_NONE, needed = 0;
  if (SetupDiGetDeviceRegistryPropertyA(devices, &device, property - 1, &value_type, buffer,
                                        *length, &needed)) {
    *length = needed;
    if (type != NULL) *type = value_type;
    return CR_SUCCESS;
  }
  if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    *length = needed;
    return CR_BUFFER_SMALL;
  }
  return CR_NO_SUCH_VALUE;
}

CONFIGRET WINAPI CM_Get_DevNode_Status(PULONG status, PULONG problem, DEVINST node, ULONG flags) {
  if (status == NULL || problem == NULL) return CR_INVALID_POINTER;
  *status = 0;
  *problem = 0;
  if (flags != 0) return CR_INVALID_FLAG;
  HDEVINFO devices = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA device;
  if (!devnode_open(node, &devices, &device) ||
      !devnode_test_value(devices, &device, "TestPresent", 1))
    return CR_NO_SUCH_DEVINST;
  if (devnode_test_value(devices, &device, "TestDriverLoaded", 1)) {
    *status = DN_DRIVER_LOADED | DN_STARTED | DN_NT_ENUMERATOR | DN_NT_DRIVER;
  } else {
    *status = DN_HAS_PROBLEM | DN_NT_ENUMERATOR;
    *problem = CM_PROB_FAILED_INSTALL;
  }
  return CR_SUCCESS;
}
