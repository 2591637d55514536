/* Installs a package silently, handing Windows Installer the properties'
   text as it is given, as Windows' msiexec hands on those of its command
   line: there DEVICENUMBER="" clears DEVICENUMBER. (Wine's msiexec parses its
   command line itself and drops the quotes of an empty value, and the
   property then gets another value.)
   Usage: msi_install <package> <properties>
   Prints Windows Installer's result and exits with it: 0 when installed. */
#include "print.h"

/* After windows.h, which print.h includes. */
#include <msi.h>

int main(int argc, char **argv) {
  if (argc != 3) {
    print("usage: msi_install <package> <properties>\n");
    return 2;
  }
  MsiSetInternalUI(INSTALLUILEVEL_NONE, NULL);
  const UINT result = MsiInstallProductA(argv[1], argv[2]);
  print("%u\n", result);
  return (int)result;
}
