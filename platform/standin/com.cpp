// COM and OLE automation (ole32, oleaut32) and the DirectShow objects behind
// the video-input category: the system device enumerator, its class
// enumerator, one moniker, property bag and filter per capture source. Every
// object keeps a reference count and is counted while alive, so a test sees a
// reference that was never given back.
#include <stdlib.h>
#include <wchar.h>

#include "state.h"

using sim::Fault;
using sim::detail::TheMachine;

namespace {

const OLECHAR kFriendlyName[] = L"FriendlyName";

// The reference count shared by every object; the object is destroyed, and
// no longer counted, when its last reference is given up.
template <class... Interfaces>
class Object : public Interfaces... {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override {
    sim::EnterOperation("IUnknown::AddRef");
    return ++references_;
  }

  ULONG STDMETHODCALLTYPE Release() override {
    sim::EnterOperation("IUnknown::Release");
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  Object() { ++TheMachine().liveComObjects; }
  virtual ~Object() { --TheMachine().liveComObjects; }

  // The common part of QueryInterface: faults, the output cleared, and a
  // reference for the interface found (null when the object lacks it).
  HRESULT Answer(void** ppv, IUnknown* found) {
    const Fault fault = sim::EnterOperation("IUnknown::QueryInterface");
    if (fault == Fault::kSucceedWithoutOutput) return S_OK;
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (fault == Fault::kFail || found == nullptr) return E_NOINTERFACE;
    ++references_;
    *ppv = found;
    return S_OK;
  }

 private:
  ULONG references_ = 1;
};

class Filter final : public Object<IBaseFilter, IKsPropertySet> {
 public:
  explicit Filter(int source) : source_(source) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    IUnknown* found = nullptr;
    if (riid == IID_IUnknown || riid == IID_IBaseFilter) found = static_cast<IBaseFilter*>(this);
    if (riid == IID_IKsPropertySet && TheMachine().sources[source_].hasPropertySet) {
      found = static_cast<IKsPropertySet*>(this);
    }
    return Answer(ppv, found);
  }

  // Every write reaches the driver and is recorded as sent, whatever the
  // driver then answers.
  HRESULT STDMETHODCALLTYPE Set(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData,
                                DWORD cbInstanceData, LPVOID pPropData, DWORD cbPropData) override {
    const Fault fault = sim::EnterOperation("IKsPropertySet::Set");
    sim::PropertyWrite write;
    write.source = source_;
    write.set = guidPropSet;
    write.id = dwPropID;
    write.instanceLength = cbInstanceData;
    write.dataLength = cbPropData;
    const BYTE* instance = static_cast<const BYTE*>(pInstanceData);
    const BYTE* data = static_cast<const BYTE*>(pPropData);
    if (instance != nullptr) write.instance.assign(instance, instance + cbInstanceData);
    if (data != nullptr) write.data.assign(data, data + cbPropData);
    TheMachine().propertyWrites.push_back(write);
    return fault == Fault::kFail ? E_FAIL : TheMachine().sources[source_].setResult;
  }

 private:
  int source_;
};

class PropertyBag final : public Object<IPropertyBag> {
 public:
  explicit PropertyBag(int source) : source_(source) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    const bool known = riid == IID_IUnknown || riid == IID_IPropertyBag;
    return Answer(ppv, known ? this : nullptr);
  }

  // Reads "FriendlyName" as a string, into a VARIANT that holds no string
  // yet; the string then belongs to the caller.
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT* pVar,
                                 IErrorLog* pErrorLog) override {
    (void)pErrorLog;
    const Fault fault = sim::EnterOperation("IPropertyBag::Read");
    if (fault == Fault::kSucceedWithoutOutput) return S_OK;
    if (fault == Fault::kFail) return E_FAIL;
    if (pVar == nullptr || pszPropName == nullptr) return E_POINTER;
    if (wcscmp(pszPropName, kFriendlyName) != 0) return E_INVALIDARG;
    if (pVar->vt != VT_BSTR && pVar->vt != VT_EMPTY) return E_INVALIDARG;
    const sim::CaptureSource& source = TheMachine().sources[source_];
    if (!source.nameReadable) return E_FAIL;
    BSTR name = SysAllocString(source.friendlyName.c_str());
    if (name == nullptr) return E_OUTOFMEMORY;
    pVar->vt = VT_BSTR;
    pVar->bstrVal = name;
    return S_OK;
  }

 private:
  int source_;
};

class Moniker final : public Object<IMoniker> {
 public:
  explicit Moniker(int source) : source_(source) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return Answer(ppv, riid == IID_IUnknown ? this : nullptr);
  }

  HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riidResult,
                                         void** ppvResult) override {
    (void)pbc;
    (void)pmkToLeft;
    const Fault fault = sim::EnterOperation("IMoniker::BindToObject");
    if (fault == Fault::kSucceedWithoutOutput) return S_OK;
    if (ppvResult == nullptr) return E_POINTER;
    *ppvResult = nullptr;
    if (fault == Fault::kFail || !TheMachine().sources[source_].filterBinds) return E_FAIL;
    if (riidResult != IID_IBaseFilter) return E_NOINTERFACE;
    *ppvResult = static_cast<IBaseFilter*>(new Filter(source_));
    TheMachine().boundSources.push_back(source_);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riid,
                                          void** ppvObj) override {
    (void)pbc;
    (void)pmkToLeft;
    const Fault fault = sim::EnterOperation("IMoniker::BindToStorage");
    if (fault == Fault::kSucceedWithoutOutput) return S_OK;
    if (ppvObj == nullptr) return E_POINTER;
    *ppvObj = nullptr;
    if (fault == Fault::kFail || !TheMachine().sources[source_].bagBinds) return E_FAIL;
    if (riid != IID_IPropertyBag) return E_NOINTERFACE;
    *ppvObj = static_cast<IPropertyBag*>(new PropertyBag(source_));
    return S_OK;
  }

 private:
  int source_;
};

class SourceEnumerator final : public Object<IEnumMoniker> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return Answer(ppv, riid == IID_IUnknown ? this : nullptr);
  }

  // Hands out one moniker at a time; S_FALSE with nothing fetched at the end.
  HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) override {
    const Fault fault = sim::EnterOperation("IEnumMoniker::Next");
    if (fault == Fault::kSucceedWithoutOutput) return S_OK;
    if (fault == Fault::kFail) return E_FAIL;
    if (rgelt == nullptr || celt != 1) return E_INVALIDARG;
    *rgelt = nullptr;
    if (pceltFetched != nullptr) *pceltFetched = 0;
    if (next_ >= TheMachine().sources.size()) return S_FALSE;
    *rgelt = new Moniker(static_cast<int>(next_++));
    if (pceltFetched != nullptr) *pceltFetched = 1;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Reset() override {
    if (sim::EnterOperation("IEnumMoniker::Reset") == Fault::kFail) return E_FAIL;
    next_ = 0;
    return S_OK;
  }

 private:
  size_t next_ = 0;
};

class SystemDeviceEnumerator final : public Object<ICreateDevEnum> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    const bool known = riid == IID_IUnknown || riid == IID_ICreateDevEnum;
    return Answer(ppv, known ? this : nullptr);
  }

  // Only the video-input category has devices; like the platform, an empty
  // category gives S_FALSE and no enumerator.
  HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID clsidDeviceClass,
                                                  IEnumMoniker** ppEnumMoniker,
                                                  DWORD dwFlags) override {
    (void)dwFlags;
    const Fault fault = sim::EnterOperation("ICreateDevEnum::CreateClassEnumerator");
    if (fault == Fault::kSucceedWithoutOutput) return S_OK;
    if (ppEnumMoniker == nullptr) return E_POINTER;
    *ppEnumMoniker = nullptr;
    if (fault == Fault::kFail) return E_FAIL;
    if (clsidDeviceClass != CLSID_VideoInputDeviceCategory || TheMachine().sources.empty()) {
      return S_FALSE;
    }
    *ppEnumMoniker = new SourceEnumerator();
    return S_OK;
  }
};

}  // namespace

namespace sim {

int AddCaptureSource(const CaptureSource& source) {
  detail::TheMachine().sources.push_back(source);
  return static_cast<int>(detail::TheMachine().sources.size()) - 1;
}

const std::vector<PropertyWrite>& PropertyWrites() { return detail::TheMachine().propertyWrites; }

const std::vector<int>& BoundSources() { return detail::TheMachine().boundSources; }

}  // namespace sim

// Counts nested beginnings on the one thread: S_OK first, S_FALSE after.
HRESULT WINAPI CoInitialize(LPVOID pvReserved) {
  if (sim::EnterOperation("CoInitialize") == Fault::kFail) return E_OUTOFMEMORY;
  if (pvReserved != nullptr) return E_INVALIDARG;
  return TheMachine().comInitDepth++ == 0 ? S_OK : S_FALSE;
}

// An end without a beginning does nothing.
void WINAPI CoUninitialize() {
  sim::EnterOperation("CoUninitialize");
  if (TheMachine().comInitDepth > 0) --TheMachine().comInitDepth;
}

HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext,
                                REFIID riid, LPVOID* ppv) {
  const Fault fault = sim::EnterOperation("CoCreateInstance");
  if (fault == Fault::kSucceedWithoutOutput) return S_OK;
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (fault == Fault::kFail) return REGDB_E_CLASSNOTREG;
  if (TheMachine().comInitDepth == 0) return CO_E_NOTINITIALIZED;
  if (pUnkOuter != nullptr || (dwClsContext & CLSCTX_INPROC_SERVER) == 0) return E_INVALIDARG;
  if (rclsid != CLSID_SystemDeviceEnum) return REGDB_E_CLASSNOTREG;
  if (riid != IID_ICreateDevEnum && riid != IID_IUnknown) return E_NOINTERFACE;
  *ppv = static_cast<ICreateDevEnum*>(new SystemDeviceEnumerator());
  return S_OK;
}

BSTR WINAPI SysAllocString(const OLECHAR* psz) {
  if (sim::EnterOperation("SysAllocString") != Fault::kNone || psz == nullptr) return nullptr;
  const size_t bytes = (wcslen(psz) + 1) * sizeof(OLECHAR);
  BSTR copy = static_cast<BSTR>(malloc(bytes));
  if (copy == nullptr) return nullptr;
  memcpy(copy, psz, bytes);
  ++TheMachine().liveBstrs;
  return copy;
}

void WINAPI SysFreeString(BSTR bstrString) {
  sim::EnterOperation("SysFreeString");
  if (bstrString == nullptr) return;
  --TheMachine().liveBstrs;
  free(bstrString);
}
