/* CM_Open_DevNode_Key: the driver key (software) or the device's hardware
   key, opened as SetupAPI opens them; never created. */
#include "devnode.h"

CONFIGRET WINAPI CM_Open_DevNode_Key(DEVINST node, REGSAM access, ULONG profile,
                                     REGDISPOSITION disposition, PHKEY key, ULONG flags) {
  (void)profile;
  if (key == NULL) return CR_INVALID_POINTER;
  *key = NULL;
  if (disposition != RegDisposition_OpenExisting) return CR_INVALID_DATA;
  if (flags != CM_REGISTRY_HARDWARE && flags != CM_REGISTRY_SOFTWARE) return CR_INVALID_FLAG;
  HDEVINFO devices = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA device;
  if (!devnode_open(node, &devices, &device)) return CR_NO_SUCH_DEVINST;
  DWORD which = flags == CM_REGISTRY_SOFTWARE ? DIREG_DRV : DIREG_DEV;
  HKEY opened = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, which, access);
  if (opened == INVALID_HANDLE_VALUE) return CR_NO_SUCH_REGISTRY_KEY;
  *key = opened;
  return CR_SUCCESS;
}
