/* Prints one registry value exactly (see registry_value.h).
   Usage: reg_value HKLM|HKCU|HKCR <key> <value name> ("" for the default)
   Exit code 3 when the value is missing. */
#include "print.h"
#include "registry_value.h"

int main(int argc, char **argv) {
  if (argc != 4) {
    print("usage: reg_value HKLM|HKCU|HKCR <key> <value name>\n");
    return 2;
  }
  HKEY root = HKEY_LOCAL_MACHINE;
  if (lstrcmpiA(argv[1], "HKCU") == 0) root = HKEY_CURRENT_USER;
  if (lstrcmpiA(argv[1], "HKCR") == 0) root = HKEY_CLASSES_ROOT;
  return print_registry_value(root, argv[2], argv[3]) ? 0 : 3;
}
