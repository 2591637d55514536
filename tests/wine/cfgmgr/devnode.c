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

/* Reads a test value of the device's key under Enum into value (size bytes);
   returns its type, or REG_NONE when the device does not carry it. */
static DWORD test_value(HDEVINFO devices, SP_DEVINFO_DATA *device, const char *name, void *value,
                        DWORD *size) {
  char instance_id[MAX_DEVICE_ID_LEN + 1] = "";
  char path[64 + MAX_DEVICE_ID_LEN] = "";
  if (!SetupDiGetDeviceInstanceIdA(devices, device, instance_id, MAX_DEVICE_ID_LEN, NULL))
    return REG_NONE;
  instance_id[MAX_DEVICE_ID_LEN] = '\0';
  wsprintfA(path, "System\\CurrentControlSet\\Enum\\%s", instance_id);
  HKEY key = NULL;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return REG_NONE;
  DWORD type = REG_NONE;
  if (RegQueryValueExA(key, name, NULL, &type, (BYTE *)value, size) != ERROR_SUCCESS)
    type = REG_NONE;
  RegCloseKey(key);
  return type;
}

DWORD devnode_test_value(HDEVINFO devices, SP_DEVINFO_DATA *device, const char *name,
                         DWORD fallback) {
  DWORD value = 0, size = sizeof value;
  if (test_value(devices, device, name, &value, &size) != REG_DWORD || size != sizeof value)
    value = fallback;
  return value;
}

void devnode_test_string(HDEVINFO devices, SP_DEVINFO_DATA *device, const char *name, char *text,
                         DWORD size) {
  DWORD length = size - 1;
  if (test_value(devices, device, name, text, &length) != REG_SZ) length = 0;
  text[length < size ? length : size - 1] = '\0';
}
