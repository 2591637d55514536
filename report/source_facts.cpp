// The capture sources: every video-input source's name, the name the
// program composes, the first source of that name, how its bind answers,
// whether its filter gives the property interface, and what the driver says
// of the mains-frequency property when asked, which the program never does.
// Nothing is ever set.
#include <stddef.h>

#include "capture/instance_suffix.h"
#include "capture/power_line.h"
#include "capture/source_name.h"
#include "report/output.h"
#include "report/run_picture.h"

namespace {

// The camera driver's vendor property set, and its mains-frequency property.
const GUID kVendorPropertySet = {
    0x4b1e93d2, 0x6c07, 0x4f5a, {0x9e, 0x21, 0x7d, 0x38, 0xa0, 0xc4, 0xb6, 0x15}};
const DWORD kPowerLineProperty = 15;
// What Kernel Streaming answers for a property set the driver does not know:
// ERROR_SET_NOT_FOUND as an HRESULT.
const HRESULT kSetNotFound = static_cast<HRESULT>(0x80070492);

const char* Meaning(HRESULT result) {
  switch (result) {
    case S_OK:
      return "success";
    case E_ACCESSDENIED:
      return "camera access is off for desktop apps: Settings > Privacy & security > Camera";
    case E_NOINTERFACE:
      return "no such interface";
    case E_NOTIMPL:
      return "not implemented";
    case kSetNotFound:
      return "no such property set";
    default:
      return NULL;
  }
}

void ReportCode(Output* out, const char* name, HRESULT result) {
  PutCode(out, name, static_cast<DWORD>(result), Meaning(result));
}

// The name as the platform gives it, every character of it.
void ReportSourceName(Output* out, IMoniker* source) {
  IPropertyBag* bag = NULL;
  VARIANT value;
  memset(&value, 0, sizeof value);
  value.vt = VT_BSTR;
  if (SUCCEEDED(
          source->BindToStorage(NULL, NULL, IID_IPropertyBag, reinterpret_cast<void**>(&bag))) &&
      bag != NULL && SUCCEEDED(bag->Read(L"FriendlyName", &value, NULL)) && value.vt == VT_BSTR &&
      value.bstrVal != NULL) {
    PutWide(out, "name\0FriendlyName", value.bstrVal);
  } else {
    PutNone(out, "name\0FriendlyName", "unreadable");
  }
  if (value.vt == VT_BSTR && value.bstrVal != NULL) SysFreeString(value.bstrVal);
  if (bag != NULL) bag->Release();
}

// Lists the sources (none without an enumerator: an empty category gives
// none) and returns the first whose name, read and compared as
// the program reads and compares it, is the composed name (a reference the
// caller releases), with its number from 1.
IMoniker* ListSources(Output* out, IEnumMoniker* sources, const char* friendlyName, DWORD* index) {
  IMoniker* match = NULL;
  IMoniker* source = NULL;
  ULONG fetched = 0;
  DWORD count = 0;
  char name[MAX_PATH];
  BeginList(out, "sources\0");
  if (sources != NULL) sources->Reset();
  while (sources != NULL && sources->Next(1, &source, &fetched) == S_OK && fetched == 1 &&
         source != NULL) {
    ++count;
    if (count <= kListedItems) {
      BeginItem(out, "\0capture source");
      ReportSourceName(out, source);
      EndItem(out);
    }
    if (match == NULL && ReadSourceName(source, name) && _stricmp(name, friendlyName) == 0) {
      match = source;
      match->AddRef();
      *index = count;
    }
    source->Release();
    source = NULL;
  }
  EndList(out);
  PutNumber(out, "count\0capture sources", static_cast<LONG>(count));
  return match;
}

// Asks the driver about the property, as a deployer would want to know, and
// reads the class it holds where it says it answers a get.
void AskDriver(Output* out, IKsPropertySet* properties) {
  DWORD support = 0;
  const HRESULT asked =
      properties->QuerySupported(kVendorPropertySet, kPowerLineProperty, &support);
  ReportCode(out, "supported\0QuerySupported", asked);
  if (SUCCEEDED(asked))
    PutNumber(out, "support\0support flags (1 get, 2 set)", static_cast<LONG>(support));
  if (SUCCEEDED(asked) && (support & KSPROPERTY_SUPPORT_GET) != 0) {
    PowerLineBlock instance;
    PowerLineBlock data;
    memset(&instance, 0, sizeof instance);
    memset(&data, 0, sizeof data);
    DWORD returned = 0;
    const HRESULT got = properties->Get(kVendorPropertySet, kPowerLineProperty, &instance,
                                        sizeof instance, &data, sizeof data, &returned);

    if (SUCCEEDED(got) && returned >= offsetof(PowerLineBlock, frequencyClass) + sizeof(LONG)) {
      PutNumber(out, "held\0class the driver holds", data.frequencyClass);
    } else {
      PutNone(out, "held\0class the driver holds", "its get fails");
    }
  } else {
    PutNone(out, "held\0class the driver holds", "it answers no get");
  }
}

// Binds the matching source and asks its filter for the property-set
// interface, as the program does.
void BindSource(Output* out, RunPicture* run, IMoniker* match) {
  IBaseFilter* filter = NULL;
  IKsPropertySet* properties = NULL;
  run->bindResult =
      match->BindToObject(NULL, NULL, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
  ReportCode(out, "bind\0bind", run->bindResult);
  if (SUCCEEDED(run->bindResult) && filter != NULL) {
    run->propertySet = SUCCEEDED(filter->QueryInterface(IID_IKsPropertySet,
                                                        reinterpret_cast<void**>(&properties))) &&
                       properties != NULL;
    PutFlag(out, "propertySet\0IKsPropertySet", run->propertySet, "given", "not given");
    if (run->propertySet) {
      AskDriver(out, properties);
      properties->Release();
    }
    filter->Release();
  } else {
    PutNone(out, "propertySet\0IKsPropertySet", "no filter");
  }
}

void SearchSources(Output* out, RunPicture* run) {
  ICreateDevEnum* devices = NULL;
  IEnumMoniker* sources = NULL;
  HRESULT result = CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER,
                                    IID_ICreateDevEnum, reinterpret_cast<void**>(&devices));
  if (SUCCEEDED(result) && devices != NULL) {
    result = devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &sources, 0);
    devices->Release();
  }
  if (FAILED(result)) ReportCode(out, "listing\0video-input sources unlisted", result);
  DWORD index = 0;
  IMoniker* match = ListSources(out, sources, run->friendlyName, &index);
  PutAnsi(out, "name\0name composed", run->friendlyName);
  if (match != NULL) {
    run->sourceMatched = 1;
    PutNumber(out, "match\0matching source", static_cast<LONG>(index));
    BindSource(out, run, match);
    match->Release();
  } else {
    PutNone(out, "match\0matching source", "none of that name");
  }
  if (sources != NULL) sources->Release();
}

}  // namespace

void ReportSources(Output* out, RunPicture* run) {
  BeginSection(out, "sources\0Capture sources");
  AppendInstanceSuffix(run->friendlyName, run->options.deviceNumber);
  const HRESULT begun = CoInitialize(NULL);
  if (SUCCEEDED(begun)) {
    SearchSources(out, run);
    CoUninitialize();
  } else {
    ReportCode(out, "com\0COM could not begin", begun);
  }
  EndSection(out);
}
