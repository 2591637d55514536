#include "app/logon_entry.h"

#include "region/sixty_hertz_region.h"

namespace {

const char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kLogonEntryName[] = "T7105Cfg.exe";

// A command that could not be formed is not stored: an empty entry would
// start nothing at the next logon.
void WriteLogonEntry(HKEY runKey, LONG deviceNumber, LONG mainsFrequency) {
  char command[MAX_PATH];
  command[0] = '\0';
  int formed = 0;
  if (deviceNumber != 0) {
    formed = wsprintfA(command, "%s /d:%ld", kLogonEntryName, deviceNumber);
  } else {
    formed = wsprintfA(command, "%s", kLogonEntryName);
  }
  // The override goes last, so that an entry without one keeps its bytes.
  if (formed > 0 && mainsFrequency != 0) {
    const char* override = mainsFrequency == kMainsFrequencyAuto ? " /hz:auto" : " /hz:%ld";
    const int added = wsprintfA(command + formed, override, mainsFrequency);
    formed = added > 0 ? formed + added : 0;
  }
  command[MAX_PATH - 1] = '\0';
  // The stored data includes the terminating NUL.
  if (formed > 0) {
    RegSetValueExA(runKey, kLogonEntryName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                   static_cast<DWORD>(lstrlenA(command) + 1));
  }
}

}  // namespace

void UpdateLogonEntry(LONG deviceNumber, LONG mainsFrequency, int install) {
  HKEY runKey = NULL;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKeyPath, 0, KEY_READ | KEY_WRITE, &runKey) ==
          ERROR_SUCCESS &&
      runKey != NULL) {
    if (install) {
      WriteLogonEntry(runKey, deviceNumber, mainsFrequency);
    } else {
      RegDeleteValueA(runKey, kLogonEntryName);
    }
    RegCloseKey(runKey);
  }
}
