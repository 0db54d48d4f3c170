// Times the imaging toolkit's hot operations on one picture: resample to a 112 x 112 box and to half size,
// rotation by 90 degrees, and PNG and TIFF load and save. Prints one line per operation with the median of the
// runs in milliseconds: "<name> <median_ms>".
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
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

// Runs op `runs` times on a fresh copy of the source (when given) and prints the median.
template <class Op>
void Time(const char* name, int runs, const ORVLBITMAP* source, Op op) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    ORVLBITMAP work;
    orvlInitBitmap(&work, 1, 1, 1);
    if (source) Check(orvlCopyBitmap(&work, source), "copy");
    const double t0 = NowMs();
    op(&work);
    times.push_back(NowMs() - t0);
    orvlFreeBitmap(&work);
  }
  std::sort(times.begin(), times.end());
  std::printf("%s %.2f\n", name, times[times.size() / 2]);
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
  Time("png_load", runs, nullptr, [&](ORVLBITMAP* b) { Check(orvlLoadBitmap(png.c_str(), b, 24, ORVL_ORDER_BGR), "png load"); });
  Time("tiff_save", runs, &picture, [&](ORVLBITMAP* b) { Check(orvlSaveFile(tif.c_str(), b, ORVL_FMT_TIFF, 24, 0, 0), "tiff save"); });
  Time("tiff_load", runs, nullptr, [&](ORVLBITMAP* b) { Check(orvlLoadBitmap(tif.c_str(), b, 24, ORVL_ORDER_BGR), "tiff load"); });
  orvlFreeBitmap(&picture);
  return 0;
}
