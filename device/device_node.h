// What the configuration manager tells of one device node: its ID lists and
// whether its driver is loaded.
#pragma once

#include "platform/win32.h"

// Bytes of the buffer that receives a node's ID list.
const DWORD kIdListBufferSize = MAX_PATH;

// Reads the node's ID list `property` (CM_DRP_HARDWAREID or
// CM_DRP_COMPATIBLEIDS) into `list`, kIdListBufferSize bytes. Returns how
// many of its bytes the platform says it wrote, 0 when the read failed: only
// those are to be walked.
DWORD ReadNodeIdList(DEVINST node, ULONG property, char* list);

// Whether the node's status can be read and shows its driver loaded.
int IsDriverLoaded(DEVINST node);
