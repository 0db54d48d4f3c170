// The JPEG module as an in-process COM server: its class table, category and type library.
#include <comkit/module.h>
#include <nxformat/nxformat.h>
#include "jpeg_format.h"
#include "jpeg_ids.h"

namespace {

const comkit::CategoryInfo kCategories[] = {{&nxformat::kCategoryId, nxformat::kCategoryDescription}};
const comkit::ClassEntry kClasses[] = {
    {&CLSID_NXJPEGFormat, &nxjpeg::NXJPEGFormat::Create, NXJPEG_CLASS_NAME, NXJPEG_PROGID, NXJPEG_VI_PROGID,
     NXJPEG_THREADING, kCategories, 1},
};
const comkit::TypeLibInfo kTypeLib = {&LIBID_NXJPEGCOMLib, NXJPEG_TYPELIB_MAJOR, NXJPEG_TYPELIB_MINOR};

}  // namespace

COMKIT_COM_EXPORTS(kClasses, &kTypeLib)
