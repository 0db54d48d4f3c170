// Times the imaging toolkit's hot operations on one picture: resample to a 112 x 112 box and to half size,
// rotation by 90 degrees, PNG and TIFF saving, and loading of the reference files ref.png and ref.tif in the
// scratch folder (the peer loads the same files). Prints one line per run: "<name> <ms>" (run.sh takes
// the medians over this and its other rounds; vips/vips_bench.cpp prints the same lines for the peer).
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <lead/orvlead.h>

namespace {

const int kThumbBox = 112;

double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * double(c.QuadPart) / double(f.QuadPart);
}

void Check(int rc, const char* what) {
  if (rc != ORVL_SUCCESS) {
    std::fprintf(stderr, "lead_bench: %s failed with %d\n", what, rc);
    std::exit(1);
  }
}

// Runs op `runs` times, each on a fresh copy of the source made outside the timing (when given).
template <class Op>
void Time(const char* name, int runs, const ORVLBITMAP* source, Op op) {
  for (int i = 0; i < runs; ++i) {
    ORVLBITMAP work;
    orvlInitBitmap(&work, 1, 1, 1);
    if (source) Check(orvlCopyBitmap(&work, source), "copy");
    const double t0 = NowMs();
    op(&work);
    std::printf("%s %.3f\n", name, NowMs() - t0);
    orvlFreeBitmap(&work);
  }
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: lead_bench INPUT.jpg SCRATCHDIR RUNS\n");
    return 2;
  }
  const std::string input = argv[1], dir = argv[2];
  const int runs = std::max(1, std::atoi(argv[3]));
  ORVLBITMAP picture;
  orvlInitBitmap(&picture, 1, 1, 1);
  Check(orvlLoadBitmap(input.c_str(), &picture, 24, ORVL_ORDER_BGR), "load input");
  const int w = picture.Width, h = picture.Height;
  const double ratio = double(w) / h;
  const int tw = ratio >= 1 ? kThumbBox : int(kThumbBox * ratio), th = ratio >= 1 ? int(kThumbBox / ratio) : kThumbBox;

  Time("thumb", runs, &picture, [&](ORVLBITMAP* b) { Check(orvlResampleBitmap(b, tw, th), "resample thumb"); });
  Time("half", runs, &picture, [&](ORVLBITMAP* b) { Check(orvlResampleBitmap(b, w / 2, h / 2), "resample half"); });
  Time("rotate", runs, &picture, [&](ORVLBITMAP* b) { Check(orvlRotateBitmap(b, 90, ORVL_ROTATE_RESIZE, 0), "rotate"); });
  const std::string png = dir + "\\bench_out.png", tif = dir + "\\bench_out.tif";
  Time("png_save", runs, &picture, [&](ORVLBITMAP* b) { Check(orvlSaveFile(png.c_str(), b, ORVL_FMT_PNG, 24, 0, 0), "png save"); });
  Time("tiff_save", runs, &picture, [&](ORVLBITMAP* b) { Check(orvlSaveFile(tif.c_str(), b, ORVL_FMT_TIFF, 24, 0, 0), "tiff save"); });
  const std::string refPng = dir + "\\ref.png", refTif = dir + "\\ref.tif";
  Time("png_load", runs, nullptr, [&](ORVLBITMAP* b) { Check(orvlLoadBitmap(refPng.c_str(), b, 24, ORVL_ORDER_BGR), "png load"); });
  Time("tiff_load", runs, nullptr, [&](ORVLBITMAP* b) { Check(orvlLoadBitmap(refTif.c_str(), b, 24, ORVL_ORDER_BGR), "tiff load"); });
  orvlFreeBitmap(&picture);
  return 0;
}
