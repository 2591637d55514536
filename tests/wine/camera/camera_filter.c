/* IBaseFilter of the simulated camera: a capture filter only as far as the
   program needs one. Beyond identity, every method answers E_NOTIMPL. */
#include "camera_object.h"

static HRESULT WINAPI filter_query(IBaseFilter *self, REFIID iid, void **out) {
  return camera_query(CAMERA_FROM(self, filter), iid, out);
}
static ULONG WINAPI filter_add_ref(IBaseFilter *self) {
  return camera_add_ref(CAMERA_FROM(self, filter));
}
static ULONG WINAPI filter_release(IBaseFilter *self) {
  return camera_release(CAMERA_FROM(self, filter));
}
static HRESULT WINAPI filter_class(IBaseFilter *self, CLSID *clsid) {
  (void)self;
  (void)clsid;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_no_argument(IBaseFilter *self) {
  (void)self;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_run(IBaseFilter *self, REFERENCE_TIME start) {
  (void)self;
  (void)start;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_state(IBaseFilter *self, DWORD wait, FILTER_STATE *state) {
  (void)self;
  (void)wait;
  (void)state;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_set_clock(IBaseFilter *self, IReferenceClock *c) {
  (void)self;
  (void)c;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_get_clock(IBaseFilter *self, IReferenceClock **c) {
  (void)self;
  (void)c;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_pins(IBaseFilter *self, IEnumPins **pins) {
  (void)self;
  (void)pins;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_find_pin(IBaseFilter *self, LPCWSTR id, IPin **pin) {
  (void)self;
  (void)id;
  (void)pin;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_info(IBaseFilter *self, FILTER_INFO *info) {
  (void)self;
  (void)info;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_join(IBaseFilter *self, IFilterGraph *graph, LPCWSTR name) {
  (void)self;
  (void)graph;
  (void)name;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_vendor(IBaseFilter *self, LPWSTR *info) {
  (void)self;
  (void)info;
  return E_NOTIMPL;
}

IBaseFilterVtbl camera_filter_table = {
    .QueryInterface = filter_query,
    .AddRef = filter_add_ref,
    .Release = filter_release,
    .GetClassID = filter_class,
    .Stop = filter_no_argument,
    .Pause = filter_no_argument,
    .Run = filter_run,
    .GetState = filter_state,
    .SetSyncSource = filter_set_clock,
    .GetSyncSource = filter_get_clock,
    .EnumPins = filter_pins,
    .FindPin = filter_find_pin,
    .QueryFilterInfo = filter_info,
    .JoinFilterGraph = filter_join,
    .QueryVendorInfo = filter_vendor,
};
