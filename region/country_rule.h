// The country half of the region rule.
#pragma once

// Returns 1 when the user's country is one of the 60 Hz countries inside the
// bands; 0 otherwise, also when the country cannot be found out.
int IsSixtyHertzCountry();
