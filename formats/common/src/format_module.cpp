// The shared GetThumbnail of the format modules.
#include <nxformat/format_module.h>

namespace nxformat {

unsigned short ThumbnailBoxSide(uint32_t side) {
  const uint32_t kLargestBox = 0xFFFF;
  return static_cast<unsigned short>(side < kLargestBox ? side : kLargestBox);
}

HRESULT ThumbnailIntoDescriptor(INXIFLib* module, tagIMAGEBUFDESC* desc, LONG expand) {
  if (!desc) return Status(IMGFILERR_FAILED);
  NXHGLOBAL handle = 0;
  unsigned short width = ThumbnailBoxSide(desc->width), height = ThumbnailBoxSide(desc->height);
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
