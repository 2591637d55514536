// The run's record of the capture source: the name to bind, and the filter
// and its property-set interface once bound.
#pragma once

#include "platform/win32.h"

struct CaptureTarget {
  char friendlyName[MAX_PATH];
  IBaseFilter* filter;
  IKsPropertySet* propertySet;
};
