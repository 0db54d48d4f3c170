// A small COM server for the COM kit's tests: one class in one category, with a type library and a
// string in its own resource library.
#include <comkit/holders.h>
#include <comkit/module.h>
#include <comkit/module_files.h>
#include <comkit/object.h>
#include "comkitprobe.h"
#include "probe_ids.h"

namespace {

const int kGreetingRoom = 256;

class Probe : public comkit::Object<Probe, IComkitProbe> {
 public:
  STDMETHODIMP GetValue(long* value) override {
    if (!value) return E_POINTER;
    *value = PROBE_VALUE;
    return S_OK;
  }

  STDMETHODIMP GetGreeting(BSTR* text) override {
    if (!text) return E_POINTER;
    *text = nullptr;
    HMODULE resources = comkit::LoadSiblingLibrary(comkit::CurrentModule(), PROBE_RESOURCE_LIBRARY);
    if (!resources) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    char greeting[kGreetingRoom];
    int length = LoadStringA(resources, IDS_PROBE_GREETING, greeting, kGreetingRoom);
    FreeLibrary(resources);
    if (length <= 0) return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    *text = comkit::Bstr(greeting).Detach();
    return S_OK;
  }
};

const comkit::CategoryInfo kCategories[] = {{&CATID_ComkitProbes, PROBE_CATEGORY_NAME}};
const comkit::ClassEntry kClasses[] = {
    {&CLSID_ComkitProbe, &Probe::Create, "Comkit Probe Class", PROBE_PROGID, PROBE_VI_PROGID, "Apartment",
     kCategories, 1},
};
const comkit::TypeLibInfo kTypeLib = {&LIBID_ComkitProbeLib, 1, 0};

}  // namespace

COMKIT_COM_EXPORTS(kClasses, &kTypeLib)
