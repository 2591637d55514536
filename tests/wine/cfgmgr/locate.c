/* CM_Locate_DevNodeA: a device that is not present is found only when the
   caller asks for phantoms too. */
#include "devnode.h"

CONFIGRET WINAPI CM_Locate_DevNodeA(PDEVINST node, DEVINSTID_A instance_id, ULONG flags) {
  if (node == NULL) return CR_INVALID_POINTER;
  *node = 0;
  if (instance_id == NULL || instance_id[0] == '\0') return CR_INVALID_DEVICE_ID;
  HDEVINFO devices = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA device;
  if (!devnode_open_id(instance_id, &devices, &device)) return CR_NO_SUCH_DEVNODE;
  if (!(flags & CM_LOCATE_DEVNODE_PHANTOM) &&
      !devnode_test_value(devices, &device, "TestPresent", 1))
    return CR_NO_SUCH_DEVNODE;
  *node = device.DevInst;
  return CR_SUCCESS;
}
