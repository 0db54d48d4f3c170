// The LEAD-based module as an in-process COM server: its class table, category and type library.
#include <comkit/module.h>
#include <nxformat/nxformat.h>
#include "lead_format.h"
#include "lead_ids.h"

namespace {

const comkit::CategoryInfo kCategories[] = {{&nxformat::kCategoryId, nxformat::kCategoryDescription}};
const comkit::ClassEntry kClasses[] = {
    {&CLSID_NXLeadFormat, &nxlead::NXLeadFormat::Create, NXLEAD_CLASS_NAME, NXLEAD_PROGID, NXLEAD_VI_PROGID,
     NXLEAD_THREADING, kCategories, 1},
};
const comkit::TypeLibInfo kTypeLib = {&LIBID_NXLEADCOMLib, NXLEAD_TYPELIB_MAJOR, NXLEAD_TYPELIB_MINOR};

}  // namespace

COMKIT_COM_EXPORTS(kClasses, &kTypeLib)
