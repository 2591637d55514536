#include "capture/source_search.h"

#include "capture/source_name.h"

namespace {

// The first match decides: a device that matches but does not bind ends the
// search as surely as one that binds.
int BindFilter(IMoniker* source, CaptureTarget* target) {
  const HRESULT bound =
      source->BindToObject(NULL, NULL, IID_IBaseFilter, reinterpret_cast<void**>(&target->filter));
  return SUCCEEDED(bound) && target->filter != NULL;
}

int BindFirstMatch(IEnumMoniker* sources, CaptureTarget* target) {
  int bound = 0;
  int searching = 1;
  char name[MAX_PATH];
  memset(name, 0, sizeof name);
  sources->Reset();
  while (searching) {
    IMoniker* source = NULL;
    ULONG fetched = 0;
    const HRESULT next = sources->Next(1, &source, &fetched);
    searching = SUCCEEDED(next) && fetched != 0 && source != NULL;
    if (searching && ReadSourceName(source, name) && _stricmp(name, target->friendlyName) == 0) {
      searching = 0;
      bound = BindFilter(source, target);
    }
    if (SUCCEEDED(next) && source != NULL) source->Release();
  }
  return bound;
}

}  // namespace

int FindCaptureFilter(CaptureTarget* target) {
  int bound = 0;
  ICreateDevEnum* devices = NULL;
  if (SUCCEEDED(CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER,
                                 IID_ICreateDevEnum, reinterpret_cast<void**>(&devices))) &&
      devices != NULL) {
    IEnumMoniker* sources = NULL;
    // An empty category is a success without an enumerator.
    const HRESULT listed =
        devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &sources, 0);
    devices->Release();
    if (SUCCEEDED(listed) && sources != NULL) {
      bound = BindFirstMatch(sources, target);
      sources->Release();
    }
  }
  return bound;
}
