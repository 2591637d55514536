#include "print.h"

#include <stdarg.h>

static void write_out(const char *text, DWORD length) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, length, &written, NULL);
}

void print(const char *format, ...) {
  char line[1025];
  va_list arguments;
  va_start(arguments, format);
  int length = wvsprintfA(line, format, arguments);
  va_end(arguments);
  if (length > 0) write_out(line, (DWORD)length);
}

void print_hex(const BYTE *bytes, DWORD count) {
  static const char digits[] = "0123456789ABCDEF";
  for (DWORD i = 0; i < count; ++i) {
    char pair[2] = {digits[bytes[i] >> 4], digits[bytes[i] & 15]};
    write_out(pair, 2);
  }
}
