// The shared GetThumbnail of the format modules.
#include <nxformat/format_module.h>

namespace nxformat {

namespace {

const uint32_t kLargestBox = 0xFFFF;  // thumbnail sizes travel as unsigned 16-bit values

unsigned short BoxSide(uint32_t side) { return static_cast<unsigned short>(side < kLargestBox ? side : kLargestBox); }

}  // namespace

HRESULT ThumbnailIntoDescriptor(INXIFLib* module, tagIMAGEBUFDESC* desc, LONG expand) {
  if (!desc) return Status(IMGFILERR_FAILED);
  NXHGLOBAL handle = 0;
  unsigned short width = BoxSide(desc->width), height = BoxSide(desc->height);
  HRESULT hr = module->GetPlatformThumbnail(&handle, &width, &height, expand);
  if (Code(hr) != IMGFILERR_OK) {
    if (handle) GlobalFree(reinterpret_cast<HGLOBAL>(handle));
    return hr;
  }
  if (!handle) return Status(IMGFILERR_FAILED);
  HGLOBAL dib = reinterpret_cast<HGLOBAL>(handle);
  tagIMGFILERR result = CopyDibToDescriptor(dib, desc);
  GlobalFree(dib);
  return Status(result);
}

}  // namespace nxformat
