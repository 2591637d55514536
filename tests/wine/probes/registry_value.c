#include "registry_value.h"

#include "print.h"

int print_registry_value(HKEY root, const char *key, const char *name) {
  static BYTE data[65536];
  HKEY opened = NULL;
  DWORD type = 0, size = sizeof data;
  LONG result = RegOpenKeyExA(root, key, 0, KEY_READ, &opened);
  if (result == ERROR_SUCCESS) {
    result = RegQueryValueExA(opened, name != NULL && name[0] != '\0' ? name : NULL, NULL, &type,
                              data, &size);
    RegCloseKey(opened);
  }
  if (result != ERROR_SUCCESS) {
    print("missing\n");
    return 0;
  }
  print("type=%lu size=%lu bytes=", type, size);
  print_hex(data, size);
  print("\n");
  return 1;
}
