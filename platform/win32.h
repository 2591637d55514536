// The one place that chooses the platform. On Windows the product code sees
// the SDK's own headers; on other hosts it sees the stand-in, which declares
// the same names over a simulated machine that the tests script.
#pragma once

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// windows.h comes first: the other SDK headers build on it.
#include <windows.h>
// clang-format off
#include <setupapi.h>
#include <cfgmgr32.h>
#include <devguid.h>
#include <ole2.h>
#include <oleauto.h>
#include <strmif.h>
#include <uuids.h>
#include <ks.h>
#include <winnls.h>
#include <string.h>
// clang-format on

#else

#include "standin/windows.h"

#endif
