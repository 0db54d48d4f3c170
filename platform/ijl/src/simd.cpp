// Run-time choice of the codec's vector instructions.
#include "simd.h"

#include <cstdlib>
#include <cstring>

#ifdef IJL_HAVE_AVX2
#include <cpuid.h>
#endif

namespace ijl::detail {
namespace {

#ifdef IJL_HAVE_AVX2
bool detectAvx2() {
  const char* forced = std::getenv("ORV_IJL_SIMD");
  if (forced && std::strcmp(forced, "sse2") == 0) return false;
  unsigned a = 0, b = 0, c = 0, d = 0;
  constexpr unsigned kOsxsave = 1u << 27, kAvx = 1u << 28, kAvx2 = 1u << 5;
  if (!__get_cpuid(1, &a, &b, &c, &d) || (c & (kOsxsave | kAvx)) != (kOsxsave | kAvx)) return false;
  // The operating system must save the vector registers' upper halves on a switch (XCR0 bits 1 and 2).
  unsigned xcr0 = 0, high = 0;
  __asm__ volatile("xgetbv" : "=a"(xcr0), "=d"(high) : "c"(0));
  constexpr unsigned kSseAndAvxState = 6;
  if ((xcr0 & kSseAndAvxState) != kSseAndAvxState) return false;
  if (__get_cpuid_max(0, nullptr) < 7) return false;
  __cpuid_count(7, 0, a, b, c, d);
  return (b & kAvx2) != 0;
}
#endif

}  // namespace

bool useAvx2() {
#ifdef IJL_HAVE_AVX2
  static const bool avx2 = detectAvx2();
  return avx2;
#else
  return false;
#endif
}

}  // namespace ijl::detail
