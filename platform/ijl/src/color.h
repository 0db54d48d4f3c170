// Colour conversion of decoded component rows into caller pixels, and of caller pixels into YCbCr for encoding.
#pragma once

#include <cstdint>

namespace ijl::detail {

enum class ColorKind { kGray, kYCbCr, kRgb, kCmyk, kYcck };

// Writes output pixels x0..x1 of one line from full-resolution component rows to dst (channels 1 or 3).
void convertLine(ColorKind kind, const uint8_t* const* rows, int x0, int x1, int channels, bool bgr, uint8_t* dst);

}  // namespace ijl::detail
