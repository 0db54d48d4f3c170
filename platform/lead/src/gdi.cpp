// GDI side of the toolkit: packed DIBs, device bitmaps, painting, printing, palettes, the clipboard,
// screen capture and metafile rendering.
#include <algorithm>
#include <vector>

#include "pixels.h"
#include "win.h"

namespace orvl {

int buildPackedDib(const ORVLBITMAP* bmp, Bytes* out) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  const int bits = bmp->BitsPerPixel, colors = bits <= 8 ? (1 << bits) : 0;
  const size_t head = sizeof(BITMAPINFOHEADER) + size_t(colors) * sizeof(RGBQUAD);
  try {
    out->assign(head + bmp->Size, 0);
  } catch (const std::bad_alloc&) {
    return ORVL_ERROR_NO_MEMORY;
  }
  BITMAPINFOHEADER* h = reinterpret_cast<BITMAPINFOHEADER*>(out->data());
  h->biSize = sizeof *h;
  h->biWidth = bmp->Width;
  h->biHeight = bmp->Height;
  h->biPlanes = 1;
  h->biBitCount = WORD(bits);
  h->biCompression = BI_RGB;
  h->biSizeImage = bmp->Size;
  h->biXPelsPerMeter = LONG(bmp->XResolution * 39.3701 + 0.5);
  h->biYPelsPerMeter = LONG(bmp->YResolution * 39.3701 + 0.5);
  h->biClrUsed = DWORD(colors);
  std::memcpy(out->data() + sizeof *h, bmp->Palette, size_t(colors) * sizeof(RGBQUAD));
  uint8_t* px = out->data() + head;
  if (bmp->ViewPerspective == ORVL_BOTTOM_LEFT) std::memcpy(px, bmp->Data, bmp->Size);
  else
    for (int y = 0; y < bmp->Height; ++y)
      std::memcpy(px + size_t(y) * bmp->BytesPerLine, viewRow(bmp, bmp->Height - 1 - y), size_t(bmp->BytesPerLine));
  if (bits >= 24 && bmp->Order == ORVL_ORDER_RGB) {
    const int bpp = bits / 8;
    for (int y = 0; y < bmp->Height; ++y) {
      uint8_t* p = px + size_t(y) * bmp->BytesPerLine;
      for (int x = 0; x < bmp->Width; ++x, p += bpp) std::swap(p[0], p[2]);
    }
  }
  return ORVL_SUCCESS;
}

namespace {

int fromDibParts(ORVLBITMAP* bmp, const BITMAPINFO* info, const void* bits, size_t available) {
  if (!bmp || !info) return ORVL_ERROR_INVALID_PARAM;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 1024) return ORVL_ERROR_INVALID_PARAM;
  const int colors = h.biBitCount <= 8 ? (h.biClrUsed ? int(h.biClrUsed) : (1 << h.biBitCount)) : 0;
  if (colors > 256) return ORVL_ERROR_INVALID_PARAM;
  const size_t masks = h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
  const size_t head = h.biSize + masks + size_t(colors) * sizeof(RGBQUAD);
  const int64_t absH = h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight;
  if (h.biWidth <= 0 || absH <= 0 || h.biWidth > ORVL_MAX_DIMENSION || absH > ORVL_MAX_DIMENSION) return ORVL_ERROR_INVALID_SIZE;
  size_t pixels = h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4 ? h.biSizeImage
                  : size_t(lineBytes(int(h.biWidth), h.biBitCount ? h.biBitCount : 1)) * size_t(absH);
  if (!bits) bits = reinterpret_cast<const uint8_t*>(info) + head;
  if (available && pixels > available) return ORVL_ERROR_FILE_READ;
  // Reuse the BMP reader (its checks) on a file image of the DIB.
  Bytes file;
  try {
    file.resize(14 + head + pixels);
  } catch (const std::bad_alloc&) {
    return ORVL_ERROR_NO_MEMORY;
  }
  file[0] = 'B'; file[1] = 'M';
  uint32_t total = uint32_t(file.size()), off = uint32_t(14 + head);
  std::memcpy(&file[2], &total, 4);
  std::memcpy(&file[10], &off, 4);
  std::memcpy(&file[14], info, head);
  std::memcpy(&file[14 + head], bits, pixels);
  ORVLBITMAP pic;
  int rc = decodeBmp(file.data(), file.size(), &pic);
  if (rc != ORVL_SUCCESS) return rc;
  orvlFreeBitmap(bmp);
  *bmp = pic;
  return ORVL_SUCCESS;
}

HGLOBAL toGlobal(const Bytes& b) {
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, b.size());
  if (!g) return nullptr;
  void* p = GlobalLock(g);
  if (!p) { GlobalFree(g); return nullptr; }
  std::memcpy(p, b.data(), b.size());
  GlobalUnlock(g);
  return g;
}

int fromDdb(HDC dc, ORVLBITMAP* bmp, HBITMAP ddb, HPALETTE palette) {
  if (!bmp || !ddb) return ORVL_ERROR_INVALID_PARAM;
  BITMAP info;
  if (!GetObject(ddb, sizeof info, &info)) return ORVL_ERROR_GDI;
  ORVLBITMAP pic;
  int rc = createRaw(&pic, info.bmWidth, info.bmHeight, 24, ORVL_ORDER_BGR, ORVL_BOTTOM_LEFT);
  if (rc != ORVL_SUCCESS) return rc;
  HDC use = dc ? dc : GetDC(nullptr);
  HPALETTE old = palette ? SelectPalette(use, palette, FALSE) : nullptr;
  if (palette) RealizePalette(use);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = info.bmWidth;
  bi.bmiHeader.biHeight = info.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  int lines = GetDIBits(use, ddb, 0, UINT(info.bmHeight), pic.Data, &bi, DIB_RGB_COLORS);
  if (palette) SelectPalette(use, old, FALSE);
  if (!dc) ReleaseDC(nullptr, use);
  if (lines != info.bmHeight) { orvlFreeBitmap(&pic); return ORVL_ERROR_GDI; }
  orvlFreeBitmap(bmp);
  *bmp = pic;
  return ORVL_SUCCESS;
}

}  // namespace

int renderMetafile(const uint8_t* data, size_t size, int width, int height, ORVLBITMAP* out) {
  HENHMETAFILE emf;
  if (size >= 22 && data[0] == 0xD7 && data[1] == 0xCD && data[2] == 0xC6 && data[3] == 0x9A) {
    // Placeable WMF: the 22-byte header gives the picture's extent.
    METAFILEPICT mfp = {MM_ANISOTROPIC, width * 2540 / 96, height * 2540 / 96, nullptr};
    emf = SetWinMetaFileBits(UINT(size - 22), data + 22, nullptr, &mfp);
  } else {
    emf = SetEnhMetaFileBits(UINT(size), data);
  }
  if (!emf) return ORVL_ERROR_FILE_CORRUPT;
  ORVLBITMAP pic;
  int rc = createRaw(&pic, width, height, 24, ORVL_ORDER_BGR, ORVL_BOTTOM_LEFT);
  if (rc != ORVL_SUCCESS) { DeleteEnhMetaFile(emf); return rc; }
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP section = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = mem && section;
  if (ok) {
    HGDIOBJ old = SelectObject(mem, section);
    RECT r = {0, 0, width, height};
    FillRect(mem, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ok = PlayEnhMetaFile(mem, emf, &r) != 0;
    GdiFlush();
    if (ok) std::memcpy(pic.Data, bits, pic.Size);
    SelectObject(mem, old);
  }
  if (section) DeleteObject(section);
  if (mem) DeleteDC(mem);
  DeleteEnhMetaFile(emf);
  if (!ok) { orvlFreeBitmap(&pic); return ORVL_ERROR_GDI; }
  *out = pic;
  return ORVL_SUCCESS;
}

}  // namespace orvl

using namespace orvl;

extern "C" {

HGLOBAL orvlConvertToDIB(const ORVLBITMAP* bmp) {
  Bytes dib;
  if (buildPackedDib(bmp, &dib) != ORVL_SUCCESS) return nullptr;
  return toGlobal(dib);
}

HGLOBAL orvlChangeToDIB(ORVLBITMAP* bmp) {
  HGLOBAL g = orvlConvertToDIB(bmp);
  if (g) orvlFreeBitmap(bmp);
  return g;
}

int orvlConvertFromDIB(ORVLBITMAP* bmp, const BITMAPINFO* info, const void* bits) {
  return fromDibParts(bmp, info, bits, 0);
}

int orvlChangeFromDIB(ORVLBITMAP* bmp, HGLOBAL dib) {
  if (!dib) return ORVL_ERROR_INVALID_PARAM;
  const BITMAPINFO* info = static_cast<const BITMAPINFO*>(GlobalLock(dib));
  if (!info) return ORVL_ERROR_MEMORY_LOCK;
  size_t total = GlobalSize(dib);
  size_t head = info->bmiHeader.biSize;
  int rc = total < sizeof(BITMAPINFOHEADER) ? ORVL_ERROR_INVALID_PARAM : ORVL_SUCCESS;
  if (rc == ORVL_SUCCESS) {
    const int colors = info->bmiHeader.biBitCount <= 8 ? (info->bmiHeader.biClrUsed ? int(info->bmiHeader.biClrUsed) : (1 << info->bmiHeader.biBitCount)) : 0;
    head += size_t(std::min(colors, 256)) * sizeof(RGBQUAD) + (info->bmiHeader.biCompression == BI_BITFIELDS && head == sizeof(BITMAPINFOHEADER) ? 12 : 0);
    rc = head >= total ? ORVL_ERROR_INVALID_PARAM : fromDibParts(bmp, info, nullptr, total - head);
  }
  GlobalUnlock(dib);
  if (rc == ORVL_SUCCESS) GlobalFree(dib);
  return rc;
}

HBITMAP orvlConvertToDDB(HDC dc, const ORVLBITMAP* bmp) {
  Bytes dib;
  if (buildPackedDib(bmp, &dib) != ORVL_SUCCESS) return nullptr;
  const BITMAPINFO* bi = reinterpret_cast<const BITMAPINFO*>(dib.data());
  const uint8_t* bits = dib.data() + sizeof(BITMAPINFOHEADER) + bi->bmiHeader.biClrUsed * sizeof(RGBQUAD);
  HDC use = dc ? dc : GetDC(nullptr);
  HBITMAP h = CreateDIBitmap(use, &bi->bmiHeader, CBM_INIT, bits, bi, DIB_RGB_COLORS);
  if (!dc) ReleaseDC(nullptr, use);
  return h;
}

HBITMAP orvlChangeToDDB(HDC dc, ORVLBITMAP* bmp) {
  HBITMAP h = orvlConvertToDDB(dc, bmp);
  if (h) orvlFreeBitmap(bmp);
  return h;
}

int orvlConvertFromDDB(HDC dc, ORVLBITMAP* bmp, HBITMAP ddb, HPALETTE palette) { return fromDdb(dc, bmp, ddb, palette); }

int orvlChangeFromDDB(HDC dc, ORVLBITMAP* bmp, HBITMAP ddb, HPALETTE palette) {
  int rc = fromDdb(dc, bmp, ddb, palette);
  if (rc == ORVL_SUCCESS) DeleteObject(ddb);
  return rc;
}

int orvlPaintDC(HDC dc, const ORVLBITMAP* bmp, const RECT* src, const RECT* srcClip, const RECT* dst,
                const RECT* dstClip, DWORD rop) {
  if (!dc) return ORVL_ERROR_INVALID_PARAM;
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  RECT s = src ? *src : RECT{0, 0, bmp->Width, bmp->Height};
  RECT d = dst ? *dst : RECT{0, 0, bmp->Width, bmp->Height};
  if (s.right <= s.left || s.bottom <= s.top) return ORVL_ERROR_INVALID_PARAM;
  if (srcClip) {
    // Keep the part of the source inside the clip, and the matching part of the destination.
    RECT c;
    if (!IntersectRect(&c, &s, srcClip)) return ORVL_SUCCESS;
    const double kx = double(d.right - d.left) / (s.right - s.left), ky = double(d.bottom - d.top) / (s.bottom - s.top);
    d = RECT{LONG(d.left + (c.left - s.left) * kx), LONG(d.top + (c.top - s.top) * ky),
             LONG(d.left + (c.right - s.left) * kx), LONG(d.top + (c.bottom - s.top) * ky)};
    s = c;
  }
  Bytes dib;
  int rc = buildPackedDib(bmp, &dib);
  if (rc != ORVL_SUCCESS) return rc;
  const BITMAPINFO* bi = reinterpret_cast<const BITMAPINFO*>(dib.data());
  const uint8_t* bits = dib.data() + sizeof(BITMAPINFOHEADER) + bi->bmiHeader.biClrUsed * sizeof(RGBQUAD);
  int saved = dstClip ? SaveDC(dc) : 0;
  if (dstClip) IntersectClipRect(dc, dstClip->left, dstClip->top, dstClip->right, dstClip->bottom);
  SetStretchBltMode(dc, COLORONCOLOR);
  // Source rows of a bottom-up DIB count from the bottom.
  int r = StretchDIBits(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, s.left, bmp->Height - s.bottom,
                        s.right - s.left, s.bottom - s.top, bits, bi, DIB_RGB_COLORS, rop);
  if (dstClip) RestoreDC(dc, saved);
  return r == 0 || DWORD(r) == DWORD(GDI_ERROR) ? ORVL_ERROR_GDI : ORVL_SUCCESS;
}

HDC orvlPrintBitmap(HDC dc, const ORVLBITMAP* bmp, int x, int y, int width, int height) {
  if (!dc || !isAllocated(bmp)) return nullptr;
  if (width <= 0 || height <= 0) {
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    int bx = bmp->XResolution > 0 ? bmp->XResolution : 96, by = bmp->YResolution > 0 ? bmp->YResolution : 96;
    width = MulDiv(bmp->Width, dpiX, bx);
    height = MulDiv(bmp->Height, dpiY, by);
  }
  RECT d = {x, y, x + width, y + height};
  return orvlPaintDC(dc, bmp, nullptr, nullptr, &d, nullptr, SRCCOPY) == ORVL_SUCCESS ? dc : nullptr;
}

HPALETTE orvlCreatePaintPalette(HDC dc, const ORVLBITMAP* bmp) {
  if (!bmp) return nullptr;
  if (bmp->BitsPerPixel > 8) return CreateHalftonePalette(dc);
  struct { WORD version, count; PALETTEENTRY e[256]; } lp;
  lp.version = 0x300;
  lp.count = WORD(std::max(1, std::min(bmp->nColors, 1 << bmp->BitsPerPixel)));
  for (int i = 0; i < lp.count; ++i)
    lp.e[i] = PALETTEENTRY{bmp->Palette[i].rgbRed, bmp->Palette[i].rgbGreen, bmp->Palette[i].rgbBlue, 0};
  return CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
}

int orvlCopyToClipboard(HWND owner, const ORVLBITMAP* bmp) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  HGLOBAL dib = orvlConvertToDIB(bmp);
  if (!dib) return ORVL_ERROR_NO_MEMORY;
  if (!OpenClipboard(owner)) { GlobalFree(dib); return ORVL_ERROR_CLIPBOARD; }
  EmptyClipboard();
  bool ok = SetClipboardData(CF_DIB, dib) != nullptr;
  CloseClipboard();
  if (!ok) { GlobalFree(dib); return ORVL_ERROR_CLIPBOARD; }
  return ORVL_SUCCESS;
}

int orvlCopyFromClipboard(HWND owner, ORVLBITMAP* bmp) {
  if (!bmp) return ORVL_ERROR_NO_BITMAP;
  if (!OpenClipboard(owner)) return ORVL_ERROR_CLIPBOARD;
  HGLOBAL dib = GetClipboardData(CF_DIB);
  int rc = ORVL_ERROR_CLIPBOARD;
  if (dib) {
    const BITMAPINFO* info = static_cast<const BITMAPINFO*>(GlobalLock(dib));
    rc = info ? fromDibParts(bmp, info, nullptr, 0) : ORVL_ERROR_MEMORY_LOCK;
    if (info) GlobalUnlock(dib);
  }
  CloseClipboard();
  return rc;
}

int orvlIsClipboardReady(void) {
  return IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP) ? 1 : 0;
}

int orvlScreenCapture(ORVLBITMAP* bmp, const RECT* area) {
  if (!bmp || !area || area->right <= area->left || area->bottom <= area->top) return ORVL_ERROR_INVALID_PARAM;
  const int w = area->right - area->left, h = area->bottom - area->top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP ddb = CreateCompatibleBitmap(screen, w, h);
  int rc = ORVL_ERROR_GDI;
  if (mem && ddb) {
    HGDIOBJ old = SelectObject(mem, ddb);
    bool ok = BitBlt(mem, 0, 0, w, h, screen, area->left, area->top, SRCCOPY) != 0;
    SelectObject(mem, old);
    if (ok) rc = fromDdb(screen, bmp, ddb, nullptr);
  }
  if (ddb) DeleteObject(ddb);
  if (mem) DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return rc;
}

}  // extern "C"
