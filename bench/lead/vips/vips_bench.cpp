// Times libvips in process on what lead_bench.exe times for our toolkit: resample to a 112 x 112 box and to half
// size, rotation by 90 degrees, PNG and TIFF saving of one decoded picture and loading of the reference files
// ref.png and ref.tif in the scratch folder. Prints "<name> <ms>" per run.
#include <vips/vips.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

const int kThumbBox = 112;

double nowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "vips_bench: %s failed: %s\n", what, vips_error_buffer());
    std::exit(1);
  }
}

// Computes a (lazy) result into memory, as our calls leave a bitmap in memory, and drops it.
void materialise(VipsImage* out, const char* what) {
  check(out != nullptr, what);
  VipsImage* memory = vips_image_copy_memory(out);
  check(memory != nullptr, what);
  g_object_unref(memory);
  g_object_unref(out);
}

void time(const char* name, int runs, const std::function<void()>& op) {
  for (int i = 0; i < runs; ++i) {
    const double t0 = nowMs();
    op();
    std::printf("%s %.3f\n", name, nowMs() - t0);
  }
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (VIPS_INIT(argv[0])) vips_error_exit(nullptr);
  if (argc < 4) {
    std::fprintf(stderr, "usage: vips_bench INPUT.jpg SCRATCHDIR RUNS\n");
    return 2;
  }
  // Every run computes its result: no answer comes from vips's cache of earlier identical operations.
  vips_cache_set_max(0);
  const std::string dir = argv[2];
  const int runs = std::max(1, std::atoi(argv[3]));
  VipsImage* file = vips_image_new_from_file(argv[1], nullptr);
  check(file != nullptr, "load input");
  VipsImage* picture = vips_image_copy_memory(file);  // decoded once, as lead_bench loads its picture once
  check(picture != nullptr, "decode input");
  g_object_unref(file);
  const double thumbScale = double(kThumbBox) / std::max(picture->Xsize, picture->Ysize);

  time("thumb", runs, [&] {
    VipsImage* out = nullptr;
    vips_resize(picture, &out, thumbScale, nullptr);
    materialise(out, "resize thumb");
  });
  time("half", runs, [&] {
    VipsImage* out = nullptr;
    vips_resize(picture, &out, 0.5, nullptr);
    materialise(out, "resize half");
  });
  time("rotate", runs, [&] {
    VipsImage* out = nullptr;
    vips_rot(picture, &out, VIPS_ANGLE_D90, nullptr);
    materialise(out, "rotate");
  });
  const std::string png = dir + "/vips_out.png", pngDefault = dir + "/vips_default.png", tif = dir + "/vips_out.tif";
  // Our writer filters photographs with Up; vips's fastest deflate level with that filter is its nearest match.
  time("png_save", runs, [&] {
    check(vips_pngsave(picture, png.c_str(), "compression", 1, "filter", VIPS_FOREIGN_PNG_FILTER_UP, nullptr) == 0,
          "png save");
  });
  time("png_save_default", runs, [&] { check(vips_pngsave(picture, pngDefault.c_str(), nullptr) == 0, "png save"); });
  time("tiff_save", runs, [&] { check(vips_tiffsave(picture, tif.c_str(), nullptr) == 0, "tiff save"); });
  const std::string refPng = dir + "/ref.png", refTif = dir + "/ref.tif";
  time("png_load", runs, [&] { materialise(vips_image_new_from_file(refPng.c_str(), nullptr), "png load"); });
  time("tiff_load", runs, [&] { materialise(vips_image_new_from_file(refTif.c_str(), nullptr), "tiff load"); });
  g_object_unref(picture);
  vips_shutdown();
  return 0;
}
