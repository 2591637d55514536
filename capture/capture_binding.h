// Opens the capture source named by a CaptureTarget, and lets it go again.
#pragma once

#include "capture/capture_target.h"

// Begins COM use on every call. Returns 1 when the target holds both its
// filter and its property-set interface, 0 otherwise.
int BindCaptureFilter(CaptureTarget* target);

// Releases both references and ends COM use once, on every call. Returns 1.
int ReleaseCaptureTarget(CaptureTarget* target);
