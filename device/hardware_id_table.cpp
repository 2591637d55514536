#include "device/hardware_id_table.h"

const char HardwareIdTable[kHardwareIdRowCount][kHardwareIdSlotSize] = {
    "USB\\VID_5E3A&PID_2170",
    "USB\\VID_5E3A&PID_2171",
};
