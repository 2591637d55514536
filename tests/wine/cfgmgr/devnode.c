#include "devnode.h"

static HDEVINFO known_devices = INVALID_HANDLE_VALUE;

static HDEVINFO device_list(void) {
  if (known_devices == INVALID_HANDLE_VALUE)
    known_devices = SetupDiCreateDeviceInfoList(NULL, NULL);
  return known_devices;
}

int devnode_open_id(const char *instance_id, HDEVINFO *devices, SP_DEVINFO_DATA *device) {
  *devices = device_list();
  ZeroMemory(device, sizeof *device);
  device->cbSize = sizeof *device;
  return *devices != INVALID_HANDLE_VALUE &&
         SetupDiOpenDeviceInfoA(*devices, instance_id, NULL, 0, device);
}

int devnode_open(DEVINST node, HDEVINFO *devices, SP_DEVINFO_DATA *device) {
  char instance_id[MAX_DEVICE_ID_LEN + 1] = "";
  if (CM_Get_Device_IDA(node, instance_id, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS) return 0;
  instance_id[MAX_DEVICE_ID_LEN] = '\0';
  return devnode_open_id(instance_id, devices, device);
}

DWORD devnode_test_value(HDEVINFO devices, SP_DEVINFO_DATA *device, const char *name,
                         DWORD fallback) {
  char instance_id[MAX_DEVICE_ID_LEN + 1] = "";
  char path[64 + MAX_DEVICE_ID_LEN] = "";
  if (!SetupDiGetDeviceInstanceIdA(devices, device, instance_id, MAX_DEVICE_ID_LEN, NULL))
    return fallback;
  instance_id[MAX_DEVICE_ID_LEN] = '\0';
  wsprintfA(path, "System\\CurrentControlSet\\Enum\\%s", instance_id);
  HKEY key = NULL;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return fallback;
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExA(key, name, NULL, &type, (BYTE *)&value, &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    value = fallback;
  RegCloseKey(key);
  return value;
}
