/* The simulated camera: a capture filter that records every property write
   it receives, so a test can see exactly what the program sent. */
#pragma once

#define COBJMACROS
// windows.h first: the other SDK headers build on it.
#include <windows.h>
// clang-format off
#include <ocidl.h>
#include <strmif.h>
// clang-format on

/* What a registration of the camera does when the program reaches it. */
enum camera_behaviour {
  CAMERA_NORMAL,          /* binds; Set answers S_OK */
  CAMERA_REFUSES_BIND,    /* binding fails: Load refuses the registration */
  CAMERA_NO_PROPERTY_SET, /* binds, but has no IKsPropertySet */
  CAMERA_SET_FALSE,       /* binds; Set answers S_FALSE */
  CAMERA_SET_FAILS,       /* binds; Set answers E_FAIL */
  CAMERA_ACCESS_DENIED,   /* binding fails as with camera access turned off */
  CAMERA_ANSWERS_GET      /* binds; says it supports get and set, and a get
                             answers class 2 */
};

const char *camera_behaviour_name(enum camera_behaviour behaviour);

/* Creates a filter object and hands out the interface asked for. */
HRESULT camera_create(enum camera_behaviour behaviour, REFIID iid, void **out);

/* Number of filter objects alive, for DllCanUnloadNow. */
LONG camera_objects_alive(void);

/* Appends one line to the log named by T7105_CAMERA_LOG (ignored when the
   variable is unset). */
void camera_log_line(const char *line);

/* Writes count bytes as upper-case hex into text, which holds 2 * count + 1. */
void camera_hex(const BYTE *bytes, DWORD count, char *text);
