#include "capture/capture_binding.h"

#include "capture/source_search.h"

namespace {

// A target that already holds its property-set interface keeps it.
int TakePropertySet(CaptureTarget* target) {
  if (target->propertySet == NULL &&
      FAILED(target->filter->QueryInterface(IID_IKsPropertySet,
                                            reinterpret_cast<void**>(&target->propertySet)))) {
    target->propertySet = NULL;
  }
  return target->propertySet != NULL;
}

}  // namespace

// COM use begins on every call, also when the target is bound already; the
// one ReleaseCaptureTarget of the run ends it.
int BindCaptureFilter(CaptureTarget* target) {
  int bound = 0;
  if (SUCCEEDED(CoInitialize(NULL)) && (target->filter != NULL || FindCaptureFilter(target))) {
    bound = TakePropertySet(target);
  }
  return bound;
}

int ReleaseCaptureTarget(CaptureTarget* target) {
  if (target->propertySet != NULL) {
    target->propertySet->Release();
    target->propertySet = NULL;
  }
  if (target->filter != NULL) {
    target->filter->Release();
    target->filter = NULL;
  }
  CoUninitialize();
  return 1;
}
