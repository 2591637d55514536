// Finds the capture source of a given name among the video-input devices.
#pragma once

#include "capture/capture_target.h"

// Binds the first video-input device, in the platform's order, whose name
// equals the target's friendlyName (only A to Z folded) into the target's
// filter. Returns 1 when the filter is bound; 0 when no device matches or
// the first match does not bind. Needs COM begun on the calling thread.
int FindCaptureFilter(CaptureTarget* target);
