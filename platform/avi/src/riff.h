// Little-endian field access and the chunk identifiers of RIFF AVI and WAVE files (library-internal).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "avi/error.h"
#include "avi/format.h"

namespace avi::riff {

constexpr FourCC kRiff = MakeFourCC('R', 'I', 'F', 'F');
constexpr FourCC kList = MakeFourCC('L', 'I', 'S', 'T');
constexpr FourCC kAvi = MakeFourCC('A', 'V', 'I', ' ');
constexpr FourCC kWave = MakeFourCC('W', 'A', 'V', 'E');
constexpr FourCC kHdrl = MakeFourCC('h', 'd', 'r', 'l');
constexpr FourCC kAvih = MakeFourCC('a', 'v', 'i', 'h');
constexpr FourCC kStrl = MakeFourCC('s', 't', 'r', 'l');
constexpr FourCC kStrh = MakeFourCC('s', 't', 'r', 'h');
constexpr FourCC kStrf = MakeFourCC('s', 't', 'r', 'f');
constexpr FourCC kStrn = MakeFourCC('s', 't', 'r', 'n');
constexpr FourCC kIndx = MakeFourCC('i', 'n', 'd', 'x');  // OpenDML super index: not carried over
constexpr FourCC kJunk = MakeFourCC('J', 'U', 'N', 'K');
constexpr FourCC kMovi = MakeFourCC('m', 'o', 'v', 'i');
constexpr FourCC kRec = MakeFourCC('r', 'e', 'c', ' ');
constexpr FourCC kIdx1 = MakeFourCC('i', 'd', 'x', '1');
constexpr FourCC kFmt = MakeFourCC('f', 'm', 't', ' ');
constexpr FourCC kData = MakeFourCC('d', 'a', 't', 'a');

// Sizes of the fixed records on disk.
constexpr uint32_t kChunkHeaderBytes = 8;
constexpr uint32_t kMainHeaderBytes = 56;     // avih
constexpr uint32_t kMainHeaderMinBytes = 40;  // up to dwHeight
constexpr uint32_t kStreamHeaderBytes = 56;   // strh with a 16-bit frame rectangle
constexpr uint32_t kStreamHeaderMinBytes = 48;
constexpr uint32_t kIndexEntryBytes = 16;
constexpr uint32_t kIndexFlagList = 0x00000001;

// Two-letter chunk types after the stream number.
constexpr uint16_t MakeChunkType(char a, char b) { return uint16_t(uint8_t(a) | uint8_t(b) << 8); }
constexpr uint16_t kTypeUncompressedVideo = MakeChunkType('d', 'b');
constexpr uint16_t kTypeCompressedVideo = MakeChunkType('d', 'c');
constexpr uint16_t kTypeWave = MakeChunkType('w', 'b');
constexpr uint16_t kTypePaletteChange = MakeChunkType('p', 'c');
constexpr uint16_t kTypeText = MakeChunkType('t', 'x');

inline uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
inline void PutBytes(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}
// Appends a chunk: id, size, payload and the pad byte of an odd size.
inline void PutChunk(std::vector<uint8_t>& out, FourCC id, const std::vector<uint8_t>& payload) {
  Put32(out, id);
  Put32(out, uint32_t(payload.size()));
  PutBytes(out, payload);
  if (payload.size() & 1) out.push_back(0);
}

// Stream number of a movi chunk id ("01wb" -> 1), -1 when the first two characters are not digits.
inline int StreamNumber(FourCC id) {
  int hi = int(id & 0xff) - '0', lo = int((id >> 8) & 0xff) - '0';
  if (hi < 0 || hi > 9 || lo < 0 || lo > 9) return -1;
  return hi * 10 + lo;
}
inline uint16_t ChunkTypeOf(FourCC id) { return uint16_t(id >> 16); }
inline FourCC ChunkId(int stream, uint16_t type) {
  return uint32_t('0' + stream / 10) | uint32_t('0' + stream % 10) << 8 | uint32_t(type) << 16;
}

[[noreturn]] inline void Fail(Errc code, const std::string& what) { throw Error(code, what); }

}  // namespace avi::riff
