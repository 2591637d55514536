// The report's output: one fact a line in plain words, or the same facts as
// one JSON object, built in a growing buffer and written once at the end.
// Every text goes out as UTF-8, escaped where JSON must escape it and with
// control characters shown, so that each fact keeps to its line.
#pragma once

#include "platform/win32.h"

struct Output {
  int json;      // 1: one JSON object; 0: plain lines
  char* text;    // UTF-8, grown on the process heap
  DWORD length;  // bytes used
  DWORD size;    // bytes held
  int failed;    // the heap refused to grow the buffer: what follows is lost
  int depth;     // sections open
  int first;     // no member written yet in the innermost object or list
};

void BeginOutput(Output* out, int json);

// Each fact and section is named by one string: its JSON key, a NUL, then
// its label in plain words ("found\0result").

// A section: a JSON member holding an object; a heading line in plain words.
void BeginSection(Output* out, const char* name);
void EndSection(Output* out);

// A list of objects: a JSON array, named by a key and no label
// ("nodes\0"); in plain words each item's facts follow a line that names
// the item, which has a label and no key ("\0matching node").
void BeginList(Output* out, const char* name);
void BeginItem(Output* out, const char* name);
void EndItem(Output* out);
void EndList(Output* out);

// Facts: text in the ANSI code page, as the program holds it, and wide
// text, as the platform gives it, both quoted on a plain line; words, in
// the ANSI code page too, unquoted there.
void PutAnsi(Output* out, const char* name, const char* text);
void PutWide(Output* out, const char* name, const WCHAR* text);
void PutWords(Output* out, const char* name, const char* words);
void PutNumber(Output* out, const char* name, LONG number);
void PutFlag(Output* out, const char* name, int flag, const char* yes, const char* no);
// An HRESULT or status as "0x%08X", with its meaning in plain words when known.
void PutCode(Output* out, const char* name, DWORD code, const char* meaning);
// A JSON null; in plain words the label and `why`.
void PutNone(Output* out, const char* name, const char* why);

// Closes the JSON object and writes everything to standard output: to a
// console as UTF-16, so that it shows every character; anywhere else as the
// UTF-8 bytes. Frees the buffer.
void FinishOutput(Output* out);
