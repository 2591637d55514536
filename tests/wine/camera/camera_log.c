/* The camera's log: one line per event, appended, so a run's events read
   back in the order the program caused them. */
#include "camera.h"

void camera_log_line(const char *line) {
  char path[MAX_PATH] = "";
  DWORD length = GetEnvironmentVariableA("T7105_CAMERA_LOG", path, sizeof path);
  if (length == 0 || length >= sizeof path) return;
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
  WriteFile(file, "\n", 1, &written, NULL);
  CloseHandle(file);
}

void camera_hex(const BYTE *bytes, DWORD count, char *text) {
  static const char digits[] = "0123456789ABCDEF";
  for (DWORD i = 0; i < count; ++i) {
    text[2 * i] = digits[bytes[i] >> 4];
    text[2 * i + 1] = digits[bytes[i] & 15];
  }
  text[2 * count] = '\0';
}
