/* Output of the probe programs: plain lines on standard output, without the
   C runtime's newline translation, so the scenario scripts read them as is. */
#pragma once

#include <windows.h>

/* wsprintfA-style formatting; one call prints at most 1024 bytes. */
void print(const char *format, ...);

/* Prints count bytes as upper-case hex. */
void print_hex(const BYTE *bytes, DWORD count);
