// Writes small well-formed BMP and PNG files of several depths into the folder given, as the fuzzer's
// starting input.
#include <cstdio>
#include <string>

#include "codecs.h"
#include "lead/orvlead_core.h"
#include "test_util.h"

namespace {

bool writeFile(const std::string& path, const orvl::Bytes& data) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string dir = argv[1];
  for (int bits : {1, 4, 8, 24, 32}) {
    orvltest::Owned pic(orvltest::makePattern(5, 3, bits));
    if (bits == 32) pic->Data[3] = 0x80;  // a pad byte that makes the PNG carry alpha
    orvl::Bytes png, bmp;
    if (orvl::encodePng(&pic, &png) != ORVL_SUCCESS || orvl::encodeBmp(&pic, &bmp) != ORVL_SUCCESS) return 1;
    if (!writeFile(dir + "/seed" + std::to_string(bits) + ".png", png) ||
        !writeFile(dir + "/seed" + std::to_string(bits) + ".bmp", bmp))
      return 1;
  }
  return 0;
}
