// A USB camera with a microphone, or any interface association, is a
// composite device: Windows serves the parent node, which carries the bare
// USB IDs, with its composite driver, and the camera's own driver sits on a
// child function node, whose IDs add "&MI_" and the interface number.
#pragma once

#include "platform/win32.h"

// Whether the node's compatible IDs name the composite driver
// ("USB\COMPOSITE"). `work` is a buffer of kIdListBufferSize bytes.
int IsCompositeParent(DEVINST node, char* work);

// The node whose driver key describes the camera that `node` matched through
// `row`: when `node` is a composite parent, its child function whose
// hardware IDs hold `row` followed by "&MI_" (the first with a loaded
// driver, else the first); otherwise, or without such a child, `node`
// itself. A node without children is not asked for its compatible IDs.
DEVINST TakeCameraFunction(DEVINST node, const char* row, char* work);
