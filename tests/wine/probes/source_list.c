/* The video-input capture sources, walked as the program walks them. */
#define COBJMACROS
#include "source_list.h"

#include "print.h"
// print.h brought windows.h, which the other SDK headers build on.
// clang-format off
#include <ocidl.h>
#include <strmif.h>
#include <uuids.h>
// clang-format on

static const GUID probe_set = {
    0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};

/* One text value of the source's registration, in the ANSI code page;
   empty when it cannot be read. */
static void read_value(IPropertyBag *bag, const WCHAR *name, char *text, int size) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  text[0] = '\0';
  if (SUCCEEDED(IPropertyBag_Read(bag, name, &value, NULL)) && value.vt == VT_BSTR &&
      value.bstrVal != NULL)
    WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, text, size, NULL, NULL);
  text[size - 1] = '\0';
  VariantClear(&value);
}

static void read_source(IMoniker *moniker, char *name, char *id, int size) {
  IPropertyBag *bag = NULL;
  name[0] = '\0';
  id[0] = '\0';
  if (FAILED(IMoniker_BindToStorage(moniker, NULL, NULL, &IID_IPropertyBag, (void **)&bag))) return;
  read_value(bag, L"FriendlyName", name, size);
  read_value(bag, L"CameraId", id, size);
  IPropertyBag_Release(bag);
}

static void probe(IMoniker *moniker, const char *name) {
  IBaseFilter *filter = NULL;
  HRESULT result = IMoniker_BindToObject(moniker, NULL, NULL, &IID_IBaseFilter, (void **)&filter);
  print("probe name=%s bind=0x%08lX", name, (unsigned long)result);
  if (SUCCEEDED(result)) {
    IKsPropertySet *properties = NULL;
    result = IBaseFilter_QueryInterface(filter, &IID_IKsPropertySet, (void **)&properties);
    print(" property-set=0x%08lX", (unsigned long)result);
    if (SUCCEEDED(result)) {
      BYTE instance[4] = {0xDE, 0xAD, 0xBE, 0xEF};
      BYTE data[3] = {1, 2, 3};
      result = IKsPropertySet_Set(properties, &probe_set, 99, instance, sizeof instance, data,
                                  sizeof data);
      print(" write=0x%08lX", (unsigned long)result);
      IKsPropertySet_Release(properties);
    }
    IBaseFilter_Release(filter);
  }
  print("\n");
}

void print_sources(char **probed, int count) {
  if (FAILED(CoInitialize(NULL))) return;
  ICreateDevEnum *devices = NULL;
  IEnumMoniker *sources = NULL;
  if (SUCCEEDED(CoCreateInstance(&CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER,
                                 &IID_ICreateDevEnum, (void **)&devices))) {
    ICreateDevEnum_CreateClassEnumerator(devices, &CLSID_VideoInputDeviceCategory, &sources, 0);
    ICreateDevEnum_Release(devices);
  }
  IMoniker *moniker = NULL;
  while (sources != NULL && IEnumMoniker_Next(sources, 1, &moniker, NULL) == S_OK) {
    char name[260], id[260];
    read_source(moniker, name, id, sizeof name);
    print("source id=%s name=%s\n", id, name);
    /* A name is probed once, at its first source; it is then struck off. */
    for (int i = 0; i < count; ++i)
      if (probed[i] != NULL && lstrcmpiA(name, probed[i]) == 0) {
        probe(moniker, probed[i]);
        probed[i] = NULL;
      }
    IMoniker_Release(moniker);
  }
  if (sources != NULL) IEnumMoniker_Release(sources);
  CoUninitialize();
}
