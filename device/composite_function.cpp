#include "device/composite_function.h"

#include "device/device_node.h"
#include "device/hardware_id_list.h"

namespace {

// A call that reports success without writing leaves `next` at `node`: the
// walk then ends rather than meet the same node again.
int NextChild(DEVINST* next, DEVINST node, int first) {
  *next = node;
  const CONFIGRET result = first ? CM_Get_Child(next, node, 0) : CM_Get_Sibling(next, node, 0);
  return result == CR_SUCCESS && *next != node;
}

}  // namespace

// The ID is pointed to from the stack: a table of pointers would need
// relocating when the image moves.
int IsCompositeParent(DEVINST node, char* work) {
  const char* const compositeDriverId = "USB\\COMPOSITE";
  return MatchHardwareIdList(work, ReadNodeIdList(node, CM_DRP_COMPATIBLEIDS, work),
                             &compositeDriverId, 1);
}

DEVINST TakeCameraFunction(DEVINST node, const char* row, char* work) {
  DEVINST taken = node;
  DEVINST child = node;
  if (NextChild(&child, node, 1) && IsCompositeParent(node, work)) {
    int found = 0;
    int loaded = 0;
    do {
      if (MatchFunctionIdList(work, ReadNodeIdList(child, CM_DRP_HARDWAREID, work), row)) {
        loaded = IsDriverLoaded(child);
        if (!found || loaded) taken = child;
        found = 1;
      }
    } while (!loaded && NextChild(&child, child, 0));
  }
  return taken;
}
