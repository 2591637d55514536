// The simulated machine behind the stand-in Windows API: what a test scripts
// before a call (registry, devices, capture sources, time zone, country,
// command line, faults) and what it inspects afterwards (stored values,
// property writes, calls made, what is still open).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "windows.h"

namespace sim {

// Empties the machine: no keys, devices or sources, no faults, nothing open,
// every counter and log cleared. Every test starts with it.
void ResetMachine();

// ---- Faults and the call log ----------------------------------------------

enum class Fault {
  kNone,
  kFail,                  // the operation reports its usual failure
  kSucceedWithoutOutput,  // reports success and writes none of its outputs
};

// Which faults an operation can be given (see operations.inc).
enum class Faultable { kNotFaultable, kFailOnly, kFailOrWithoutOutput };

struct Operation {
  const char* name;  // as the call log names it
  Faultable faultable;
};

// Every platform operation of the stand-in, in the order operations.inc
// lists them.
const std::vector<Operation>& Operations();

// Whether a test may let an injected fault go unused.
enum class Firing { kMustFire, kMayNotFire };

// Makes the nth call (counting from 1) of the named operation misbehave; an
// nth of 0 makes every call misbehave. The name is the platform's, as in
// "RegOpenKeyExA", "HeapAlloc" or "IMoniker::BindToObject". Returns why the
// fault cannot be injected, naming the operation, when the stand-in has no
// such operation or the operation cannot misbehave so; nothing is injected
// then. Returns the empty string when the fault is injected.
[[nodiscard]] std::string InjectFault(const std::string& operation, int nthCall,
                                      Fault fault = Fault::kFail,
                                      Firing firing = Firing::kMustFire);

// The faults that had to fire and have not, each described, since the last
// call; ResetMachine keeps them, so that none is lost between two runs.
std::vector<std::string> TakeUnfiredFaults();

// Counts the call, logs it and tells the stand-in operation how to behave.
// An operation that operations.inc does not list ends the process.
Fault EnterOperation(const char* operation);

int CallCount(const std::string& operation);
const std::vector<std::string>& CallLog();
// Stops or resumes adding calls to the log; counts and faults go on. A
// benchmark makes millions of calls that nobody reads back.
void KeepCallLog(bool keep);

// ---- Accounting of what is open --------------------------------------------

struct OpenResources {
  int registryKeys = 0;  // opened and not closed
  int deviceLists = 0;   // SetupDi lists not destroyed
  int heapBlocks = 0;    // HeapAlloc blocks not freed
  int comObjects = 0;    // COM objects with references left
  int bstrs = 0;         // strings not freed
  int comInitDepth = 0;  // CoInitialize not yet balanced by CoUninitialize
  int handles = 0;       // events not closed
  int libraries = 0;     // LoadLibraryA not balanced by FreeLibrary
};
OpenResources Open();

// ---- Registry ------------------------------------------------------------

struct StoredValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

void CreateKey(HKEY root, const std::string& path);
bool KeyExists(HKEY root, const std::string& path);
// Creates the key if needed and stores the value's bytes exactly as given.
void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const std::vector<BYTE>& data);
// REG_SZ with its terminating NUL, as a well-behaved writer stores it.
void SetStringValue(HKEY root, const std::string& path, const std::string& name,
                    const std::string& text);
StoredValue GetValue(HKEY root, const std::string& path, const std::string& name);
// Opening the key with any write right is then refused with access denied.
void DenyWriteAccess(HKEY root, const std::string& path);

// ---- Devices ---------------------------------------------------------------

// Raw bytes of a multi-string: each entry with its NUL, then the closing NUL.
std::vector<BYTE> MultiString(std::initializer_list<const char*> entries);

struct DeviceNode {
  std::string instanceId;  // e.g. "USB\\VID_5E3A&PID_2171\\5&1A2B&0&1"
  bool hasHardwareIds = true;
  std::vector<BYTE> hardwareIds;  // delivered byte for byte
  ULONG status = DN_DRIVER_LOADED | DN_STARTED;
  bool inImageClass = true;  // listed by the Image device-setup class
  std::string driverKey;     // key under HKEY_LOCAL_MACHINE; empty: none
  bool present = true;       // false: a phantom, whose status can't be read
  std::vector<BYTE> compatibleIds;  // delivered byte for byte; empty: none
  std::string parentInstanceId;     // the node it is a child of; empty: none
};

// Node handles are given out from 0 in the order the devices are added; the
// Image class and the enumerators list them in that order too, and a node's
// children are met in that order. A parent is added before its children.
DEVINST AddDevice(const DeviceNode& node);

// Replaces the device-instance-ID list that the configuration manager
// delivers, byte for byte, for malformed-list tests.
void SetDeviceIdList(const std::vector<BYTE>& raw);

// ---- Capture sources (video-input category) --------------------------------

struct CaptureSource {
  std::wstring friendlyName;
  bool nameReadable = true;    // IPropertyBag::Read of "FriendlyName" succeeds
  bool bagBinds = true;        // IMoniker::BindToStorage succeeds
  bool filterBinds = true;     // IMoniker::BindToObject succeeds
  bool hasPropertySet = true;  // the filter gives IKsPropertySet
  HRESULT setResult = S_OK;    // what IKsPropertySet::Set returns
};

// Sources are enumerated in the order they are added; returns the index.
int AddCaptureSource(const CaptureSource& source);

struct PropertyWrite {
  int source = -1;  // index of the capture source whose filter received it
  GUID set{};
  DWORD id = 0;
  std::vector<BYTE> instance;
  DWORD instanceLength = 0;
  std::vector<BYTE> data;
  DWORD dataLength = 0;
};
const std::vector<PropertyWrite>& PropertyWrites();

// Capture sources whose filter was bound, in order.
const std::vector<int>& BoundSources();

// ---- Kernel ------------------------------------------------------------------

void SetCommandLine(const std::string& commandLine);
void SetTimeZoneBias(LONG bias);
// The user's country as GetGeoInfoA reports it for GEO_ISO3; an empty code
// means the user has no nation set.
void SetUserCountry(const std::string& iso3);
void SetGeoFunctionsPresent(bool getUserGeoId, bool getGeoInfo);
// Makes GetGeoInfoA misbehave: it fills every character of the buffer it is
// given with the code over and over, writes no terminator, and reports the
// buffer's length as the length written.
void SetGeoInfoFillsWholeBuffer(bool fills);
// The timeouts passed to WaitForSingleObject, in order.
const std::vector<DWORD>& Waits();

}  // namespace sim
