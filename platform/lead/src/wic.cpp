// The Windows Imaging Component behind PNG, TIFF and GIF decoding and GIF encoding.
#include <wincodec.h>

#include "pixels.h"
#include "win.h"

namespace orvl {
namespace {

// COM for the length of one call on threads that have not started it themselves.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() { if (SUCCEEDED(hr_)) CoUninitialize(); }
 private:
  HRESULT hr_;
};

template <class T>
class Com {
 public:
  ~Com() { if (p) p->Release(); }
  T** out() { return &p; }
  T* operator->() const { return p; }
  T* p = nullptr;
};

int mapHr(HRESULT hr) {
  if (hr == E_OUTOFMEMORY) return ORVL_ERROR_NO_MEMORY;
  if (hr == WINCODEC_ERR_COMPONENTNOTFOUND) return ORVL_ERROR_NOT_SUPPORTED;
  return ORVL_ERROR_FILE_CORRUPT;
}

// An 8-bit indexed frame (every GIF frame) read as its own palette and indices: exact colours, where the
// component's conversion to colour pixels is not.
int copyIndexed(IWICImagingFactory* f, IWICBitmapFrameDecode* fr, int w, int h, ORVLBITMAP* out) {
  Com<IWICPalette> pal;
  WICColor colors[256] = {};
  UINT n = 0;
  HRESULT hr;
  if (FAILED(hr = f->CreatePalette(pal.out())) || FAILED(hr = fr->CopyPalette(pal.p)) ||
      FAILED(hr = pal->GetColors(256, colors, &n)))
    return mapHr(hr);
  ORVLBITMAP bmp;
  int rc = createRaw(&bmp, w, h, 8, ORVL_ORDER_BGR, ORVL_TOP_LEFT);
  if (rc != ORVL_SUCCESS) return rc;
  // Indices past the palette read as black, as in other readers.
  for (int i = 0; i < 256; ++i)
    bmp.Palette[i] = ORVLRGBQUAD{uint8_t(colors[i]), uint8_t(colors[i] >> 8), uint8_t(colors[i] >> 16), 0};
  if (FAILED(hr = fr->CopyPixels(nullptr, UINT(bmp.BytesPerLine), bmp.Size, bmp.Data))) {
    orvlFreeBitmap(&bmp);
    return mapHr(hr);
  }
  *out = bmp;
  return ORVL_SUCCESS;
}

// Any other frame through the component's converter. Grey and indexed frames convert to 24-bit BGR only by
// way of 32-bit BGRA here, so BGRA is the target.
int copyConverted(IWICImagingFactory* f, IWICBitmapFrameDecode* fr, int w, int h, ORVLBITMAP* out) {
  Com<IWICFormatConverter> c;
  HRESULT hr;
  if (FAILED(hr = f->CreateFormatConverter(c.out())) ||
      FAILED(hr = c->Initialize(fr, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom)))
    return mapHr(hr);
  ORVLBITMAP bmp;
  int rc = createRaw(&bmp, w, h, 32, ORVL_ORDER_BGR, ORVL_TOP_LEFT);
  if (rc != ORVL_SUCCESS) return rc;
  if (FAILED(hr = c->CopyPixels(nullptr, UINT(bmp.BytesPerLine), bmp.Size, bmp.Data))) {
    orvlFreeBitmap(&bmp);
    return mapHr(hr);
  }
  *out = bmp;
  return ORVL_SUCCESS;
}

}  // namespace

int wicDecode(const uint8_t* data, size_t size, int index, ORVLBITMAP* out) {
  ComScope com;
  Com<IWICImagingFactory> f;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(f.out()));
  if (FAILED(hr)) return ORVL_ERROR_NOT_SUPPORTED;
  Com<IWICStream> s;
  if (FAILED(hr = f->CreateStream(s.out())) ||
      FAILED(hr = s->InitializeFromMemory(const_cast<BYTE*>(data), DWORD(size))))
    return mapHr(hr);
  Com<IWICBitmapDecoder> d;
  if (FAILED(hr = f->CreateDecoderFromStream(s.p, nullptr, WICDecodeMetadataCacheOnDemand, d.out()))) return mapHr(hr);
  UINT frames = 0;
  if (FAILED(hr = d->GetFrameCount(&frames))) return mapHr(hr);
  if (index < 0 || UINT(index) >= frames) return ORVL_ERROR_PAGE_NOT_FOUND;
  Com<IWICBitmapFrameDecode> fr;
  if (FAILED(hr = d->GetFrame(UINT(index), fr.out()))) return mapHr(hr);
  UINT w = 0, h = 0;
  if (FAILED(hr = fr->GetSize(&w, &h))) return mapHr(hr);
  if (!w || !h || w > ORVL_MAX_DIMENSION || h > ORVL_MAX_DIMENSION) return ORVL_ERROR_FILE_CORRUPT;
  WICPixelFormatGUID format;
  if (FAILED(hr = fr->GetPixelFormat(&format))) return mapHr(hr);
  ORVLBITMAP bmp;
  int rc = format == GUID_WICPixelFormat8bppIndexed ? copyIndexed(f.p, fr.p, int(w), int(h), &bmp)
                                                    : copyConverted(f.p, fr.p, int(w), int(h), &bmp);
  if (rc != ORVL_SUCCESS) return rc;
  double dx = 0, dy = 0;
  if (SUCCEEDED(fr->GetResolution(&dx, &dy)) && dx > 0 && dy > 0) {
    bmp.XResolution = int32_t(dx + 0.5);
    bmp.YResolution = int32_t(dy + 0.5);
  }
  *out = bmp;
  return ORVL_SUCCESS;
}

int wicEncodeGif(const ORVLBITMAP* bmp, Bytes* out) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (bmp->BitsPerPixel != 8) return ORVL_ERROR_INVALID_BITS;
  ComScope com;
  Com<IWICImagingFactory> f;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(f.out()));
  if (FAILED(hr)) return ORVL_ERROR_NOT_SUPPORTED;
  Com<IStream> stream;
  if (FAILED(hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.out()))) return ORVL_ERROR_NO_MEMORY;
  Com<IWICBitmapEncoder> e;
  Com<IWICBitmapFrameEncode> fr;
  Com<IPropertyBag2> bag;
  Com<IWICPalette> pal;
  WICColor colors[256];
  for (int i = 0; i < 256; ++i) {
    const ORVLRGBQUAD& q = bmp->Palette[i];
    colors[i] = 0xff000000u | (WICColor(q.rgbRed) << 16) | (WICColor(q.rgbGreen) << 8) | q.rgbBlue;
  }
  WICPixelFormatGUID pf = GUID_WICPixelFormat8bppIndexed;
  if (FAILED(hr = f->CreateEncoder(GUID_ContainerFormatGif, nullptr, e.out())) ||
      FAILED(hr = e->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
      FAILED(hr = f->CreatePalette(pal.out())) || FAILED(hr = pal->InitializeCustom(colors, 256)) ||
      FAILED(hr = e->CreateNewFrame(fr.out(), bag.out())) || FAILED(hr = fr->Initialize(bag.p)) ||
      FAILED(hr = fr->SetSize(UINT(bmp->Width), UINT(bmp->Height))) || FAILED(hr = fr->SetPixelFormat(&pf)) ||
      FAILED(hr = fr->SetPalette(pal.p)))
    return ORVL_ERROR_FILE_WRITE;
  if (pf != GUID_WICPixelFormat8bppIndexed) return ORVL_ERROR_NOT_SUPPORTED;
  Bytes rows(size_t(bmp->Width) * bmp->Height);
  for (int y = 0; y < bmp->Height; ++y) std::memcpy(&rows[size_t(y) * bmp->Width], viewRow(bmp, y), size_t(bmp->Width));
  if (FAILED(hr = fr->WritePixels(UINT(bmp->Height), UINT(bmp->Width), UINT(rows.size()), rows.data())) ||
      FAILED(hr = fr->Commit()) || FAILED(hr = e->Commit()))
    return ORVL_ERROR_FILE_WRITE;
  HGLOBAL mem = nullptr;
  if (FAILED(GetHGlobalFromStream(stream.p, &mem))) return ORVL_ERROR_FAILURE;
  STATSTG st;
  if (FAILED(stream->Stat(&st, STATFLAG_NONAME))) return ORVL_ERROR_FAILURE;
  const uint8_t* p = static_cast<const uint8_t*>(GlobalLock(mem));
  if (!p) return ORVL_ERROR_MEMORY_LOCK;
  out->assign(p, p + size_t(st.cbSize.QuadPart));
  GlobalUnlock(mem);
  return ORVL_SUCCESS;
}

}  // namespace orvl
