#include "capture/source_name.h"

namespace {

const OLECHAR kFriendlyName[] = L"FriendlyName";

// Converts the string that a read left in value and frees it, so that value
// never keeps a string. Returns 1 when name then holds the whole name.
int TakeName(VARIANT* value, char* name) {
  int taken = 0;
  if (value->vt == VT_BSTR && value->bstrVal != NULL) {
    name[0] = '\0';
    name[MAX_PATH - 1] = '\0';
    // A name too long for the buffer arrives cut and without a terminator;
    // it is no shorter name, so it is not taken at all.
    taken = WideCharToMultiByte(CP_ACP, 0, value->bstrVal, -1, name, MAX_PATH, NULL, NULL) > 0 &&
            name[MAX_PATH - 1] == '\0';
    SysFreeString(value->bstrVal);
    value->bstrVal = NULL;
  }
  return taken;
}

}  // namespace

int ReadSourceName(IMoniker* source, char* name) {
  int read = 0;
  IPropertyBag* bag = NULL;
  if (SUCCEEDED(
          source->BindToStorage(NULL, NULL, IID_IPropertyBag, reinterpret_cast<void**>(&bag))) &&
      bag != NULL) {
    VARIANT value;
    memset(&value, 0, sizeof value);
    value.vt = VT_BSTR;
    if (SUCCEEDED(bag->Read(kFriendlyName, &value, NULL))) read = TakeName(&value, name);
    bag->Release();
  }
  return read;
}
