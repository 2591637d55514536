/* The simulated camera's filter object, shared by the files that implement
   its interfaces: one record, three interface pointers into it, one count. */
#pragma once

#include <stddef.h>

#include "camera.h"

struct camera {
  IBaseFilter filter;
  IKsPropertySet properties;
  IPersistPropertyBag persist;
  LONG references;
  enum camera_behaviour behaviour;
  char tag[64]; /* the registration's CameraId, once Load has read it */
};

#define CAMERA_FROM(iface, member) \
  ((struct camera *)((char *)(iface)-offsetof(struct camera, member)))

HRESULT camera_query(struct camera *camera, REFIID iid, void **out);
ULONG camera_add_ref(struct camera *camera);
ULONG camera_release(struct camera *camera);

/* Logs "<event> camera=<tag> behaviour=<name>". */
void camera_log_event(struct camera *camera, const char *event);

extern IBaseFilterVtbl camera_filter_table;
extern IKsPropertySetVtbl camera_properties_table;
extern IPersistPropertyBagVtbl camera_persist_table;
