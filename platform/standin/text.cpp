// String functions of kernel32, user32 and the C runtime that the program
// calls. The stand-in's ANSI code page is Windows-1252's Latin-1 range:
// characters above U+00FF have no ANSI form and become '?'.
#include <stdarg.h>
#include <stdio.h>

#include <string>

#include "state.h"

using sim::Fault;

namespace {

int FoldAsciiLetter(unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

}  // namespace

int _stricmp(const char* string1, const char* string2) {
  return _strnicmp(string1, string2, static_cast<size_t>(-1));
}

int _strnicmp(const char* string1, const char* string2, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const int a = FoldAsciiLetter(static_cast<unsigned char>(string1[i]));
    const int b = FoldAsciiLetter(static_cast<unsigned char>(string2[i]));
    if (a != b || a == 0) return a - b;
  }
  return 0;
}

// Like the platform, measures both strings whole before comparing them, so
// a string without a terminator is read past its end here too.
int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) {
  sim::EnterOperation("lstrcmpiA");
  const volatile size_t measured = strlen(lpString1) + strlen(lpString2);
  (void)measured;
  const int order = _stricmp(lpString1, lpString2);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int WINAPI lstrlenA(LPCSTR lpString) {
  sim::EnterOperation("lstrlenA");
  return lpString == nullptr ? 0 : static_cast<int>(strlen(lpString));
}

// wsprintfA's "l" size prefix means the 32-bit long of Windows; the host's
// long may be wider, so the prefix is dropped before the host formats.
// Output is limited to 1024 characters, as the platform limits it. A format
// that is made to fail writes nothing and returns 0.
int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...) {
  if (sim::EnterOperation("wsprintfA") == Fault::kFail) return 0;
  std::string format;
  for (const char* p = lpFmt; *p != '\0'; ++p) {
    format += *p;
    if (*p == '%' && p[1] == 'l') ++p;
  }
  va_list args;
  va_start(args, lpFmt);
  char out[1025];
  const int length = vsnprintf(out, sizeof out, format.c_str(), args);
  va_end(args);
  if (length < 0) return 0;
  const size_t written = strlen(out);
  memcpy(lpOut, out, written + 1);
  return static_cast<int>(written);
}

// Converts as the platform does for CP_ACP: with -1 as the length the
// terminator is converted too; a destination that is too small receives as
// many bytes as fit, no terminator, and the result is 0. A conversion made
// to succeed without output reports the bytes it would have written.
int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
  (void)CodePage;
  (void)dwFlags;
  (void)lpDefaultChar;
  const Fault fault = sim::EnterOperation("WideCharToMultiByte");
  if (fault == Fault::kFail) return 0;
  if (lpWideCharStr == nullptr || cbMultiByte < 0) return 0;
  std::string converted;
  bool usedDefault = false;
  for (int i = 0; cchWideChar < 0 || i < cchWideChar; ++i) {
    const WCHAR c = lpWideCharStr[i];
    if (c <= 0xFF) {
      converted += static_cast<char>(c);
    } else {
      converted += '?';
      usedDefault = true;
    }
    if (cchWideChar < 0 && c == 0) break;
  }
  const int needed = static_cast<int>(converted.size());
  if (fault == Fault::kSucceedWithoutOutput) return needed;
  if (lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
  if (cbMultiByte == 0) return needed;
  if (needed > cbMultiByte) {
    memcpy(lpMultiByteStr, converted.data(), static_cast<size_t>(cbMultiByte));
    return 0;
  }
  memcpy(lpMultiByteStr, converted.data(), static_cast<size_t>(needed));
  return needed;
}
