/* IKsPropertySet of the simulated camera: Set records everything it
   receives and answers as the camera's behaviour says. Get and
   QuerySupported, which the program never uses and the report may, are
   logged; only a camera that answers a get says it supports one. */
#include "camera_object.h"

/* Longest property buffer the log spells out in full. */
#define LOGGED_BYTES 4096

static HRESULT WINAPI properties_query(IKsPropertySet *self, REFIID iid, void **out) {
  return camera_query(CAMERA_FROM(self, properties), iid, out);
}
static ULONG WINAPI properties_add_ref(IKsPropertySet *self) {
  return camera_add_ref(CAMERA_FROM(self, properties));
}
static ULONG WINAPI properties_release(IKsPropertySet *self) {
  return camera_release(CAMERA_FROM(self, properties));
}

/* Appends " name=" and up to LOGGED_BYTES of a buffer in hex ("null" for no
   buffer). wsprintfA stops at 1024 characters, so the hex is appended here. */
static void append_hex_field(char *line, const char *name, const void *bytes, DWORD length) {
  static char hex[2 * LOGGED_BYTES + 1];
  lstrcatA(line, " ");
  lstrcatA(line, name);
  lstrcatA(line, "=");
  if (bytes == NULL) {
    lstrcatA(line, "null");
    return;
  }
  camera_hex(bytes, length < LOGGED_BYTES ? length : LOGGED_BYTES, hex);
  lstrcatA(line, hex);
}

static HRESULT WINAPI properties_set(IKsPropertySet *self, REFGUID set, DWORD id, void *instance,
                                     DWORD instance_length, void *data, DWORD data_length) {
  struct camera *camera = CAMERA_FROM(self, properties);
  HRESULT answer = S_OK;
  if (camera->behaviour == CAMERA_SET_FALSE) answer = S_FALSE;
  if (camera->behaviour == CAMERA_SET_FAILS) answer = E_FAIL;
  static char line[4 * LOGGED_BYTES + 512];
  char tail[32];
  wsprintfA(line,
            "set camera=%s behaviour=%s "
            "set={%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X} id=%lu "
            "instance_length=%lu data_length=%lu",
            camera->tag, camera_behaviour_name(camera->behaviour), set->Data1, set->Data2,
            set->Data3, set->Data4[0], set->Data4[1], set->Data4[2], set->Data4[3], set->Data4[4],
            set->Data4[5], set->Data4[6], set->Data4[7], id, instance_length, data_length);
  append_hex_field(line, "instance", instance, instance_length);
  append_hex_field(line, "data", data, data_length);
  wsprintfA(tail, " answer=0x%08lX", (unsigned long)answer);
  lstrcatA(line, tail);
  camera_log_line(line);
  return answer;
}

/* The class such a camera holds, at byte 24 of the 72-byte block. */
#define HELD_CLASS 2
#define BLOCK_LENGTH 72

static HRESULT WINAPI properties_get(IKsPropertySet *self, REFGUID set, DWORD id, void *instance,
                                     DWORD instance_length, void *data, DWORD data_length,
                                     DWORD *returned) {
  struct camera *camera = CAMERA_FROM(self, properties);
  (void)set;
  (void)id;
  (void)instance;
  (void)instance_length;
  camera_log_event(camera, "get");
  if (camera->behaviour != CAMERA_ANSWERS_GET) return E_NOTIMPL;
  if (data == NULL || data_length < BLOCK_LENGTH || returned == NULL) return E_INVALIDARG;
  ZeroMemory(data, BLOCK_LENGTH);
  ((BYTE *)data)[24] = HELD_CLASS;
  *returned = BLOCK_LENGTH;
  return S_OK;
}

static HRESULT WINAPI properties_supported(IKsPropertySet *self, REFGUID set, DWORD id,
                                           DWORD *support) {
  struct camera *camera = CAMERA_FROM(self, properties);
  (void)set;
  (void)id;
  camera_log_event(camera, "query-supported");
  if (camera->behaviour != CAMERA_ANSWERS_GET) return E_NOTIMPL;
  *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
  return S_OK;
}

IKsPropertySetVtbl camera_properties_table = {
    .QueryInterface = properties_query,
    .AddRef = properties_add_ref,
    .Release = properties_release,
    .Set = properties_set,
    .Get = properties_get,
    .QuerySupported = properties_supported,
};
