// The image-buffer cursor: fills a tagIMAGEBUFDESC over a caller-owned pixel buffer and moves its current pixel.
//
// imagio.dll exports these ten functions under their plain names; the format modules link their own copy
// (static library orv_imagebuf). Every function returns IMGFILERR_OK, IMGFILERR_OUTOFBUFFER when a move would
// leave the buffer (the cursor then stays) or IMGFILERR_NOALPHA for alpha access on a buffer without alpha.
#pragma once
#include <imagio/imgtypes.h>

extern "C" {

tagIMGFILERR SetImageBuffer(tagIMAGEBUFDESC* desc, uint8_t* pixels, uint32_t width, uint32_t height,
                            uint32_t bytesPerLine, int upsideDown, tagCOLORMODEL model, tagCOMPONENTORDER order,
                            tagOPACITY opacity);
tagIMGFILERR ResetImageBuffer(tagIMAGEBUFDESC* desc, uint8_t* pixels);
tagIMGFILERR ImageBufferNextLine(tagIMAGEBUFDESC* desc);
tagIMGFILERR ImageBufferPrevLine(tagIMAGEBUFDESC* desc);
tagIMGFILERR ImageBufferNextPixel(tagIMAGEBUFDESC* desc);
tagIMGFILERR ImageBufferPrevPixel(tagIMAGEBUFDESC* desc);
tagIMGFILERR ImageBufferSkipPixels(tagIMAGEBUFDESC* desc, uint32_t count);
tagIMGFILERR ImageBufferRefeedPixels(tagIMAGEBUFDESC* desc, uint32_t count);
tagIMGFILERR ImageBufferSetCurrentAlpha(tagIMAGEBUFDESC* desc, uint8_t alpha);
tagIMGFILERR ImageBufferGetCurrentAlpha(tagIMAGEBUFDESC* desc, uint8_t* alpha);

}  // extern "C"

namespace imagio {

// Bytes per pixel of a descriptor: 3 colour bytes for COLORMODEL_RGB, plus one alpha byte unless opaque.
uint32_t BytesPerPixel(const tagIMAGEBUFDESC& desc);
uint32_t BytesPerPixel(uint32_t model, uint32_t opacity);

}  // namespace imagio
