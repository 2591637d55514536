/* The device tree's parent links: a device names its parent in the test-only
   value "TestParent" of its key under Enum, and a parent's children are met
   in the order Wine's SetupAPI lists every device. As on Windows, only
   present devices are in the tree. */
#include "devnode.h"

/* The instance ID of the parent that the device names, "" for none. */
static void parent_of(HDEVINFO devices, SP_DEVINFO_DATA *device, char *parent, DWORD size) {
  parent[0] = '\0';
  devnode_test_string(devices, device, "TestParent", parent, size);
}

/* Finds the first present device after `after` (or from the start, when NULL)
   whose parent is `parent`, and hands out its node. */
static CONFIGRET find_child(const char *parent, const char *after, PDEVINST found) {
  HDEVINFO all = SetupDiGetClassDevsA(NULL, NULL, NULL, DIGCF_ALLCLASSES);
  if (all == INVALID_HANDLE_VALUE) return CR_FAILURE;
  CONFIGRET result = CR_NO_SUCH_DEVNODE;
  int searching = after == NULL;
  SP_DEVINFO_DATA device = {sizeof device, {0}, 0, 0};
  for (DWORD index = 0; result != CR_SUCCESS && SetupDiEnumDeviceInfo(all, index, &device);
       ++index) {
    char id[MAX_DEVICE_ID_LEN + 1] = "";
    char its_parent[MAX_DEVICE_ID_LEN + 1] = "";
    if (!SetupDiGetDeviceInstanceIdA(all, &device, id, MAX_DEVICE_ID_LEN, NULL)) continue;
    id[MAX_DEVICE_ID_LEN] = '\0';
    parent_of(all, &device, its_parent, sizeof its_parent);
    if (searching && lstrcmpiA(its_parent, parent) == 0 &&
        devnode_test_value(all, &device, "TestPresent", 1)) {
      HDEVINFO known = INVALID_HANDLE_VALUE;
      SP_DEVINFO_DATA child;
      if (devnode_open_id(id, &known, &child)) {
        *found = child.DevInst;
        result = CR_SUCCESS;
      }
    }
    if (after != NULL && lstrcmpiA(id, after) == 0) searching = 1;
  }
  SetupDiDestroyDeviceInfoList(all);
  return result;
}

/* Opens the device behind a node and reads its instance ID (MAX_DEVICE_ID_LEN
   + 1 bytes); 0 when the node is unknown. */
static int open_node(DEVINST node, HDEVINFO *devices, SP_DEVINFO_DATA *device, char *id) {
  id[0] = '\0';
  if (!devnode_open(node, devices, device) ||
      !SetupDiGetDeviceInstanceIdA(*devices, device, id, MAX_DEVICE_ID_LEN, NULL))
    return 0;
  id[MAX_DEVICE_ID_LEN] = '\0';
  return 1;
}

CONFIGRET WINAPI CM_Get_Child(PDEVINST child, DEVINST node, ULONG flags) {
  HDEVINFO devices = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA device;
  char id[MAX_DEVICE_ID_LEN + 1];
  if (child == NULL) return CR_INVALID_POINTER;
  if (flags != 0) return CR_INVALID_FLAG;
  if (!open_node(node, &devices, &device, id)) return CR_INVALID_DEVNODE;
  if (!devnode_test_value(devices, &device, "TestPresent", 1)) return CR_NO_SUCH_DEVNODE;
  return find_child(id, NULL, child);
}

CONFIGRET WINAPI CM_Get_Sibling(PDEVINST sibling, DEVINST node, ULONG flags) {
  HDEVINFO devices = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA device;
  char id[MAX_DEVICE_ID_LEN + 1];
  char parent[MAX_DEVICE_ID_LEN + 1];
  if (sibling == NULL) return CR_INVALID_POINTER;
  if (flags != 0) return CR_INVALID_FLAG;
  if (!open_node(node, &devices, &device, id)) return CR_INVALID_DEVNODE;
  parent_of(devices, &device, parent, sizeof parent);
  if (parent[0] == '\0') return CR_NO_SUCH_DEVNODE;
  return find_child(parent, id, sibling);
}
