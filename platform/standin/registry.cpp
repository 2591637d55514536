// Registry (advapi32) over the simulated key tree. Keys are opened, never
// created, by the program; tests create them through machine.h.
#include <string.h>

#include "state.h"

namespace sim {
namespace detail {

namespace {

const char* RootName(HKEY root) {
  if (root == HKEY_LOCAL_MACHINE) return "hklm";
  if (root == HKEY_CURRENT_USER) return "hkcu";
  if (root == HKEY_CLASSES_ROOT) return "hkcr";
  return nullptr;
}

std::string Trimmed(const std::string& path) {
  size_t first = path.find_first_not_of('\\');
  if (first == std::string::npos) return std::string();
  size_t last = path.find_last_not_of('\\');
  return path.substr(first, last - first + 1);
}

// The key a handle stands for, or null when the handle is not open.
const std::string* HandlePath(HKEY key, std::string* rootPath) {
  const char* root = RootName(key);
  if (root != nullptr) {
    *rootPath = root;
    return rootPath;
  }
  auto found = TheMachine().openKeys.find(reinterpret_cast<ULONG_PTR>(key));
  return found == TheMachine().openKeys.end() ? nullptr : &found->second.path;
}

const OpenKey* WritableHandle(HKEY key) {
  auto found = TheMachine().openKeys.find(reinterpret_cast<ULONG_PTR>(key));
  if (found == TheMachine().openKeys.end()) return nullptr;
  return (found->second.access & KEY_SET_VALUE) != 0 ? &found->second : nullptr;
}

}  // namespace

std::string KeyPath(HKEY root, const std::string& path) {
  std::string trimmed = Trimmed(path);
  std::string canonical = RootName(root);
  if (!trimmed.empty()) canonical += "\\" + FoldCase(trimmed);
  return canonical;
}

}  // namespace detail

void CreateKey(HKEY root, const std::string& path) {
  std::string canonical = detail::RootName(root);
  detail::TheMachine().keys[canonical];
  const std::string trimmed = detail::Trimmed(path);
  size_t start = 0;
  while (!trimmed.empty() && start <= trimmed.size()) {
    size_t end = trimmed.find('\\', start);
    if (end == std::string::npos) end = trimmed.size();
    canonical += "\\" + detail::FoldCase(trimmed.substr(start, end - start));
    detail::TheMachine().keys[canonical];
    start = end + 1;
  }
}

bool KeyExists(HKEY root, const std::string& path) {
  return detail::TheMachine().keys.count(detail::KeyPath(root, path)) != 0;
}

void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const std::vector<BYTE>& data) {
  CreateKey(root, path);
  StoredValue& value =
      detail::TheMachine().keys[detail::KeyPath(root, path)].values[detail::FoldCase(name)];
  value.present = true;
  value.type = type;
  value.data = data;
}

void SetStringValue(HKEY root, const std::string& path, const std::string& name,
                    const std::string& text) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  SetValue(root, path, name, REG_SZ, data);
}

StoredValue GetValue(HKEY root, const std::string& path, const std::string& name) {
  const detail::Machine& m = detail::TheMachine();
  auto key = m.keys.find(detail::KeyPath(root, path));
  if (key == m.keys.end()) return StoredValue{};
  auto value = key->second.values.find(detail::FoldCase(name));
  return value == key->second.values.end() ? StoredValue{} : value->second;
}

void DenyWriteAccess(HKEY root, const std::string& path) {
  CreateKey(root, path);
  detail::TheMachine().keys[detail::KeyPath(root, path)].writeDenied = true;
}

}  // namespace sim

using sim::Fault;
using sim::detail::TheMachine;

LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                             PHKEY phkResult) {
  const Fault fault = sim::EnterOperation("RegOpenKeyExA");
  if (fault == Fault::kSucceedWithoutOutput) return ERROR_SUCCESS;
  if (phkResult == nullptr || ulOptions != 0) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  if (fault == Fault::kFail) return ERROR_ACCESS_DENIED;
  std::string base;
  const std::string* basePath = sim::detail::HandlePath(hKey, &base);
  if (basePath == nullptr) return ERROR_INVALID_HANDLE;
  std::string path = *basePath;
  const std::string sub = sim::detail::Trimmed(lpSubKey == nullptr ? "" : lpSubKey);
  if (!sub.empty()) path += "\\" + sim::detail::FoldCase(sub);
  auto key = TheMachine().keys.find(path);
  if (key == TheMachine().keys.end()) return ERROR_FILE_NOT_FOUND;
  if (key->second.writeDenied && (samDesired & KEY_SET_VALUE) != 0) return ERROR_ACCESS_DENIED;
  const ULONG_PTR handle = TheMachine().nextKeyHandle++;
  TheMachine().openKeys[handle] = sim::detail::OpenKey{path, samDesired};
  *phkResult = reinterpret_cast<HKEY>(handle);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                              const BYTE* lpData, DWORD cbData) {
  if (sim::EnterOperation("RegSetValueExA") == Fault::kFail) return ERROR_ACCESS_DENIED;
  if (Reserved != 0 || (lpData == nullptr && cbData != 0)) return ERROR_INVALID_PARAMETER;
  const sim::detail::OpenKey* key = sim::detail::WritableHandle(hKey);
  if (key == nullptr) return ERROR_ACCESS_DENIED;
  sim::StoredValue& value =
      TheMachine().keys[key->path].values[sim::detail::FoldCase(lpValueName ? lpValueName : "")];
  value.present = true;
  value.type = dwType;
  value.data.assign(lpData, lpData + cbData);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
  if (sim::EnterOperation("RegDeleteValueA") == Fault::kFail) return ERROR_ACCESS_DENIED;
  const sim::detail::OpenKey* key = sim::detail::WritableHandle(hKey);
  if (key == nullptr) return ERROR_ACCESS_DENIED;
  auto& values = TheMachine().keys[key->path].values;
  return values.erase(sim::detail::FoldCase(lpValueName ? lpValueName : "")) != 0
             ? ERROR_SUCCESS
             : ERROR_FILE_NOT_FOUND;
}

// Follows the platform where it is least kind: string data is delivered as
// stored, without a terminator added, and a buffer that is too small is
// filled with as much as fits before ERROR_MORE_DATA.
LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                LPBYTE lpData, LPDWORD lpcbData) {
  const Fault fault = sim::EnterOperation("RegQueryValueExA");
  if (fault == Fault::kSucceedWithoutOutput) return ERROR_SUCCESS;
  if (fault == Fault::kFail) return ERROR_ACCESS_DENIED;
  if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) {
    return ERROR_INVALID_PARAMETER;
  }
  auto handle = TheMachine().openKeys.find(reinterpret_cast<ULONG_PTR>(hKey));
  if (handle == TheMachine().openKeys.end()) return ERROR_INVALID_HANDLE;
  const auto& values = TheMachine().keys[handle->second.path].values;
  auto value = values.find(sim::detail::FoldCase(lpValueName ? lpValueName : ""));
  if (value == values.end()) return ERROR_FILE_NOT_FOUND;
  const std::vector<BYTE>& data = value->second.data;
  const DWORD size = static_cast<DWORD>(data.size());
  if (lpType != nullptr) *lpType = value->second.type;
  LSTATUS status = ERROR_SUCCESS;
  if (lpData != nullptr) {
    const DWORD copied = size <= *lpcbData ? size : *lpcbData;
    if (copied != 0) memcpy(lpData, data.data(), copied);
    if (size > *lpcbData) status = ERROR_MORE_DATA;
  }
  if (lpcbData != nullptr) *lpcbData = size;
  return status;
}

// A close that is made to fail still lets the handle go: the caller has no
// second chance to close it.
LSTATUS WINAPI RegCloseKey(HKEY hKey) {
  const Fault fault = sim::EnterOperation("RegCloseKey");
  const bool wasOpen = TheMachine().openKeys.erase(reinterpret_cast<ULONG_PTR>(hKey)) != 0;
  if (fault == Fault::kFail) return ERROR_INVALID_HANDLE;
  return wasOpen ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
