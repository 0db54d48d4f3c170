// Helpers for the codec tests: peer tools, scratch files, PNM input/output and synthetic photos.
#include "test_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#ifdef _WIN32
#include <windows.h>
#endif

namespace ijltest {

bool haveTool(const std::string& name) {
  bool found = run("command -v " + name + " >/dev/null 2>&1") == 0;
  if (!found) ADD_FAILURE() << "required tool '" << name << "' is not on PATH (install libjpeg-turbo-progs / imagemagick)";
  return found;
}

#ifdef _WIN32
// Under Wine the peers are the machine's own Linux programs. Wine starts a Unix program from CreateProcess but
// hands back no process to wait for, so the command runs in a shell script that leaves its exit status in a
// file, which is awaited. Paths are shared as they are: the tests run with the current drive mapped to the
// Unix root (CTest's working folder is in the build tree), so "/tmp/x" names the same file on both sides.
int run(const std::string& command) {
  constexpr int kPollMs = 5;
  constexpr DWORD kLimitMs = 10 * 60 * 1000;
  static int count = 0;
  const std::string base = "/tmp/ijl-run-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
  const std::string script = base + ".sh", status = base + ".status";
  std::FILE* f = std::fopen(script.c_str(), "wb");
  if (!f) return -1;
  std::fprintf(f, "%s\necho $? > '%s.part' && mv '%s.part' '%s'\n", command.c_str(), status.c_str(), status.c_str(),
               status.c_str());
  std::fclose(f);
  std::string line = "Z:\\bin\\sh " + script;
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::remove(script.c_str());
    return -1;
  }
  int result = -1;
  for (DWORD waited = 0; waited < kLimitMs; waited += kPollMs) {
    if (std::FILE* done = std::fopen(status.c_str(), "rb")) {
      if (std::fscanf(done, "%d", &result) != 1) result = -1;
      std::fclose(done);
      break;
    }
    Sleep(kPollMs);
  }
  std::remove(status.c_str());
  std::remove(script.c_str());
  return result;
}
#else
int run(const std::string& command) { return std::system(command.c_str()); }
#endif

namespace {
std::string& scratchDirName() {
  static std::string dir;
  return dir;
}
void removeScratchDir() { run("rm -rf '" + scratchDirName() + "'"); }

bool makeScratchDir(std::string* dir) {
#ifdef _WIN32
  *dir = "/tmp/ijl-test-" + std::to_string(GetCurrentProcessId());
  if (!CreateDirectoryA(dir->c_str(), nullptr)) return false;
  // The same folder must be seen by the peers (see run).
  const std::string probe = *dir + "/shared";
  std::FILE* f = std::fopen(probe.c_str(), "wb");
  if (!f) return false;
  std::fclose(f);
  return run("test -f '" + probe + "'") == 0;
#else
  char templ[] = "/tmp/ijl-test-XXXXXX";
  if (!mkdtemp(templ)) return false;
  *dir = templ;
  return true;
#endif
}
}  // namespace

const std::string& scratchDir() {
  std::string& dir = scratchDirName();
  if (dir.empty()) {
    if (!makeScratchDir(&dir)) ADD_FAILURE() << "cannot create a scratch directory shared with the peer tools: " << dir;
    std::atexit(removeScratchDir);
  }
  return dir;
}

std::string scratchPath(const std::string& name) { return scratchDir() + "/" + name; }

std::vector<uint8_t> readFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
  std::fclose(f);
  return bytes;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

bool readPnm(const std::string& path, ijl::Image* image) {
  std::vector<uint8_t> b = readFile(path);
  if (b.size() < 3 || b[0] != 'P' || (b[1] != '5' && b[1] != '6')) return false;
  image->channels = b[1] == '6' ? 3 : 1;
  size_t pos = 2;
  int fields[3];
  for (int& field : fields) {
    while (pos < b.size() && (isspace(b[pos]) || b[pos] == '#')) {
      if (b[pos] == '#')
        while (pos < b.size() && b[pos] != '\n') ++pos;
      else
        ++pos;
    }
    field = 0;
    while (pos < b.size() && isdigit(b[pos])) field = field * 10 + (b[pos++] - '0');
  }
  ++pos;
  image->width = fields[0];
  image->height = fields[1];
  size_t n = static_cast<size_t>(image->width) * image->height * image->channels;
  if (fields[2] != 255 || b.size() < pos + n) return false;
  image->pixels.assign(b.begin() + pos, b.begin() + pos + n);
  return true;
}

void writePnm(const std::string& path, const ijl::Image& image) {
  std::string header = (image.channels == 3 ? "P6\n" : "P5\n") + std::to_string(image.width) + " " +
                       std::to_string(image.height) + "\n255\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  bytes.insert(bytes.end(), image.pixels.begin(), image.pixels.end());
  writeFile(path, bytes);
}

ijl::Image makePhoto(int width, int height, int channels, unsigned seed) {
  ijl::Image img;
  img.width = width;
  img.height = height;
  img.channels = channels;
  img.pixels.resize(static_cast<size_t>(width) * height * channels);
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> noise(-12, 12);
  const double cx = width * 0.6, cy = height * 0.4, radius = std::min(width, height) * 0.25;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double fx = static_cast<double>(x) / width, fy = static_cast<double>(y) / height;
      double base[3] = {200 * fx + 30 * std::sin(fy * 9), 60 + 150 * fy, 120 + 100 * std::sin(fx * 5 + fy * 3)};
      bool disc = (x - cx) * (x - cx) + (y - cy) * (y - cy) < radius * radius;
      bool stripe = ((x / 16) + (y / 24)) % 7 == 0;
      for (int c = 0; c < 3; ++c) {
        if (disc) base[c] = 255 - base[c] * 0.5;
        if (stripe) base[c] *= 0.3;
      }
      uint8_t* p = &img.pixels[(static_cast<size_t>(y) * width + x) * channels];
      int n = noise(rng);
      for (int c = 0; c < channels; ++c) {
        double v = (channels == 1 ? (base[0] + base[1] + base[2]) / 3 : base[c]) + n;
        p[c] = static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
      }
    }
  }
  return img;
}

Difference compare(const ijl::Image& a, const ijl::Image& b) {
  Difference d;
  if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) {
    d.maxAbs = 256;
    return d;
  }
  long long sum = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    int v = std::abs(a.pixels[i] - b.pixels[i]);
    sum += v;
    if (v > d.maxAbs) d.maxAbs = v;
  }
  d.meanAbs = static_cast<double>(sum) / a.pixels.size();
  return d;
}

bool djpegDecode(const std::string& jpegPath, const std::string& options, ijl::Image* image) {
  std::string out = jpegPath + ".djpeg.pnm";
  if (run("djpeg -pnm " + options + " -outfile '" + out + "' '" + jpegPath + "' 2>/dev/null") != 0) return false;
  return readPnm(out, image);
}

}  // namespace ijltest
