// The format module base: the part of INXIFLib that both format modules share. It answers the six type queries
// from the module's static type table, the property calls (no module of the suite has properties) and
// GetThumbnail through the module's own GetPlatformThumbnail. A module derives
//   class MyFormat : public nxformat::FormatModule<MyFormat>
// provides static const TypeTable& Types(), and implements the file slots (CreateFile .. WriteDIB,
// GetPlatformThumbnail, GetThumbnailSize).
#pragma once
#include <comkit/object.h>
#include <nxformat/nxformat.h>
#include <nxformat/packed_dib.h>
#include <nxformat/type_table.h>
#include "nxiflib.h"

namespace nxformat {

// The GetThumbnail every module shares: the module's platform thumbnail for the descriptor's size, copied into
// the descriptor's buffer (CopyDibToDescriptor) and freed.
HRESULT ThumbnailIntoDescriptor(INXIFLib* module, tagIMAGEBUFDESC* desc, LONG expand);
// A descriptor's width or height as the box side of a thumbnail request (sizes travel as 16-bit values).
unsigned short ThumbnailBoxSide(uint32_t side);

template <class Derived>
class FormatModule : public comkit::Object<Derived, INXIFLib> {
 public:
  STDMETHODIMP GetSupportImageType(unsigned short* numOfTypes, unsigned short typesSize, ULONG* types) override {
    return Status(nxformat::GetSupportImageType(Derived::Types(), numOfTypes, typesSize, types));
  }
  STDMETHODIMP GetSupportBits(unsigned short bitsSize, unsigned short* bits, ULONG type) override {
    return Status(nxformat::GetSupportBits(Derived::Types(), bitsSize, bits, type));
  }
  STDMETHODIMP GetSupportColorModel(unsigned short* colorModels, ULONG type) override {
    return Status(nxformat::GetSupportColorModel(Derived::Types(), colorModels, type));
  }
  STDMETHODIMP GetSupportCompression(unsigned short* compression, ULONG type) override {
    return Status(nxformat::GetSupportCompression(Derived::Types(), compression, type));
  }
  STDMETHODIMP GetDefaultExt(unsigned short bufSize, unsigned char* extBuf, ULONG type) override {
    return Status(nxformat::GetDefaultExt(Derived::Types(), bufSize, extBuf, type));
  }
  STDMETHODIMP GetFileFilter(unsigned short nameBufSize, unsigned char* nameBuf, unsigned short exBufSize,
                             unsigned char* extBuf, ULONG type) override {
    return Status(nxformat::GetFileFilter(Derived::Types(), nameBufSize, nameBuf, exBufSize, extBuf, type));
  }
  STDMETHODIMP GetThumbnail(tagIMAGEBUFDESC* thumb, LONG expand) override {
    return ThumbnailIntoDescriptor(this, thumb, expand);
  }
  STDMETHODIMP HasProperty(ULONG, LONG* result) override {
    if (result) *result = 0;
    return Status(IMGFILERR_OK);
  }
  STDMETHODIMP GetProperty(ULONG, NXHGLOBAL*) override { return Status(IMGFILERR_NOTIMPL); }
  STDMETHODIMP SetProperty(ULONG, NXHGLOBAL) override { return Status(IMGFILERR_NOTIMPL); }
};

}  // namespace nxformat
