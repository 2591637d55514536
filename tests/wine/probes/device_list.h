/* Prints the devices that the configuration manager reports: the
   Image-class devices, then every device under the USB enumerator, one line
   each:
     image|usb <instance id> located=<yes|phantom|no> status=<hex|none>
       hwids=<id>|<id>... desc=<DriverDesc> product=<ZrProductName> */
#pragma once

void print_devices(void);
