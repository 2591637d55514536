// Decides from the time zone and the user's country whether the mains run at 60 Hz.
#pragma once

#include "platform/win32.h"

// The mains frequency that /hz:auto gives: the region rule's answer,
// corrected where the rule is known wrong.
const LONG kMainsFrequencyAuto = -1;

// The region rule: 1 for a 60 Hz region, 0 otherwise.
int IsSixtyHertzRegion();

// The rule's answer, corrected where the user's country has one mains
// frequency and the machine is at the standard bias of one of the country's
// own time zones: that frequency then decides. The country is looked up
// whatever the bias.
int IsSixtyHertzRegionCorrected();
