/* Waits until no process of an image name runs: the programs that a
   simulated logon started and did not wait for. The prefix's wineserver is
   persistent, so waiting for it to end would never return.
   Usage: process_wait <image name> <seconds>
   Prints how many processes it waited for; exit code 1 when one still runs
   after the given seconds. */
#include <stdlib.h>

#include "print.h"

/* After windows.h, which print.h includes. */
#include <tlhelp32.h>

/* One process of that name that has not ended yet, opened for waiting, or
   NULL when there is none. */
static HANDLE open_running(const char *image_name) {
  HANDLE found = NULL;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return NULL;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more && found == NULL;
       more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, image_name) != 0) continue;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (process != NULL && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
      found = process;
    } else if (process != NULL) {
      CloseHandle(process);
    }
  }
  CloseHandle(snapshot);
  return found;
}

int main(int argc, char **argv) {
  if (argc != 3) {
    print("usage: process_wait <image name> <seconds>\n");
    return 2;
  }
  const DWORD start = GetTickCount();
  const DWORD limit = (DWORD)atoi(argv[2]) * 1000;
  int ended = 0;
  HANDLE process;
  while ((process = open_running(argv[1])) != NULL) {
    const DWORD spent = GetTickCount() - start;
    const DWORD result = WaitForSingleObject(process, spent < limit ? limit - spent : 0);
    CloseHandle(process);
    if (result != WAIT_OBJECT_0) {
      print("still running: %s\n", argv[1]);
      return 1;
    }
    ++ended;
  }
  print("ended: %d\n", ended);
  return 0;
}
