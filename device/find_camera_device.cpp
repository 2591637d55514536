#include "device/find_camera_device.h"

#include "device/composite_function.h"
#include "device/device_node.h"
#include "device/hardware_id_list.h"
#include "device/multi_string.h"

namespace {

const DWORD kWorkBufferSize = kIdListBufferSize;

// State of one search. Only a match writes `node` and `row`, the number of
// the table row it matched; `loaded` ends the pass in which it is set.
struct DeviceSearch {
  int found;
  int loaded;
  DEVINST node;
  DWORD row;
  char work[kWorkBufferSize];
};

// A zero-sized buffer has no room even for the empty string: it counts as
// no buffer at all.
int HasRoom(const char* output, DWORD size) { return output != NULL && size != 0; }

void EmptyOutput(char* output, DWORD size) {
  if (HasRoom(output, size)) output[0] = '\0';
}

// Reads the node's hardware-ID list into the work buffer and compares it with
// the table.
void ConsiderNode(DeviceSearch* search, const DeviceQuery* query, DEVINST node) {
  DWORD row = 0;
  if (MatchHardwareIdList(search->work, ReadNodeIdList(node, CM_DRP_HARDWAREID, search->work),
                          query->hardwareIds, query->hardwareIdCount, &row)) {
    search->node = node;
    search->row = row;
    search->found = 1;
    if (IsDriverLoaded(node)) search->loaded = 1;
  }
}

// An entry whose class isn't the one asked for was not written by the
// platform, whatever it answered: that ends the list too.
int GetImageDevice(HDEVINFO devices, DWORD index, SP_DEVINFO_DATA* entry) {
  memset(entry, 0, sizeof *entry);
  entry->cbSize = sizeof *entry;
  return SetupDiEnumDeviceInfo(devices, index, entry) && entry->ClassGuid == GUID_DEVCLASS_IMAGE;
}

void SearchImageClass(DeviceSearch* search, const DeviceQuery* query, HDEVINFO devices) {
  SP_DEVINFO_DATA entry;
  DWORD index = 0;
  while (!search->loaded && GetImageDevice(devices, index, &entry)) {
    ConsiderNode(search, query, entry.DevInst);
    ++index;
  }
}

// The enumerator is the first row's text before its first backslash, leading
// backslashes skipped; it is cut to fit the buffer.
void TakeEnumeratorName(const char* row, char* name) {
  const char* start = row;
  DWORD length = 0;
  while (*start == '\\') ++start;
  while (length < kWorkBufferSize - 1 && start[length] != '\0' && start[length] != '\\') {
    ++length;
  }
  memcpy(name, start, length);
  name[length] = '\0';
}

// A node handle left unwritten by the platform stays 0, a real node: it can
// only match through its own hardware IDs.
void SearchInstanceIds(DeviceSearch* search, const DeviceQuery* query, char* block, ULONG size) {
  DWORD offset = 0;
  DWORD length = MeasureMultiStringEntry(block, size, offset);
  while (!search->loaded && length != 0) {
    DEVINST node = 0;
    if (CM_Locate_DevNodeA(&node, block + offset, CM_LOCATE_DEVNODE_PHANTOM) == CR_SUCCESS) {
      ConsiderNode(search, query, node);
    }
    offset += length + 1;
    length = MeasureMultiStringEntry(block, size, offset);
  }
}

// The block starts zero-filled, so that a fetch that writes nothing leaves
// an empty list.
void SearchEnumerator(DeviceSearch* search, const DeviceQuery* query) {
  ULONG size = 0;
  TakeEnumeratorName(query->hardwareIds[0], search->work);
  if (CM_Get_Device_ID_List_SizeA(&size, search->work, CM_GETIDLIST_FILTER_ENUMERATOR) ==
          CR_SUCCESS &&
      size != 0) {
    char* block = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
    if (block != NULL) {
      if (CM_Get_Device_ID_ListA(search->work, block, size, CM_GETIDLIST_FILTER_ENUMERATOR) ==
          CR_SUCCESS) {
        SearchInstanceIds(search, query, block, size);
      }
      HeapFree(GetProcessHeap(), 0, block);
    }
  }
}

// Whether RegQueryValueExA delivered text that lies whole within the buffer;
// after a failed or partial read the buffer's content is undefined.
int IsTextValue(LSTATUS result, DWORD type, DWORD length, DWORD size) {
  return result == ERROR_SUCCESS && type == REG_SZ && length <= size;
}

// Stored text need not carry its terminator. One is added where there is room
// and the data lacks it; text that fills the buffer without one doesn't fit.
void TerminateValue(char* output, DWORD length, DWORD size) {
  if (length != 0 && output[length - 1] != '\0') {
    if (length < size) {
      output[length] = '\0';
    } else {
      output[0] = '\0';
    }
  }
}

void ReadDriverValue(HKEY key, const char* name, char* output, DWORD size) {
  DWORD type = REG_NONE;
  DWORD length = size;
  if (HasRoom(output, size)) {
    output[0] = '\0';
    const LSTATUS result =
        RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<LPBYTE>(output), &length);
    if (IsTextValue(result, type, length, size)) {
      TerminateValue(output, length, size);
    } else {
      output[0] = '\0';
    }
  }
}

// A success that left the key handle unwritten opened nothing.
void ReadDriverKey(DEVINST node, const DeviceQuery* query) {
  HKEY key = NULL;
  if (CM_Open_DevNode_Key(node, KEY_READ, 2, RegDisposition_OpenExisting, &key,
                          CM_REGISTRY_SOFTWARE) == CR_SUCCESS &&
      key != NULL) {
    ReadDriverValue(key, "ZrProductName", query->productName, query->productNameSize);
    ReadDriverValue(key, "DriverDesc", query->description, query->descriptionSize);
    RegCloseKey(key);
  }
}

}  // namespace

// With an empty table nothing can match, so there is no enumerator to search.
int FindCameraDevice(DeviceQuery query) {
  DeviceSearch search;
  HDEVINFO imageDevices;
  EmptyOutput(query.productName, query.productNameSize);
  EmptyOutput(query.description, query.descriptionSize);
  search.found = 0;
  search.loaded = 0;
  search.node = 0;
  search.row = 0;
  imageDevices = SetupDiGetClassDevsA(&GUID_DEVCLASS_IMAGE, NULL, NULL, 0);
  if (imageDevices != INVALID_HANDLE_VALUE && imageDevices != NULL) {
    SearchImageClass(&search, &query, imageDevices);
    if (!search.found && query.hardwareIdCount != 0) SearchEnumerator(&search, &query);
    // A composite camera's description lies with its function, not with the
    // parent that matched.
    if (search.found) {
      ReadDriverKey(TakeCameraFunction(search.node, query.hardwareIds[search.row - 1], search.work),
                    &query);
    }
    SetupDiDestroyDeviceInfoList(imageDevices);
  }
  return search.found;
}
