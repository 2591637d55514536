/* The device-instance-ID list, all devices or those of one enumerator, as a
   multi-string; present and absent devices alike. */
#include "devnode.h"

/* Writes the list into buffer when it fits in size bytes; always tells how
   many bytes it takes, the closing empty entry included. */
static CONFIGRET write_id_list(const char *filter, ULONG flags, char *buffer, ULONG size,
                               ULONG *needed) {
  *needed = 0;
  if (flags != 0 && flags != CM_GETIDLIST_FILTER_ENUMERATOR) return CR_INVALID_FLAG;
  const char *enumerator = NULL;
  if (flags == CM_GETIDLIST_FILTER_ENUMERATOR && filter != NULL && filter[0] != '\0')
    enumerator = filter;
  HDEVINFO devices = SetupDiGetClassDevsA(NULL, enumerator, NULL, DIGCF_ALLCLASSES);
  if (devices == INVALID_HANDLE_VALUE) return CR_NO_SUCH_VALUE;
  ULONG used = 0;
  SP_DEVINFO_DATA device = {sizeof device, {0}, 0, 0};
  for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
    char instance_id[MAX_DEVICE_ID_LEN + 1] = "";
    if (!SetupDiGetDeviceInstanceIdA(devices, &device, instance_id, MAX_DEVICE_ID_LEN, NULL))
      continue;
    instance_id[MAX_DEVICE_ID_LEN] = '\0';
    ULONG length = (ULONG)lstrlenA(instance_id) + 1;
    if (buffer != NULL && used + length < size) CopyMemory(buffer + used, instance_id, length);
    used += length;
  }
  SetupDiDestroyDeviceInfoList(devices);
  *needed = used + 1;
  if (buffer == NULL) return CR_SUCCESS;
  if (*needed > size) return CR_BUFFER_SMALL;
  buffer[used] = '\0';
  return CR_SUCCESS;
}

CONFIGRET WINAPI CM_Get_Device_ID_List_SizeA(PULONG length, PCSTR filter, ULONG flags) {
  if (length == NULL) return CR_INVALID_POINTER;
  return write_id_list(filter, flags, NULL, 0, length);
}

CONFIGRET WINAPI CM_Get_Device_ID_ListA(PCSTR filter, PCHAR buffer, ULONG size, ULONG flags) {
  if (buffer == NULL || size == 0) return CR_INVALID_POINTER;
  buffer[0] = '\0';
  ULONG needed = 0;
  CONFIGRET result = write_id_list(filter, flags, buffer, size, &needed);
  if (result != CR_SUCCESS) buffer[0] = '\0';
  return result;
}
