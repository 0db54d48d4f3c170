// The image-buffer cursor functions: plain pointer arithmetic over a tagIMAGEBUFDESC, no Win32.
#include <imagio/imagebuf.h>

namespace imagio {

namespace {

const uint32_t kRgbBytes = 3;
const uint32_t kAlphaBytes = 1;

uint8_t* TopLine(const tagIMAGEBUFDESC& d) {
  if (!d.upsideDown || d.height == 0) return d.pixels;
  return d.pixels + static_cast<size_t>(d.bytesPerLine) * (d.height - 1);
}

int64_t BufferBytes(const tagIMAGEBUFDESC& d) { return static_cast<int64_t>(d.bytesPerLine) * d.height; }

// Moves the cursor by delta bytes if the new position lies inside the buffer.
tagIMGFILERR MoveTo(tagIMAGEBUFDESC* d, int64_t offset) {
  if (offset < 0 || offset >= BufferBytes(*d)) return IMGFILERR_OUTOFBUFFER;
  d->currentPixel = d->pixels + offset;
  return IMGFILERR_OK;
}

// A pixel step of signed byte distance; the padding correction is applied once, after the whole step.
// A position in the padding goes to the next line's start (forward) or to its own line's last pixel
// (backward). On lines whose padding is not a whole number of pixels a step can land inside a pixel; it is
// put on that pixel's first byte so that the cursor always addresses a whole pixel.
tagIMGFILERR PixelStep(tagIMAGEBUFDESC* d, int64_t distance) {
  if (!d || d->bytesPerLine == 0) return IMGFILERR_OUTOFBUFFER;
  const int64_t bpl = d->bytesPerLine;
  const int64_t bpp = BytesPerPixel(*d);
  const int64_t used = bpp * d->width;
  // Pixel steps on a bottom-up buffer run the other way through memory.
  const bool forward = (distance >= 0) != (d->upsideDown != 0);
  int64_t offset = (d->currentPixel - d->pixels) + (d->upsideDown ? -distance : distance);
  int64_t line = offset >= 0 ? offset / bpl : -((-offset + bpl - 1) / bpl);
  int64_t column = offset - line * bpl;
  if (column >= used) {
    column = forward ? 0 : (d->width > 0 ? used - bpp : 0);
    if (forward) ++line;
  } else if (bpp > 0) {
    column -= column % bpp;
  }
  return MoveTo(d, line * bpl + column);
}

tagIMGFILERR LineStep(tagIMAGEBUFDESC* d, bool down) {
  if (!d) return IMGFILERR_OUTOFBUFFER;
  const int64_t bpl = d->bytesPerLine;
  const int64_t step = (down != (d->upsideDown != 0)) ? bpl : -bpl;
  return MoveTo(d, (d->currentPixel - d->pixels) + step);
}

// The alpha byte of the current pixel, or null when the buffer has none.
uint8_t* AlphaByte(const tagIMAGEBUFDESC& d) {
  if (!d.currentPixel) return nullptr;
  if (d.opacity == OPACITY_TRANSP_BEFORE) return d.currentPixel;
  if (d.opacity == OPACITY_TRANSP_AFTER) return d.currentPixel + (BytesPerPixel(d) - 1);
  return nullptr;
}

}  // namespace

uint32_t BytesPerPixel(uint32_t model, uint32_t opacity) {
  return (model == COLORMODEL_RGB ? kRgbBytes : 0) + (opacity != OPACITY_OPAQUE ? kAlphaBytes : 0);
}

uint32_t BytesPerPixel(const tagIMAGEBUFDESC& desc) { return BytesPerPixel(desc.model, desc.opacity); }

}  // namespace imagio

using imagio::BytesPerPixel;

extern "C" {

tagIMGFILERR SetImageBuffer(tagIMAGEBUFDESC* desc, uint8_t* pixels, uint32_t width, uint32_t height,
                            uint32_t bytesPerLine, int upsideDown, tagCOLORMODEL model, tagCOMPONENTORDER order,
                            tagOPACITY opacity) {
  desc->model = model;
  desc->order = order;
  desc->opacity = opacity;
  desc->width = width;
  desc->height = height;
  desc->bytesPerLine = bytesPerLine;
  desc->upsideDown = upsideDown ? 1 : 0;
  desc->unused[0] = desc->unused[1] = desc->unused[2] = 0;
  return ResetImageBuffer(desc, pixels);
}

tagIMGFILERR ResetImageBuffer(tagIMAGEBUFDESC* desc, uint8_t* pixels) {
  desc->pixels = pixels;
  desc->currentPixel = imagio::TopLine(*desc);
  return IMGFILERR_OK;
}

tagIMGFILERR ImageBufferNextLine(tagIMAGEBUFDESC* desc) { return imagio::LineStep(desc, true); }
tagIMGFILERR ImageBufferPrevLine(tagIMAGEBUFDESC* desc) { return imagio::LineStep(desc, false); }

tagIMGFILERR ImageBufferNextPixel(tagIMAGEBUFDESC* desc) {
  return desc ? imagio::PixelStep(desc, BytesPerPixel(*desc)) : IMGFILERR_OUTOFBUFFER;
}

tagIMGFILERR ImageBufferPrevPixel(tagIMAGEBUFDESC* desc) {
  return desc ? imagio::PixelStep(desc, -static_cast<int64_t>(BytesPerPixel(*desc))) : IMGFILERR_OUTOFBUFFER;
}

tagIMGFILERR ImageBufferSkipPixels(tagIMAGEBUFDESC* desc, uint32_t count) {
  return desc ? imagio::PixelStep(desc, static_cast<int64_t>(count) * BytesPerPixel(*desc)) : IMGFILERR_OUTOFBUFFER;
}

tagIMGFILERR ImageBufferRefeedPixels(tagIMAGEBUFDESC* desc, uint32_t count) {
  return desc ? imagio::PixelStep(desc, -static_cast<int64_t>(count) * BytesPerPixel(*desc))
              : IMGFILERR_OUTOFBUFFER;
}

tagIMGFILERR ImageBufferSetCurrentAlpha(tagIMAGEBUFDESC* desc, uint8_t alpha) {
  uint8_t* byte = desc ? imagio::AlphaByte(*desc) : nullptr;
  if (!byte) return IMGFILERR_NOALPHA;
  *byte = alpha;
  return IMGFILERR_OK;
}

tagIMGFILERR ImageBufferGetCurrentAlpha(tagIMAGEBUFDESC* desc, uint8_t* alpha) {
  uint8_t* byte = desc ? imagio::AlphaByte(*desc) : nullptr;
  if (!byte || !alpha) return IMGFILERR_NOALPHA;
  *alpha = *byte;
  return IMGFILERR_OK;
}

}  // extern "C"
