// The command tail: the command line less the program's own name.
#pragma once

// Skips the program name (quoted up to its closing quote, or unquoted up to
// the first character of code 32 or below) and the control characters and
// blanks after it. Returns a pointer into commandLine.
const char* FindCommandTail(const char* commandLine);
