/* The filter object of the simulated camera. It is a capture filter only as
   far as the program needs one: IBaseFilter methods beyond IPersist answer
   E_NOTIMPL, IKsPropertySet::Set records what it receives, and
   IPersistPropertyBag::Load learns which registration the filter was bound
   through, so the log can say which camera received a write. */
#include "camera.h"

#include <stddef.h>

/* Longest property buffer the log spells out in full. */
#define LOGGED_BYTES 512

struct camera {
  IBaseFilter filter;
  IKsPropertySet properties;
  IPersistPropertyBag persist;
  LONG references;
  enum camera_behaviour behaviour;
  char tag[64];
};

static LONG objects_alive;

LONG camera_objects_alive(void) { return objects_alive; }

const char *camera_behaviour_name(enum camera_behaviour behaviour) {
  switch (behaviour) {
  case CAMERA_NORMAL:
    return "normal";
  case CAMERA_REFUSES_BIND:
    return "refuses-bind";
  case CAMERA_NO_PROPERTY_SET:
    return "no-property-set";
  case CAMERA_SET_FALSE:
    return "set-false";
  case CAMERA_SET_FAILS:
    return "set-fails";
  }
  return "unknown";
}

#define CAMERA_FROM(iface, member)                                            \
  ((struct camera *)((char *)(iface) - offsetof(struct camera, member)))

static void log_event(struct camera *camera, const char *event) {
  char line[160];
  wsprintfA(line, "%s camera=%s behaviour=%s", event, camera->tag,
            camera_behaviour_name(camera->behaviour));
  camera_log_line(line);
}

static HRESULT camera_query(struct camera *camera, REFIID iid, void **out) {
  *out = NULL;
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IPersist) ||
      IsEqualIID(iid, &IID_IMediaFilter) || IsEqualIID(iid, &IID_IBaseFilter))
    *out = &camera->filter;
  else if (IsEqualIID(iid, &IID_IPersistPropertyBag))
    *out = &camera->persist;
  else if (IsEqualIID(iid, &IID_IKsPropertySet) &&
           camera->behaviour != CAMERA_NO_PROPERTY_SET)
    *out = &camera->properties;
  if (*out == NULL)
    return E_NOINTERFACE;
  InterlockedIncrement(&camera->references);
  return S_OK;
}

static ULONG camera_add_ref(struct camera *camera) {
  return (ULONG)InterlockedIncrement(&camera->references);
}

static ULONG camera_release(struct camera *camera) {
  LONG left = InterlockedDecrement(&camera->references);
  if (left == 0) {
    log_event(camera, "release");
    HeapFree(GetProcessHeap(), 0, camera);
    InterlockedDecrement(&objects_alive);
  }
  return (ULONG)left;
}

/* IBaseFilter */

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
static HRESULT WINAPI filter_state(IBaseFilter *self, DWORD wait,
                                   FILTER_STATE *state) {
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
static HRESULT WINAPI filter_get_clock(IBaseFilter *self,
                                       IReferenceClock **c) {
  (void)self;
  (void)c;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_pins(IBaseFilter *self, IEnumPins **pins) {
  (void)self;
  (void)pins;
  return E_NOTIMPL;
}
static HRESULT WINAPI filter_find_pin(IBaseFilter *self, LPCWSTR id,
                                      IPin **pin) {
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
static HRESULT WINAPI filter_join(IBaseFilter *self, IFilterGraph *graph,
                                  LPCWSTR name) {
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

static IBaseFilterVtbl filter_table = {
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

/* IKsPropertySet */

static HRESULT WINAPI properties_query(IKsPropertySet *self, REFIID iid,
                                       void **out) {
  return camera_query(CAMERA_FROM(self, properties), iid, out);
}
static ULONG WINAPI properties_add_ref(IKsPropertySet *self) {
  return camera_add_ref(CAMERA_FROM(self, properties));
}
static ULONG WINAPI properties_release(IKsPropertySet *self) {
  return camera_release(CAMERA_FROM(self, properties));
}

/* Spells out up to LOGGED_BYTES of a buffer; "null" for no buffer. */
static void hex_field(const void *bytes, DWORD length, char *text) {
  if (bytes == NULL)
    lstrcpyA(text, "null");
  else
    camera_hex(bytes, length < LOGGED_BYTES ? length : LOGGED_BYTES, text);
}

static HRESULT WINAPI properties_set(IKsPropertySet *self, REFGUID set,
                                     DWORD id, void *instance,
                                     DWORD instance_length, void *data,
                                     DWORD data_length) {
  struct camera *camera = CAMERA_FROM(self, properties);
  HRESULT answer = S_OK;
  if (camera->behaviour == CAMERA_SET_FALSE)
    answer = S_FALSE;
  if (camera->behaviour == CAMERA_SET_FAILS)
    answer = E_FAIL;
  static char instance_hex[2 * LOGGED_BYTES + 1];
  static char data_hex[2 * LOGGED_BYTES + 1];
  static char line[4 * LOGGED_BYTES + 512];
  hex_field(instance, instance_length, instance_hex);
  hex_field(data, data_length, data_hex);
  wsprintfA(line,
            "set camera=%s behaviour=%s "
            "set={%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X} id=%lu "
            "instance_length=%lu data_length=%lu instance=%s data=%s "
            "answer=0x%08lX",
            camera->tag, camera_behaviour_name(camera->behaviour), set->Data1,
            set->Data2, set->Data3, set->Data4[0], set->Data4[1],
            set->Data4[2], set->Data4[3], set->Data4[4], set->Data4[5],
            set->Data4[6], set->Data4[7], id, instance_length, data_length,
            instance_hex, data_hex, (unsigned long)answer);
  camera_log_line(line);
  return answer;
}

static HRESULT WINAPI properties_get(IKsPropertySet *self, REFGUID set,
                                     DWORD id, void *instance,
                                     DWORD instance_length, void *data,
                                     DWORD data_length, DWORD *returned) {
  (void)set;
  (void)id;
  (void)instance;
  (void)instance_length;
  (void)data;
  (void)data_length;
  (void)returned;
  log_event(CAMERA_FROM(self, properties), "get");
  return E_NOTIMPL;
}

static HRESULT WINAPI properties_supported(IKsPropertySet *self, REFGUID set,
                                           DWORD id, DWORD *support) {
  (void)set;
  (void)id;
  (void)support;
  log_event(CAMERA_FROM(self, properties), "query-supported");
  return E_NOTIMPL;
}

static IKsPropertySetVtbl properties_table = {
    .QueryInterface = properties_query,
    .AddRef = properties_add_ref,
    .Release = properties_release,
    .Set = properties_set,
    .Get = properties_get,
    .QuerySupported = properties_supported,
};

/* IPersistPropertyBag: the device enumerator hands over the registration's
   values here when it binds the filter. */

static HRESULT WINAPI persist_query(IPersistPropertyBag *self, REFIID iid,
                                    void **out) {
  return camera_query(CAMERA_FROM(self, persist), iid, out);
}
static ULONG WINAPI persist_add_ref(IPersistPropertyBag *self) {
  return camera_add_ref(CAMERA_FROM(self, persist));
}
static ULONG WINAPI persist_release(IPersistPropertyBag *self) {
  return camera_release(CAMERA_FROM(self, persist));
}
static HRESULT WINAPI persist_class(IPersistPropertyBag *self, CLSID *clsid) {
  (void)self;
  (void)clsid;
  return E_NOTIMPL;
}
static HRESULT WINAPI persist_init(IPersistPropertyBag *self) {
  (void)self;
  return S_OK;
}

static HRESULT WINAPI persist_load(IPersistPropertyBag *self,
                                   IPropertyBag *bag, IErrorLog *errors) {
  struct camera *camera = CAMERA_FROM(self, persist);
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  if (SUCCEEDED(IPropertyBag_Read(bag, L"CameraId", &value, errors)) &&
      value.vt == VT_BSTR && value.bstrVal != NULL)
    WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, camera->tag,
                        sizeof camera->tag, NULL, NULL);
  camera->tag[sizeof camera->tag - 1] = '\0';
  VariantClear(&value);
  log_event(camera, "bind");
  return S_OK;
}

static HRESULT WINAPI persist_save(IPersistPropertyBag *self,
                                   IPropertyBag *bag, BOOL clear, BOOL all) {
  (void)self;
  (void)bag;
  (void)clear;
  (void)all;
  return E_NOTIMPL;
}

static IPersistPropertyBagVtbl persist_table = {
    .QueryInterface = persist_query,
    .AddRef = persist_add_ref,
    .Release = persist_release,
    .GetClassID = persist_class,
    .InitNew = persist_init,
    .Load = persist_load,
    .Save = persist_save,
};

HRESULT camera_create(enum camera_behaviour behaviour, REFIID iid,
                      void **out) {
  *out = NULL;
  struct camera *camera =
      HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *camera);
  if (camera == NULL)
    return E_OUTOFMEMORY;
  camera->filter.lpVtbl = &filter_table;
  camera->properties.lpVtbl = &properties_table;
  camera->persist.lpVtbl = &persist_table;
  camera->references = 1;
  camera->behaviour = behaviour;
  lstrcpyA(camera->tag, "unnamed");
  InterlockedIncrement(&objects_alive);
  HRESULT result = camera_query(camera, iid, out);
  camera_release(camera);
  return result;
}
