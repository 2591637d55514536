// The simulated machine's state, shared by the stand-in's operations. Only
// the stand-in includes this; tests go through machine.h.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "machine.h"

namespace sim::detail {

struct RegistryKey {
  bool writeDenied = false;
  std::map<std::string, StoredValue> values;  // by lower-case value name
};

struct OpenKey {
  std::string path;
  REGSAM access;
};

struct ScheduledFault {
  int nthCall;
  Fault fault;
  bool mustFire;
  bool fired;
};

struct Machine {
  // Faults and the call log.
  // Looked up by the operation's own name, without a string made per call.
  std::map<std::string, std::vector<ScheduledFault>, std::less<>> faults;
  std::map<std::string, int, std::less<>> callCounts;
  std::vector<std::string> callLog;
  bool keepCallLog = true;

  // Registry: keys by canonical lower-case path ("hklm\\software\\..."), and
  // the open handles with the key each refers to.
  std::map<std::string, RegistryKey> keys;
  std::map<ULONG_PTR, OpenKey> openKeys;
  ULONG_PTR nextKeyHandle = 0x1000;

  // Devices, and the open Image-class lists with the nodes each holds.
  std::vector<DeviceNode> devices;
  // The first node added under each folded instance ID, so that locating a
  // node takes the same time on a machine of any size.
  std::unordered_map<std::string, DEVINST> nodesByInstanceId;
  // Each parent's children in the order they were added.
  std::unordered_map<DEVINST, std::vector<DEVINST>> childrenByParent;
  bool deviceIdListReplaced = false;
  std::vector<BYTE> deviceIdList;
  std::map<ULONG_PTR, std::vector<DEVINST>> openDeviceLists;
  ULONG_PTR nextDeviceListHandle = 0x2000;

  // Heap blocks not yet freed.
  std::set<void*> heapBlocks;

  // COM, capture sources and what their filters received.
  int comInitDepth = 0;
  int liveComObjects = 0;
  int liveBstrs = 0;
  std::vector<CaptureSource> sources;
  std::vector<PropertyWrite> propertyWrites;
  std::vector<int> boundSources;

  // Kernel.
  std::string commandLine;
  LONG timeZoneBias = 0;
  std::string userCountry;
  bool getUserGeoIdPresent = true;
  bool getGeoInfoPresent = true;
  bool geoInfoFillsWholeBuffer = false;
  int loadedLibraries = 0;
  std::set<ULONG_PTR> openEvents;
  ULONG_PTR nextEventHandle = 0x3000;
  std::vector<DWORD> waits;
};

Machine& TheMachine();

// Canonical name of a key: the root's short name, then the folded path.
std::string KeyPath(HKEY root, const std::string& path);

// Lower-case copy, folding only A to Z, for the case-blind names of keys,
// values and device instances.
std::string FoldCase(const std::string& text);

}  // namespace sim::detail
