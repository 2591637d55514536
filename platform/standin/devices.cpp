// Device installation (setupapi) and the configuration manager (cfgmgr32)
// over the simulated device database. A node's handle is its index in the
// order the devices were added, so 0 is a node like any other. Driver keys
// are registry keys under HKEY_LOCAL_MACHINE and are opened like any key.
#include <string.h>

#include <algorithm>

#include "state.h"

namespace sim {
namespace detail {

namespace {

const DeviceNode* Node(DEVINST node) {
  const std::vector<DeviceNode>& devices = TheMachine().devices;
  return node < devices.size() ? &devices[node] : nullptr;
}

char FoldLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The enumerator is the instance ID's first part, before its first backslash.
// Compared in place: every device of the machine is tested, twice per search.
bool UnderEnumerator(const DeviceNode& node, const char* enumerator) {
  const std::string& id = node.instanceId;
  const size_t length = std::min(id.find('\\'), id.size());
  if (strlen(enumerator) != length) return false;
  for (size_t i = 0; i < length; ++i) {
    if (FoldLetter(id[i]) != FoldLetter(enumerator[i])) return false;
  }
  return true;
}

// The list the configuration manager delivers for a filter: every instance
// ID under the enumerator, present or not, in node order; a test may have
// replaced it with raw bytes.
std::vector<BYTE> DeviceIdList(const char* enumerator) {
  const Machine& m = TheMachine();
  if (m.deviceIdListReplaced) return m.deviceIdList;
  std::vector<BYTE> list;
  for (const DeviceNode& node : m.devices) {
    if (enumerator != nullptr && !UnderEnumerator(node, enumerator)) continue;
    list.insert(list.end(), node.instanceId.begin(), node.instanceId.end());
    list.push_back(0);
  }
  list.push_back(0);
  return list;
}

bool ValidIdListRequest(const char* filter, ULONG flags, CONFIGRET* failure) {
  *failure = CR_SUCCESS;
  if (flags != CM_GETIDLIST_FILTER_NONE && flags != CM_GETIDLIST_FILTER_ENUMERATOR) {
    *failure = CR_INVALID_FLAG;
  } else if (flags == CM_GETIDLIST_FILTER_ENUMERATOR && filter == nullptr) {
    *failure = CR_INVALID_POINTER;
  }
  return *failure == CR_SUCCESS;
}

const char* EnumeratorFilter(const char* filter, ULONG flags) {
  return flags == CM_GETIDLIST_FILTER_ENUMERATOR ? filter : nullptr;
}

}  // namespace

}  // namespace detail

std::vector<BYTE> MultiString(std::initializer_list<const char*> entries) {
  std::vector<BYTE> raw;
  for (const char* entry : entries) {
    raw.insert(raw.end(), entry, entry + strlen(entry) + 1);
  }
  raw.push_back(0);
  return raw;
}

DEVINST AddDevice(const DeviceNode& node) {
  detail::Machine& m = detail::TheMachine();
  const DEVINST handle = static_cast<DEVINST>(m.devices.size());
  m.devices.push_back(node);
  m.nodesByInstanceId.emplace(detail::FoldCase(node.instanceId), handle);
  if (!node.parentInstanceId.empty()) {
    const auto parent = m.nodesByInstanceId.find(detail::FoldCase(node.parentInstanceId));
    if (parent != m.nodesByInstanceId.end()) m.childrenByParent[parent->second].push_back(handle);
  }
  return handle;
}

void SetDeviceIdList(const std::vector<BYTE>& raw) {
  detail::TheMachine().deviceIdListReplaced = true;
  detail::TheMachine().deviceIdList = raw;
}

}  // namespace sim

using sim::DeviceNode;
using sim::Fault;
using sim::detail::TheMachine;

// Only the Image class is known here; other classes are empty. Without
// DIGCF_PRESENT the list holds the class's devices whether present or not.
// A success without output is an empty list, which must still be destroyed.
HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID* ClassGuid, PCSTR Enumerator, HWND hwndParent,
                                     DWORD Flags) {
  (void)hwndParent;
  const Fault fault = sim::EnterOperation("SetupDiGetClassDevsA");
  if (fault == Fault::kFail || ClassGuid == nullptr) return INVALID_HANDLE_VALUE;
  const bool listed = fault == Fault::kNone && *ClassGuid == GUID_DEVCLASS_IMAGE;
  std::vector<DEVINST> members;
  const std::vector<DeviceNode>& devices = TheMachine().devices;
  for (DEVINST node = 0; listed && node < devices.size(); ++node) {
    const DeviceNode& device = devices[node];
    if (!device.inImageClass) continue;
    if ((Flags & DIGCF_PRESENT) != 0 && !device.present) continue;
    if (Enumerator != nullptr && !sim::detail::UnderEnumerator(device, Enumerator)) continue;
    members.push_back(node);
  }
  const ULONG_PTR handle = TheMachine().nextDeviceListHandle++;
  TheMachine().openDeviceLists[handle] = members;
  return reinterpret_cast<HDEVINFO>(handle);
}

BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO DeviceInfoSet, DWORD MemberIndex,
                                  PSP_DEVINFO_DATA DeviceInfoData) {
  const Fault fault = sim::EnterOperation("SetupDiEnumDeviceInfo");
  if (fault == Fault::kSucceedWithoutOutput) return TRUE;
  if (fault == Fault::kFail) return FALSE;
  auto list = TheMachine().openDeviceLists.find(reinterpret_cast<ULONG_PTR>(DeviceInfoSet));
  if (list == TheMachine().openDeviceLists.end()) return FALSE;
  if (DeviceInfoData == nullptr || DeviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA)) {
    return FALSE;
  }
  if (MemberIndex >= list->second.size()) return FALSE;
  DeviceInfoData->ClassGuid = GUID_DEVCLASS_IMAGE;
  DeviceInfoData->DevInst = list->second[MemberIndex];
  DeviceInfoData->Reserved = 0;
  return TRUE;
}

// A destroy that is made to fail still lets the list go.
BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO DeviceInfoSet) {
  const Fault fault = sim::EnterOperation("SetupDiDestroyDeviceInfoList");
  const bool wasOpen =
      TheMachine().openDeviceLists.erase(reinterpret_cast<ULONG_PTR>(DeviceInfoSet)) != 0;
  return wasOpen && fault != Fault::kFail ? TRUE : FALSE;
}

// Only the hardware-ID and compatible-ID lists are stored. A buffer too small for it receives
// nothing, and the length tells how much it needs.
CONFIGRET WINAPI CM_Get_DevNode_Registry_PropertyA(DEVINST dnDevInst, ULONG ulProperty,
                                                   PULONG pulRegDataType, PVOID Buffer,
                                                   PULONG pulLength, ULONG ulFlags) {
  const Fault fault = sim::EnterOperation("CM_Get_DevNode_Registry_PropertyA");
  if (fault == Fault::kSucceedWithoutOutput) return CR_SUCCESS;
  if (fault == Fault::kFail) return CR_NO_SUCH_VALUE;
  if (pulLength == nullptr || (Buffer == nullptr && *pulLength != 0)) return CR_INVALID_POINTER;
  if (ulFlags != 0) return CR_INVALID_FLAG;
  const DeviceNode* node = sim::detail::Node(dnDevInst);
  if (node == nullptr) return CR_INVALID_DEVNODE;
  const std::vector<BYTE>* list = nullptr;
  if (ulProperty == CM_DRP_HARDWAREID && node->hasHardwareIds) list = &node->hardwareIds;
  if (ulProperty == CM_DRP_COMPATIBLEIDS && !node->compatibleIds.empty()) {
    list = &node->compatibleIds;
  }
  if (list == nullptr) {
    *pulLength = 0;
    return CR_NO_SUCH_VALUE;
  }
  const ULONG size = static_cast<ULONG>(list->size());
  const ULONG offered = *pulLength;
  *pulLength = size;
  if (size > offered) return CR_BUFFER_SMALL;
  if (size != 0) memcpy(Buffer, list->data(), size);
  if (pulRegDataType != nullptr) *pulRegDataType = REG_MULTI_SZ;
  return CR_SUCCESS;
}

// A node whose device isn't present has no status to give.
CONFIGRET WINAPI CM_Get_DevNode_Status(PULONG pulStatus, PULONG pulProblemNumber, DEVINST dnDevInst,
                                       ULONG ulFlags) {
  const Fault fault = sim::EnterOperation("CM_Get_DevNode_Status");
  if (fault == Fault::kSucceedWithoutOutput) return CR_SUCCESS;
  if (fault == Fault::kFail) return CR_NO_SUCH_DEVNODE;
  if (pulStatus == nullptr || pulProblemNumber == nullptr) return CR_INVALID_POINTER;
  if (ulFlags != 0) return CR_INVALID_FLAG;
  const DeviceNode* node = sim::detail::Node(dnDevInst);
  if (node == nullptr) return CR_INVALID_DEVNODE;
  if (!node->present) return CR_NO_SUCH_DEVNODE;
  *pulStatus = node->status;
  *pulProblemNumber = 0;
  return CR_SUCCESS;
}

CONFIGRET WINAPI CM_Get_Device_ID_List_SizeA(PULONG pulLen, PCSTR pszFilter, ULONG ulFlags) {
  const Fault fault = sim::EnterOperation("CM_Get_Device_ID_List_SizeA");
  if (fault == Fault::kSucceedWithoutOutput) return CR_SUCCESS;
  if (fault == Fault::kFail) return CR_FAILURE;
  if (pulLen == nullptr) return CR_INVALID_POINTER;
  CONFIGRET failure;
  if (!sim::detail::ValidIdListRequest(pszFilter, ulFlags, &failure)) return failure;
  *pulLen = static_cast<ULONG>(
      sim::detail::DeviceIdList(sim::detail::EnumeratorFilter(pszFilter, ulFlags)).size());
  return CR_SUCCESS;
}

CONFIGRET WINAPI CM_Get_Device_ID_ListA(PCSTR pszFilter, PCHAR Buffer, ULONG BufferLen,
                                        ULONG ulFlags) {
  const Fault fault = sim::EnterOperation("CM_Get_Device_ID_ListA");
  if (fault == Fault::kSucceedWithoutOutput) return CR_SUCCESS;
  if (fault == Fault::kFail) return CR_FAILURE;
  if (Buffer == nullptr || BufferLen == 0) return CR_INVALID_POINTER;
  CONFIGRET failure;
  if (!sim::detail::ValidIdListRequest(pszFilter, ulFlags, &failure)) return failure;
  const std::vector<BYTE> list =
      sim::detail::DeviceIdList(sim::detail::EnumeratorFilter(pszFilter, ulFlags));
  if (list.size() > BufferLen) return CR_BUFFER_SMALL;
  if (!list.empty()) memcpy(Buffer, list.data(), list.size());
  return CR_SUCCESS;
}

// Instance IDs compare without regard to case; of nodes that share one, the
// first added is found. Only a phantom search finds a node whose device isn't
// present.
CONFIGRET WINAPI CM_Locate_DevNodeA(PDEVINST pdnDevInst, DEVINSTID_A pDeviceID, ULONG ulFlags) {
  const Fault fault = sim::EnterOperation("CM_Locate_DevNodeA");
  if (fault == Fault::kSucceedWithoutOutput) return CR_SUCCESS;
  if (fault == Fault::kFail) return CR_NO_SUCH_DEVNODE;
  if (pdnDevInst == nullptr || pDeviceID == nullptr) return CR_INVALID_POINTER;
  if ((ulFlags & ~CM_LOCATE_DEVNODE_PHANTOM) != 0) return CR_INVALID_FLAG;
  const auto& index = TheMachine().nodesByInstanceId;
  const auto found = index.find(sim::detail::FoldCase(pDeviceID));
  if (found == index.end()) return CR_NO_SUCH_DEVNODE;
  const DEVINST node = found->second;
  const bool phantomSearch = (ulFlags & CM_LOCATE_DEVNODE_PHANTOM) != 0;
  if (!TheMachine().devices[node].present && !phantomSearch) return CR_NO_SUCH_DEVNODE;
  *pdnDevInst = node;
  return CR_SUCCESS;
}

// Opens the node's driver key (CM_REGISTRY_SOFTWARE); the simulated machine
// keeps no device keys. The hardware profile plays no part.
CONFIGRET WINAPI CM_Open_DevNode_Key(DEVINST dnDevNode, REGSAM samDesired, ULONG ulHardwareProfile,
                                     REGDISPOSITION Disposition, PHKEY phkDevice, ULONG ulFlags) {
  (void)ulHardwareProfile;
  const Fault fault = sim::EnterOperation("CM_Open_DevNode_Key");
  if (fault == Fault::kSucceedWithoutOutput) return CR_SUCCESS;
  if (fault == Fault::kFail) return CR_NO_SUCH_REGISTRY_KEY;
  if (phkDevice == nullptr) return CR_INVALID_POINTER;
  if (ulFlags != CM_REGISTRY_SOFTWARE && ulFlags != CM_REGISTRY_HARDWARE) return CR_INVALID_FLAG;
  const DeviceNode* node = sim::detail::Node(dnDevNode);
  if (node == nullptr) return CR_INVALID_DEVNODE;
  if (ulFlags != CM_REGISTRY_SOFTWARE || node->driverKey.empty()) return CR_NO_SUCH_REGISTRY_KEY;
  if (Disposition == RegDisposition_OpenAlways) sim::CreateKey(HKEY_LOCAL_MACHINE, node->driverKey);
  const std::string path = sim::detail::KeyPath(HKEY_LOCAL_MACHINE, node->driverKey);
  if (TheMachine().keys.count(path) == 0) return CR_NO_SUCH_REGISTRY_KEY;
  const ULONG_PTR handle = TheMachine().nextKeyHandle++;
  TheMachine().openKeys[handle] = sim::detail::OpenKey{path, samDesired};
  *phkDevice = reinterpret_cast<HKEY>(handle);
  return CR_SUCCESS;
}

namespace {

// The device tree holds present devices only: a phantom has no children and
// is no one's child. Children are met in the order they were added. The two
// walks of the tree check their call alike; `node` is then the one asked of.
CONFIGRET BeginTreeWalk(const char* operation, PDEVINST result, DEVINST dnDevInst, ULONG ulFlags,
                        const DeviceNode** node) {
  const Fault fault = sim::EnterOperation(operation);
  *node = nullptr;
  if (fault == Fault::kSucceedWithoutOutput) return CR_SUCCESS;
  if (fault == Fault::kFail) return CR_NO_SUCH_DEVNODE;
  if (result == nullptr) return CR_INVALID_POINTER;
  if (ulFlags != 0) return CR_INVALID_FLAG;
  *node = sim::detail::Node(dnDevInst);
  if (*node == nullptr) return CR_INVALID_DEVNODE;
  return (*node)->present ? CR_SUCCESS : CR_NO_SUCH_DEVNODE;
}

// The first present node among `nodes` from `first` on.
CONFIGRET FirstPresent(const std::vector<DEVINST>& nodes,
                       std::vector<DEVINST>::const_iterator first, PDEVINST result) {
  for (auto next = first; next != nodes.end(); ++next) {
    if (TheMachine().devices[*next].present) {
      *result = *next;
      return CR_SUCCESS;
    }
  }
  return CR_NO_SUCH_DEVNODE;
}

}  // namespace

CONFIGRET WINAPI CM_Get_Child(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags) {
  const DeviceNode* node = nullptr;
  const CONFIGRET checked = BeginTreeWalk("CM_Get_Child", pdnDevInst, dnDevInst, ulFlags, &node);
  if (checked != CR_SUCCESS || node == nullptr) return checked;
  const auto children = TheMachine().childrenByParent.find(dnDevInst);
  if (children == TheMachine().childrenByParent.end()) return CR_NO_SUCH_DEVNODE;
  return FirstPresent(children->second, children->second.begin(), pdnDevInst);
}

CONFIGRET WINAPI CM_Get_Sibling(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags) {
  const DeviceNode* node = nullptr;
  const CONFIGRET checked = BeginTreeWalk("CM_Get_Sibling", pdnDevInst, dnDevInst, ulFlags, &node);
  if (checked != CR_SUCCESS || node == nullptr) return checked;
  const auto& index = TheMachine().nodesByInstanceId;
  const auto parent = index.find(sim::detail::FoldCase(node->parentInstanceId));
  if (node->parentInstanceId.empty() || parent == index.end()) return CR_NO_SUCH_DEVNODE;
  const std::vector<DEVINST>& siblings = TheMachine().childrenByParent[parent->second];
  const auto self = std::find(siblings.begin(), siblings.end(), dnDevInst);
  return self == siblings.end() ? CR_NO_SUCH_DEVNODE : FirstPresent(siblings, self + 1, pdnDevInst);
}
