/* Prints one registry value exactly, which `reg query` does not: its type,
   its byte count and every byte, as "type=<n> size=<n> bytes=<hex>", or
   "missing". */
#pragma once

#include <windows.h>

/* name NULL or "" reads the key's default value. Returns 1 when present. */
int print_registry_value(HKEY root, const char *key, const char *name);
