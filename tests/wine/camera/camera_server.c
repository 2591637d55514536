/* The camera DLL's COM entry points. Each behaviour has its own class
   identifier, so a registration chooses how its camera acts by the CLSID it
   names; the class factories are static and live as long as the DLL. */
#include "camera.h"

struct camera_class {
  IClassFactory factory;
  enum camera_behaviour behaviour;
  CLSID clsid;
};

static LONG server_locks;

static struct camera_class *class_from(IClassFactory *factory) {
  return (struct camera_class *)factory;
}

static HRESULT WINAPI factory_query(IClassFactory *self, REFIID iid, void **out) {
  *out = NULL;
  if (!IsEqualIID(iid, &IID_IUnknown) && !IsEqualIID(iid, &IID_IClassFactory)) return E_NOINTERFACE;
  *out = self;
  return S_OK;
}
static ULONG WINAPI factory_add_ref(IClassFactory *self) {
  (void)self;
  return 2;
}
static ULONG WINAPI factory_release(IClassFactory *self) {
  (void)self;
  return 1;
}

static HRESULT WINAPI factory_create(IClassFactory *self, IUnknown *outer, REFIID iid, void **out) {
  struct camera_class *camera_class = class_from(self);
  *out = NULL;
  if (outer != NULL) return CLASS_E_NOAGGREGATION;
  return camera_create(camera_class->behaviour, iid, out);
}

static HRESULT WINAPI factory_lock(IClassFactory *self, BOOL lock) {
  (void)self;
  if (lock)
    InterlockedIncrement(&server_locks);
  else
    InterlockedDecrement(&server_locks);
  return S_OK;
}

static IClassFactoryVtbl factory_table = {
    .QueryInterface = factory_query,
    .AddRef = factory_add_ref,
    .Release = factory_release,
    .CreateInstance = factory_create,
    .LockServer = factory_lock,
};

/* The CLSIDs that the fixtures register; tests/wine/lib/fixtures.sh names
   the same ones. */
static struct camera_class classes[] = {
    {{&factory_table},
     CAMERA_NORMAL,
     {0xFA5D4002, 0xD2CA, 0x4F7D, {0xB2, 0xF5, 0x4C, 0x0F, 0x75, 0x0A, 0x55, 0x54}}},
    {{&factory_table},
     CAMERA_REFUSES_BIND,
     {0xFE799EF8, 0xCAC1, 0x4502, {0xAF, 0x5B, 0x04, 0x11, 0xFB, 0xBC, 0x89, 0xB4}}},
    {{&factory_table},
     CAMERA_NO_PROPERTY_SET,
     {0x38C7EC83, 0xA6EE, 0x405E, {0xB8, 0x86, 0xEB, 0xA2, 0x73, 0x57, 0xF9, 0xC5}}},
    {{&factory_table},
     CAMERA_SET_FALSE,
     {0xB94690C0, 0xE641, 0x40D5, {0xA4, 0x8D, 0x20, 0xDF, 0x17, 0x99, 0x1C, 0xA6}}},
    {{&factory_table},
     CAMERA_SET_FAILS,
     {0x15374BCE, 0x25CA, 0x4FAB, {0xAC, 0x19, 0xAA, 0x91, 0xBE, 0x80, 0x86, 0x9B}}},
    {{&factory_table},
     CAMERA_ACCESS_DENIED,
     {0x6E0B8C2D, 0x41F7, 0x4A93, {0x8D, 0x52, 0x1C, 0x7A, 0xE4, 0x36, 0x90, 0xB1}}},
    {{&factory_table},
     CAMERA_ANSWERS_GET,
     {0xC2749F1A, 0x8B3E, 0x4D05, {0xA6, 0x1F, 0x53, 0xD8, 0x0E, 0x94, 0x2C, 0x67}}},
};

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void **out) {
  *out = NULL;
  for (size_t i = 0; i < sizeof classes / sizeof classes[0]; ++i)
    if (IsEqualCLSID(clsid, &classes[i].clsid)) return factory_query(&classes[i].factory, iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT WINAPI DllCanUnloadNow(void) {
  return camera_objects_alive() == 0 && server_locks == 0 ? S_OK : S_FALSE;
}
