// Decides from the time zone and the user's country whether the mains run at 60 Hz.
#pragma once

// Returns 1 for a 60 Hz region, 0 otherwise.
int IsSixtyHertzRegion();
