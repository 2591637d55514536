/* The filter object's identity and life: which interfaces it answers to,
   its reference count, and its creation. The log records when the last
   reference goes, so a test can tell that the program let the filter go. */
#include "camera_object.h"

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
    case CAMERA_ACCESS_DENIED:
      return "access-denied";
    case CAMERA_ANSWERS_GET:
      return "answers-get";
  }
  return "unknown";
}

void camera_log_event(struct camera *camera, const char *event) {
  char line[160];
  wsprintfA(line, "%s camera=%s behaviour=%s", event, camera->tag,
            camera_behaviour_name(camera->behaviour));
  camera_log_line(line);
}

HRESULT camera_query(struct camera *camera, REFIID iid, void **out) {
  *out = NULL;
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IPersist) ||
      IsEqualIID(iid, &IID_IMediaFilter) || IsEqualIID(iid, &IID_IBaseFilter))
    *out = &camera->filter;
  else if (IsEqualIID(iid, &IID_IPersistPropertyBag))
    *out = &camera->persist;
  else if (IsEqualIID(iid, &IID_IKsPropertySet) && camera->behaviour != CAMERA_NO_PROPERTY_SET)
    *out = &camera->properties;
  if (*out == NULL) return E_NOINTERFACE;
  InterlockedIncrement(&camera->references);
  return S_OK;
}

ULONG camera_add_ref(struct camera *camera) {
  return (ULONG)InterlockedIncrement(&camera->references);
}

ULONG camera_release(struct camera *camera) {
  LONG left = InterlockedDecrement(&camera->references);
  if (left == 0) {
    camera_log_event(camera, "release");
    HeapFree(GetProcessHeap(), 0, camera);
    InterlockedDecrement(&objects_alive);
  }
  return (ULONG)left;
}

HRESULT camera_create(enum camera_behaviour behaviour, REFIID iid, void **out) {
  *out = NULL;
  struct camera *camera = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *camera);
  if (camera == NULL) return E_OUTOFMEMORY;
  camera->filter.lpVtbl = &camera_filter_table;
  camera->properties.lpVtbl = &camera_properties_table;
  camera->persist.lpVtbl = &camera_persist_table;
  camera->references = 1;
  camera->behaviour = behaviour;
  lstrcpyA(camera->tag, "unnamed");
  InterlockedIncrement(&objects_alive);
  HRESULT result = camera_query(camera, iid, out);
  camera_release(camera);
  return result;
}
