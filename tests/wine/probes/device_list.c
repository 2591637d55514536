/* What the configuration manager reports about the machine's devices,
   through the same calls the program makes. */
#include "device_list.h"

#include "print.h"
// print.h brought windows.h, which the other SDK headers build on.
// clang-format off
#include <setupapi.h>
#include <cfgmgr32.h>
#include <devguid.h>
// clang-format on

static void print_hardware_ids(DEVINST node) {
  char list[1024] = "";
  ULONG size = sizeof list - 2;
  print(" hwids=");
  if (CM_Get_DevNode_Registry_PropertyA(node, CM_DRP_HARDWAREID, NULL, list, &size, 0) !=
      CR_SUCCESS) {
    print("none");
    return;
  }
  list[sizeof list - 2] = '\0';
  list[sizeof list - 1] = '\0';
  for (const char *id = list; *id != '\0'; id += lstrlenA(id) + 1)
    print(id == list ? "%s" : "|%s", id);
}

static void print_driver_value(HKEY key, const char *name, const char *label) {
  char text[260] = "";
  DWORD size = sizeof text - 1;
  if (key != NULL) RegQueryValueExA(key, name, NULL, NULL, (BYTE *)text, &size);
  text[sizeof text - 1] = '\0';
  print(" %s=%s", label, text);
}

static void print_node(const char *pass, const char *instance_id, DEVINST node,
                       const char *located) {
  print("%s %s located=%s", pass, instance_id, located);
  ULONG status = 0, problem = 0;
  if (CM_Get_DevNode_Status(&status, &problem, node, 0) == CR_SUCCESS)
    print(" status=%lX", status);
  else
    print(" status=none");
  print_hardware_ids(node);
  HKEY key = NULL;
  if (CM_Open_DevNode_Key(node, KEY_READ, 0, RegDisposition_OpenExisting, &key,
                          CM_REGISTRY_SOFTWARE) != CR_SUCCESS)
    key = NULL;
  print_driver_value(key, "DriverDesc", "desc");
  print_driver_value(key, "ZrProductName", "product");
  if (key != NULL) RegCloseKey(key);
  print("\n");
}

static void list_image_class(void) {
  HDEVINFO devices = SetupDiGetClassDevsA(&GUID_DEVCLASS_IMAGE, NULL, NULL, 0);
  if (devices == INVALID_HANDLE_VALUE) return;
  SP_DEVINFO_DATA device = {sizeof device, {0}, 0, 0};
  for (DWORD i = 0; SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
    char instance_id[MAX_DEVICE_ID_LEN + 1] = "";
    SetupDiGetDeviceInstanceIdA(devices, &device, instance_id, MAX_DEVICE_ID_LEN, NULL);
    instance_id[MAX_DEVICE_ID_LEN] = '\0';
    print_node("image", instance_id, device.DevInst, "yes");
  }
  SetupDiDestroyDeviceInfoList(devices);
}

static void list_usb_enumerator(void) {
  ULONG size = 0;
  if (CM_Get_Device_ID_List_SizeA(&size, "USB", CM_GETIDLIST_FILTER_ENUMERATOR) != CR_SUCCESS ||
      size == 0)
    return;
  char *list = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
  if (list == NULL) return;
  if (CM_Get_Device_ID_ListA("USB", list, size, CM_GETIDLIST_FILTER_ENUMERATOR) == CR_SUCCESS)
    for (char *id = list; id < list + size && *id != '\0'; id += lstrlenA(id) + 1) {
      DEVINST node = 0;
      const char *located = "yes";
      if (CM_Locate_DevNodeA(&node, id, 0) != CR_SUCCESS) {
        located = "phantom";
        if (CM_Locate_DevNodeA(&node, id, CM_LOCATE_DEVNODE_PHANTOM) != CR_SUCCESS) {
          print("usb %s located=no\n", id);
          continue;
        }
      }
      print_node("usb", id, node, located);
    }
  HeapFree(GetProcessHeap(), 0, list);
}

void print_devices(void) {
  list_image_class();
  list_usb_enumerator();
}
