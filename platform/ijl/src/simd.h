// Which vector instructions the codec's hot loops take: SSE2 wherever the build has it (the product's minimum),
// AVX2 besides in 64-bit builds when the processor and the operating system offer it.
#pragma once

// Builds that carry AVX2 forms beside the SSE2 ones: 64-bit x86 with GCC or clang; IJL_AVX2 marks those functions.
// Not 32-bit builds: there VZEROUPPER clears only the first eight vector registers, and once a 256-bit instruction
// has run, the legacy SSE code of the whole process (ours, the C runtime's, the system's) ran about twice as slow
// on the machines measured (AMD Zen 4), which costs more than the wider loops save.
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#define IJL_HAVE_AVX2 1
#define IJL_AVX2 __attribute__((target("avx2")))
#endif

namespace ijl::detail {

// True when the AVX2 forms of the hot loops run. Decided once per process; ORV_IJL_SIMD=sse2 in the environment
// keeps to SSE2 (tests run the codec both ways; both give the same pixels and files).
bool useAvx2();

}  // namespace ijl::detail
