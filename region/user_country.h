// The user's country, as the platform's geographic functions tell it.
#pragma once

// Bytes of a buffer for the country's code.
const int kCountryCodeSize = 20;

// Reads the user's three-letter ISO country code into `code`
// (kCountryCodeSize bytes), always terminated; empty when the lookup fails.
// Returns 0, with `code` empty, where the system lacks the geographic
// functions.
int ReadUserCountry(char* code);
