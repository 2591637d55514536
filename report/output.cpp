#include "report/output.h"

namespace {

const DWORD kFirstSize = 4096;

// Makes room for `more` bytes; a buffer that cannot grow stops taking text.
int Reserve(Output* out, DWORD more) {
  if (out->failed) return 0;
  if (out->length + more > out->size) {
    DWORD size = out->size != 0 ? out->size : kFirstSize;
    while (out->length + more > size) size *= 2;
    void* grown = out->text == NULL ? HeapAlloc(GetProcessHeap(), 0, size)
                                    : HeapReAlloc(GetProcessHeap(), 0, out->text, size);
    if (grown == NULL) {
      out->failed = 1;
      return 0;
    }
    out->text = static_cast<char*>(grown);
    out->size = size;
  }
  return 1;
}

void Append(Output* out, const char* bytes, DWORD count) {
  if (Reserve(out, count)) {
    memcpy(out->text + out->length, bytes, count);
    out->length += count;
  }
}

void AppendZ(Output* out, const char* text) { Append(out, text, lstrlenA(text)); }

// Characters that would break a JSON string, or a line, go out as escapes;
// everything else as UTF-8, a run of them at a time, so that no surrogate
// pair is cut.
int MustEscape(const Output* out, WCHAR c) {
  return c < 0x20 || (out->json && (c == L'"' || c == L'\\'));
}

void AppendEscape(Output* out, WCHAR c) {
  char escape[8];
  if (c == L'"' || c == L'\\') {
    escape[0] = '\\';
    escape[1] = static_cast<char>(c);
    escape[2] = '\0';
  } else {
    wsprintfA(escape, "\\u%04x", static_cast<unsigned>(c));
  }
  AppendZ(out, escape);
}

void AppendRun(Output* out, const WCHAR* run, int count) {
  const DWORD most = static_cast<DWORD>(count) * 3;
  if (count > 0 && Reserve(out, most)) {
    out->length += static_cast<DWORD>(WideCharToMultiByte(
        CP_UTF8, 0, run, count, out->text + out->length, static_cast<int>(most), NULL, NULL));
  }
}

void AppendWide(Output* out, const WCHAR* text) {
  int start = 0;
  int at = 0;
  for (; text[at] != L'\0'; ++at) {
    if (MustEscape(out, text[at])) {
      AppendRun(out, text + start, at - start);
      AppendEscape(out, text[at]);
      start = at + 1;
    }
  }
  AppendRun(out, text + start, at - start);
}

// Text of the ANSI code page goes through UTF-16 on its way to UTF-8.
void AppendAnsi(Output* out, const char* text) {
  const int count = MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
  WCHAR* wide =
      count > 0 ? static_cast<WCHAR*>(HeapAlloc(GetProcessHeap(), 0, count * sizeof(WCHAR))) : NULL;
  if (wide != NULL && MultiByteToWideChar(CP_ACP, 0, text, -1, wide, count) == count) {
    AppendWide(out, wide);
  } else {
    out->failed = 1;
  }
  if (wide != NULL) HeapFree(GetProcessHeap(), 0, wide);
}

void Indent(Output* out) {
  for (int level = 0; level < out->depth; ++level) AppendZ(out, "  ");
}

// Opens a member: in JSON the comma before it, its key (the name's text
// before its NUL, none when empty) and `open`; in plain words, when its
// label (after the NUL) is not empty, the indent, the label and `after`.
void Begin(Output* out, const char* name, const char* open, const char* after) {
  const char* label = name + lstrlenA(name) + 1;
  if (out->json) {
    if (!out->first) AppendZ(out, ",");
    if (name[0] != '\0') {
      AppendZ(out, "\"");
      AppendZ(out, name);
      AppendZ(out, "\":");
    }
    AppendZ(out, open);
  } else if (label[0] != '\0') {
    Indent(out);
    AppendZ(out, label);
    AppendZ(out, after);
  }
  out->first = 0;
}

void Nest(Output* out, const char* name) {
  Begin(out, name, "{", "\r\n");
  out->first = 1;
  ++out->depth;
}

void EndLine(Output* out) {
  if (!out->json) AppendZ(out, "\r\n");
}

// A fact whose value is given whole for each form.
void PutValue(Output* out, const char* name, const char* json, const char* plain) {
  Begin(out, name, "", ": ");
  AppendZ(out, out->json ? json : plain);
  EndLine(out);
}

void WriteToConsole(HANDLE handle, const char* bytes, DWORD count) {
  const int wideCount = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(count), NULL, 0);
  WCHAR* wide = wideCount > 0
                    ? static_cast<WCHAR*>(HeapAlloc(GetProcessHeap(), 0, wideCount * sizeof(WCHAR)))
                    : NULL;
  if (wide != NULL) {
    MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(count), wide, wideCount);
    DWORD written = 0;
    WriteConsoleW(handle, wide, static_cast<DWORD>(wideCount), &written, NULL);
    HeapFree(GetProcessHeap(), 0, wide);
  }
}

}  // namespace

void BeginOutput(Output* out, int json) {
  memset(out, 0, sizeof *out);
  out->json = json;
  out->first = 1;
  AppendZ(out, json ? "{" : "What T7105Cfg.exe would do here, and why\r\n");
}

void BeginSection(Output* out, const char* name) { Nest(out, name); }

// An object or list that closed empty still needs a comma before the next
// member.
void EndSection(Output* out) {
  if (out->json) AppendZ(out, "}");
  out->first = 0;
  --out->depth;
}

void BeginList(Output* out, const char* name) {
  Begin(out, name, "[", "");
  out->first = 1;
}

void EndList(Output* out) {
  if (out->json) AppendZ(out, "]");
  out->first = 0;
}

void BeginItem(Output* out, const char* name) { Nest(out, name); }

void EndItem(Output* out) { EndSection(out); }

void PutWide(Output* out, const char* name, const WCHAR* text) {
  Begin(out, name, "\"", ": \"");
  AppendWide(out, text);
  AppendZ(out, "\"");
  EndLine(out);
}

void PutAnsi(Output* out, const char* name, const char* text) {
  Begin(out, name, "\"", ": \"");
  AppendAnsi(out, text);
  AppendZ(out, "\"");
  EndLine(out);
}

void PutWords(Output* out, const char* name, const char* words) {
  Begin(out, name, "\"", ": ");
  AppendAnsi(out, words);
  if (out->json) AppendZ(out, "\"");
  EndLine(out);
}

void PutNumber(Output* out, const char* name, LONG number) {
  char digits[16];
  wsprintfA(digits, "%ld", number);
  PutValue(out, name, digits, digits);
}

void PutFlag(Output* out, const char* name, int flag, const char* yes, const char* no) {
  PutValue(out, name, flag ? "true" : "false", flag ? yes : no);
}

void PutCode(Output* out, const char* name, DWORD code, const char* meaning) {
  char json[16];
  char plain[16 + 128];
  wsprintfA(json, "\"0x%08lX\"", code);
  wsprintfA(plain, meaning != NULL ? "0x%08lX (%s)" : "0x%08lX", code, meaning);
  PutValue(out, name, json, plain);
}

void PutNone(Output* out, const char* name, const char* why) { PutValue(out, name, "null", why); }

void FinishOutput(Output* out) {
  if (out->json) AppendZ(out, "}\r\n");
  const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (out->text != NULL && handle != NULL && handle != INVALID_HANDLE_VALUE) {
    if (GetConsoleMode(handle, &mode)) {
      WriteToConsole(handle, out->text, out->length);
    } else {
      DWORD written = 0;
      WriteFile(handle, out->text, out->length, &written, NULL);
    }
  }
  if (out->text != NULL) HeapFree(GetProcessHeap(), 0, out->text);
  out->text = NULL;
}
