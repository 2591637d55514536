#include "device/device_node.h"

DWORD ReadNodeIdList(DEVINST node, ULONG property, char* list) {
  ULONG length = kIdListBufferSize;
  list[0] = '\0';
  if (CM_Get_DevNode_Registry_PropertyA(node, property, NULL, list, &length, 0) != CR_SUCCESS) {
    length = 0;
  }
  return length < kIdListBufferSize ? length : kIdListBufferSize;
}

int IsDriverLoaded(DEVINST node) {
  ULONG status = 0;
  ULONG problem = 0;
  return CM_Get_DevNode_Status(&status, &problem, node, 0) == CR_SUCCESS &&
         (status & DN_DRIVER_LOADED) != 0;
}
