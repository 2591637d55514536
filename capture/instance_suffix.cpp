#include "capture/instance_suffix.h"

namespace {

// Room for any 32-bit value with its sign and terminator: "-2147483648".
const size_t kDigitsSize = 12;

// Writes value in signed decimal at the end of digits; returns its first
// character. The magnitude is taken unsigned, so the most negative value
// needs no signed negation.
const char* FormatSigned(LONG value, char* digits) {
  char* first = digits + (kDigitsSize - 1);
  *first = '\0';
  DWORD magnitude = static_cast<DWORD>(value);
  if (value < 0) magnitude = 0u - magnitude;
  do {
    *--first = static_cast<char>('0' + (magnitude % 10u));
    magnitude /= 10u;
  } while (magnitude != 0u);
  if (value < 0) *--first = '-';
  return first;
}

}  // namespace

int AppendInstanceSuffix(char* name, LONG deviceNumber) {
  if (static_cast<DWORD>(deviceNumber) >= 2u) {
    char digits[kDigitsSize];
    const char* number = FormatSigned(deviceNumber, digits);
    const size_t numberLength = strlen(number);
    // A name that fills the buffer without a terminator is taken as its
    // first MAX_PATH - 1 characters.
    const char* terminator = static_cast<const char*>(memchr(name, '\0', MAX_PATH));
    size_t length = terminator != NULL ? static_cast<size_t>(terminator - name) : MAX_PATH - 1;
    // An earlier suffix goes, with the character before its '#'.
    const char* hash = static_cast<const char*>(memchr(name, '#', length));
    if (hash != NULL && hash != name) length = static_cast<size_t>(hash - name) - 1;
    // The number is what tells cameras apart: when the suffix does not fit,
    // the description gives way, never the suffix.
    if (length + 2 + numberLength > MAX_PATH - 1) length = MAX_PATH - 1 - 2 - numberLength;
    name[length] = ' ';
    name[length + 1] = '#';
    memcpy(name + length + 2, number, numberLength + 1);
  }
  return 1;
}
