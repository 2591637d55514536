/* Reads back, in one process, everything a scenario sets up on the machine,
   through the calls the program itself makes: the logon entry, the user's
   country, the device nodes and the capture sources. Output:
     run: <Run value, as registry_value.h>
     country: <the Geo "Nation" value, likewise>
     image|usb ... lines (device_list.h), then source ... lines (source_list.h) */
#include "device_list.h"
#include "print.h"
#include "registry_value.h"
#include "source_list.h"

int main(void) {
  print("run: ");
  print_registry_value(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                       "T7105Cfg.exe");
  print("country: ");
  print_registry_value(HKEY_CURRENT_USER, "Control Panel\\International\\Geo", "Nation");
  print_devices();
  print_sources(NULL, 0);
  return 0;
}
