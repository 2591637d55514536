// The program itself: where it is, its version, its logon entry, whether
// Windows' Startup apps switch disables that entry, and the command that the
// report is about.
#include "app/command_tail.h"
#include "region/sixty_hertz_region.h"
#include "report/output.h"
#include "report/run_picture.h"

namespace {

const char kProgramName[] = "T7105Cfg.exe";
const char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kStartupApprovedPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
// More than the program ever writes: its entry is formed in MAX_PATH bytes.
const DWORD kEntrySize = 2048;

void ReportFileVersion(Output* out, const char* path) {
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &unused);
  void* block = size != 0 ? HeapAlloc(GetProcessHeap(), 0, size) : NULL;
  VS_FIXEDFILEINFO* fixed = NULL;
  UINT fixedSize = 0;
  if (block != NULL && GetFileVersionInfoA(path, 0, size, block) &&
      VerQueryValueA(block, "\\", reinterpret_cast<void**>(&fixed), &fixedSize) && fixed != NULL &&
      fixedSize >= sizeof *fixed) {
    char version[48];
    wsprintfA(version, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
              LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
              LOWORD(fixed->dwFileVersionLS));
    PutWords(out, "version\0file version", version);
  } else {
    PutNone(out, "version\0file version", "unreadable");
  }
  if (block != NULL) HeapFree(GetProcessHeap(), 0, block);
}

// The logon entry's bare name resolves in the System folder.
void ReportLocation(Output* out, RunPicture* run) {
  char path[MAX_PATH + sizeof kProgramName + 1];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  run->programMissing = 1;
  if (length != 0 && length < MAX_PATH) {
    path[length] = '\\';
    memcpy(path + length + 1, kProgramName, sizeof kProgramName);
    run->programMissing = GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
  }
  if (run->programMissing) {
    PutNone(out, "path\0T7105Cfg.exe", "not found in the System folder");
    PutNone(out, "version\0file version", "none");
  } else {
    PutAnsi(out, "path\0T7105Cfg.exe", path);
    ReportFileVersion(out, path);
  }
}

// Whether the command starts the program: its first word, quoted or not,
// names T7105Cfg.exe, with or without a folder.
int IsProgramCommand(const char* command) {
  const char* start = command[0] == '"' ? command + 1 : command;
  const char* end = FindCommandTail(command);
  while (end > start && (static_cast<unsigned char>(end[-1]) <= ' ' || end[-1] == '"')) --end;
  const char* name = end;
  while (name > start && name[-1] != '\\' && name[-1] != '/') --name;
  const size_t length = static_cast<size_t>(end - name);
  return length == sizeof kProgramName - 1 && _strnicmp(name, kProgramName, length) == 0;
}

// Reads one value of a key as it is stored; the status is the read's, or
// the open's when the key does not open.
LONG ReadValue(HKEY root, const char* path, DWORD* type, void* data, DWORD* size) {
  HKEY key = NULL;
  LONG status = RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key);
  if (status == ERROR_SUCCESS) {
    status = RegQueryValueExA(key, kProgramName, NULL, type, static_cast<BYTE*>(data), size);
    RegCloseKey(key);
  }
  return status;
}

// Reads the Run value into `text` (kEntrySize + 1 bytes) and reports it as it
// is stored. Returns the text when it is the program's own REG_SZ command,
// else NULL; `why` then says why it is not reported on.
const char* ReadEntry(Output* out, char* text, const char** why) {
  DWORD type = REG_NONE;
  DWORD size = kEntrySize;
  const char* command = NULL;
  const LONG status = ReadValue(HKEY_LOCAL_MACHINE, kRunKeyPath, &type, text, &size);
  text[status == ERROR_SUCCESS ? size : 0] = '\0';
  *why = "no logon entry";
  if (status == ERROR_SUCCESS) {
    PutAnsi(out, "entry\0logon entry", text);
    PutNumber(out, "entryType\0its registry type", static_cast<LONG>(type));
    if (type != REG_SZ) {
      *why = "the logon entry is not REG_SZ";
    } else if (IsProgramCommand(text)) {
      command = text;
    } else {
      *why = "the logon entry does not start T7105Cfg.exe";
    }
  } else if (status == ERROR_MORE_DATA) {
    PutNone(out, "entry\0logon entry", "longer than 2048 bytes");
    *why = "the logon entry is too long for the program";
  } else if (status == ERROR_FILE_NOT_FOUND) {
    PutNone(out, "entry\0logon entry", "absent");
  } else {
    PutCode(out, "entry\0logon entry unreadable", static_cast<DWORD>(status), NULL);
  }
  return command;
}

// The Startup apps switch keeps a binary value named like the Run value; an
// odd first byte turns the entry off without removing it.
int ReportStartupSwitch(Output* out, HKEY root, const char* name) {
  BYTE data[16];
  DWORD type = REG_NONE;
  DWORD size = sizeof data;
  const LONG status = ReadValue(root, kStartupApprovedPath, &type, data, &size);
  const int readable =
      (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) && size != 0 && type == REG_BINARY;
  const int disabled = readable && status == ERROR_SUCCESS && (data[0] & 1) != 0;
  const char* state = "no switch";
  if (readable) state = disabled ? "disabled" : "enabled";
  PutWords(out, name, state);
  return disabled;
}

// Reads the command's switches with the program's own parser.
void ReportCommand(Output* out, RunPicture* run, const char* tail, const char* from) {
  char* tokens = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, strlen(tail) + 1));
  PutAnsi(out, "switches\0T7105Cfg.exe with the switches", tail);
  PutWords(out, "from\0taken from", from);
  if (tokens != NULL) {
    ParseCommandTail(&run->options, tail, tokens);
    HeapFree(GetProcessHeap(), 0, tokens);
  } else {
    PutNone(out, "parsed\0switches read", "no memory to read them");
  }
}

}  // namespace

void ReportProgram(Output* out, RunPicture* run, const char* commandTail) {
  char entry[kEntrySize + 1];
  const char* why = NULL;
  BeginSection(out, "program\0The program");
  ReportLocation(out, run);
  const char* entryCommand = ReadEntry(out, entry, &why);
  const int machineOff =
      ReportStartupSwitch(out, HKEY_LOCAL_MACHINE, "startupMachine\0Startup apps switch (machine)");
  const int userOff =
      ReportStartupSwitch(out, HKEY_CURRENT_USER, "startupUser\0Startup apps switch (user)");
  if (commandTail[0] != '\0') {
    ReportCommand(out, run, commandTail, "the command line given");
  } else if (entryCommand != NULL) {
    run->fromEntry = 1;
    run->entryDisabled = machineOff || userOff;
    ReportCommand(out, run, FindCommandTail(entryCommand),
                  "the logon entry, run at the next logon");
  } else {
    ReportCommand(out, run, "", why);
  }
  EndSection(out);
}
