/* IPersistPropertyBag of the simulated camera: the device enumerator hands
   the registration's values over here when it binds the filter, so the
   camera learns its CameraId, and a refusing camera refuses here. */
#include "camera_object.h"

static HRESULT WINAPI persist_query(IPersistPropertyBag *self, REFIID iid, void **out) {
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

static HRESULT WINAPI persist_load(IPersistPropertyBag *self, IPropertyBag *bag,
                                   IErrorLog *errors) {
  struct camera *camera = CAMERA_FROM(self, persist);
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  if (SUCCEEDED(IPropertyBag_Read(bag, L"CameraId", &value, errors)) && value.vt == VT_BSTR &&
      value.bstrVal != NULL)
    WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, camera->tag, sizeof camera->tag, NULL, NULL);
  camera->tag[sizeof camera->tag - 1] = '\0';
  VariantClear(&value);
  if (camera->behaviour == CAMERA_REFUSES_BIND || camera->behaviour == CAMERA_ACCESS_DENIED) {
    camera_log_event(camera, "refuse");
    return camera->behaviour == CAMERA_ACCESS_DENIED ? E_ACCESSDENIED : E_FAIL;
  }
  camera_log_event(camera, "bind");
  return S_OK;
}

static HRESULT WINAPI persist_save(IPersistPropertyBag *self, IPropertyBag *bag, BOOL clear,
                                   BOOL all) {
  (void)self;
  (void)bag;
  (void)clear;
  (void)all;
  return E_NOTIMPL;
}

IPersistPropertyBagVtbl camera_persist_table = {
    .QueryInterface = persist_query,
    .AddRef = persist_add_ref,
    .Release = persist_release,
    .GetClassID = persist_class,
    .InitNew = persist_init,
    .Load = persist_load,
    .Save = persist_save,
};
