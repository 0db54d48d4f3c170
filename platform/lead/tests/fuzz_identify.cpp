// libFuzzer target: identification and the BMP, PNG and TIFF colour-strip readers over arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "codecs.h"
#include "lead/orvlead_core.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ORVLFILEINFO info;
  orvl::identify(data, size, 1, &info);
  orvl::identify(data, size, 2, &info);
  ORVLBITMAP b;
  orvlInitBitmap(&b, 1, 1, 1);
  if (orvl::decodeBmp(data, size, &b) == ORVL_SUCCESS) orvlFreeBitmap(&b);
  orvlInitBitmap(&b, 1, 1, 1);
  if (orvl::decodePng(data, size, &b) == ORVL_SUCCESS) orvlFreeBitmap(&b);
  orvlInitBitmap(&b, 1, 1, 1);
  if (orvl::decodeTiff(data, size, 0, &b) == ORVL_SUCCESS) orvlFreeBitmap(&b);
  return 0;
}
