// One run of the program, from the command tail to the exit code.
#pragma once

// Returns 1 when the capture source was opened (the property write was then
// attempted), 0 otherwise.
int RunConfiguration(const char* commandTail);
