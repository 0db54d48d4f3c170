// Skin bitmap checks, safe link targets, postmark dates and picture resizing for the player.
#include "nxplay/viewer.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace nxplay {

namespace {

const size_t kFileHeaderSize = 14;
const uint32_t kInfoHeaderSize = 40;
const uint16_t kSkinBitCount = 24;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}


// Source taps of one destination index along one axis, weights in 1/65536 summing to 65536.
struct Tap {
  int index;
  uint32_t weight;
};
std::vector<std::vector<Tap>> AxisTaps(int srcSize, int dstSize) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(dstSize));
  for (int d = 0; d < dstSize; ++d) {
    std::vector<Tap>& t = taps[size_t(d)];
    if (dstSize >= srcSize) {
      // Growing: linear between the two source pixels around the destination pixel's centre.
      const double centre = (d + 0.5) * srcSize / dstSize - 0.5;
      const int left = std::max(0, std::min(srcSize - 1, int(std::floor(centre))));
      const int right = std::min(srcSize - 1, left + 1);
      const double f = std::max(0.0, std::min(1.0, centre - left));
      const uint32_t wr = uint32_t(f * 65536.0 + 0.5);
      t.push_back({left, 65536 - wr});
      if (wr) t.push_back({right, wr});
    } else {
      // Shrinking: every source pixel weighted by how much of it the destination pixel covers.
      const double x0 = double(d) * srcSize / dstSize, x1 = double(d + 1) * srcSize / dstSize;
      uint32_t total = 0;
      for (int s = int(x0); s < srcSize && s < x1; ++s) {
        const double cover = std::min<double>(x1, s + 1) - std::max<double>(x0, s);
        const uint32_t w = uint32_t(cover / (x1 - x0) * 65536.0 + 0.5);
        if (w) t.push_back({s, w});
        total += w;
      }
      if (t.empty()) t.push_back({std::min(int(x0), srcSize - 1), 0});
      t.back().weight += 65536 - total;  // rounding goes to the last tap
    }
  }
  return taps;
}

}  // namespace

bool ParseSkinBitmap(const uint8_t* data, size_t size, SkinBitmap* out) {
  if (!data || size < kFileHeaderSize + kInfoHeaderSize) return false;
  if (data[0] != 'B' || data[1] != 'M') return false;
  const uint8_t* info = data + kFileHeaderSize;
  const uint32_t bitsOffset = U32(data + 10);
  const int32_t width = int32_t(U32(info + 4));
  const int32_t height = int32_t(U32(info + 8));
  if (U32(info) != kInfoHeaderSize || U16(info + 12) != 1 || U16(info + 14) != kSkinBitCount) return false;
  if (U32(info + 16) != 0 /* BI_RGB */ || U32(info + 32) != 0 /* colours used */) return false;
  if (width < 1 || width > kMaxSkinSide || height == 0 || height < -kMaxSkinSide || height > kMaxSkinSide)
    return false;
  const size_t rows = size_t(height < 0 ? -height : height);
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  if (bitsOffset < kFileHeaderSize + kInfoHeaderSize || bitsOffset > size || stride * rows > size - bitsOffset)
    return false;
  out->width = width;
  out->height = int(rows);
  out->topDown = height < 0;
  out->bitsOffset = bitsOffset;
  out->stride = stride;
  return true;
}

std::string LinkTarget(const std::string& address) {
  const size_t first = address.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const std::string a = address.substr(first, address.find_last_not_of(" \t") + 1 - first);
  for (unsigned char c : a)
    if (c < 0x20 || c == 0x7F || c == '"') return std::string();
  const size_t colon = a.find(':');
  size_t schemeEnd = 0;
  while (schemeEnd < a.size() && (std::isalnum(static_cast<unsigned char>(a[schemeEnd])) || a[schemeEnd] == '+' ||
                                  a[schemeEnd] == '-' || a[schemeEnd] == '.'))
    ++schemeEnd;
  if (colon != std::string::npos && colon == schemeEnd && colon > 0) {
    const std::string scheme = Lower(a.substr(0, colon));
    const bool web = scheme == "http" || scheme == "https" || scheme == "ftp";
    if (web && a.compare(colon, 3, "://") == 0 && a.size() > colon + 3) return a;
    if (scheme == "mailto" && a.size() > colon + 1) return a;
    return std::string();
  }
  // No scheme: a host name with at least one dot, then an optional path.
  const size_t hostEnd = std::min(a.find_first_of("/?#"), a.size());
  const std::string host = a.substr(0, hostEnd);
  if (host.empty() || host.find('.') == std::string::npos || host.front() == '.' || host.front() == '-')
    return std::string();
  for (unsigned char c : host)
    if (!std::isalnum(c) && c != '.' && c != '-') return std::string();
  if (a.find('\\') != std::string::npos) return std::string();
  return "http://" + a;
}

bool PostmarkFromCreated(const cardpackage::CreatedStamp& c, PostmarkTime* out) {
  const int year = 1900 + c.yearsSince1900;
  const int month = c.month + 1;
  if (c.month > 11 || c.dayOfMonth < 1 || c.dayOfMonth > DaysInMonth(year, month)) return false;
  if (c.hours > 23 || c.minutes > 59 || c.seconds > 60 || c.dayOfWeek > 6) return false;
  out->year = year;
  out->month = month;
  out->day = c.dayOfMonth;
  out->dayOfWeek = c.dayOfWeek;
  out->hour = c.hours;
  out->minute = c.minutes;
  out->second = c.seconds > 59 ? 59 : c.seconds;
  return true;
}


void ResizePixels(const uint8_t* src, int srcWidth, int srcHeight, size_t srcStride, uint8_t* dst, int dstWidth,
                  int dstHeight, size_t dstStride) {
  const std::vector<std::vector<Tap>> xTaps = AxisTaps(srcWidth, dstWidth), yTaps = AxisTaps(srcHeight, dstHeight);
  // Horizontal pass into 8.16 fixed point, then the vertical pass with rounding.
  std::vector<uint32_t> rows(size_t(srcHeight) * dstWidth * 3);
  for (int y = 0; y < srcHeight; ++y) {
    const uint8_t* in = src + size_t(y) * srcStride;
    uint32_t* out = rows.data() + size_t(y) * dstWidth * 3;
    for (int x = 0; x < dstWidth; ++x)
      for (int c = 0; c < 3; ++c) {
        uint32_t sum = 0;
        for (const Tap& t : xTaps[size_t(x)]) sum += t.weight * in[size_t(t.index) * 3 + c];
        out[size_t(x) * 3 + c] = sum;
      }
  }
  for (int y = 0; y < dstHeight; ++y) {
    uint8_t* out = dst + size_t(y) * dstStride;
    for (int i = 0; i < dstWidth * 3; ++i) {
      uint64_t sum = 0;
      for (const Tap& t : yTaps[size_t(y)]) sum += uint64_t(t.weight) * rows[size_t(t.index) * dstWidth * 3 + i];
      out[i] = uint8_t(std::min<uint64_t>(255, (sum + (uint64_t(1) << 31)) >> 32));
    }
  }
}

void FitInside(int width, int height, int boxWidth, int boxHeight, int* fitWidth, int* fitHeight) {
  if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) {
    *fitWidth = *fitHeight = 1;
    return;
  }
  if (int64_t(width) * boxHeight > int64_t(height) * boxWidth) {
    *fitWidth = boxWidth;
    *fitHeight = int(std::max<int64_t>(1, (int64_t(height) * boxWidth + width / 2) / width));
  } else {
    *fitHeight = boxHeight;
    *fitWidth = int(std::max<int64_t>(1, (int64_t(width) * boxHeight + height / 2) / height));
  }
}

}  // namespace nxplay
