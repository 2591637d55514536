// The program's value under the machine-wide Run key, which starts it once
// more at the next logon.
#pragma once

#include "platform/win32.h"

// install non-zero: writes "T7105Cfg.exe", with " /d:N" when deviceNumber is
// not 0, then " /hz:F" when mainsFrequency (50 or 60) is not 0, or " /hz:auto"
// for kMainsFrequencyAuto. install zero: deletes the value. Silent: a key
// that cannot be opened for writing makes it do nothing.
void UpdateLogonEntry(LONG deviceNumber, LONG mainsFrequency, int install);
