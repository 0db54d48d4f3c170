// Pure rules behind NXImageFile and the module list: extensions, combined filters, line lengths and
// thumbnail fitting. No Win32, so tests reach them directly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace imagio {

// The extension of a path as the path splitter gives it: from the last dot of the file name on, dot included;
// empty when the file name has none.
std::string PathExtension(const char* path);

// True when ext, lower-cased, occurs in the lower-cased extension string (".jpe" in ".jpg;*.jpeg;*.jpe").
// An empty ext occurs in every string.
bool ExtensionStringContains(const char* extensionString, const std::string& ext);

// Builds the file-dialog filter of all types into a caller buffer: entries
// "name(*ext)" sep "*ext" sep, in order, until one would no longer leave room (length + entry >= size - 1),
// after which nothing more is added. The buffer always holds a terminated string (when size is not 0).
class CombinedFilterBuilder {
 public:
  CombinedFilterBuilder(char* buffer, uint16_t size, char separator);
  // False once the buffer is full; later calls add nothing.
  bool Append(const char* name, const char* extension);
  size_t Length() const { return m_length; }

 private:
  char* m_buffer;
  uint16_t m_size;
  char m_separator;
  size_t m_length;
  bool m_full;
};

// width * bytesPerPixel rounded up to a multiple of alignment (an alignment of 0 counts as 1);
// 0 when the result would not fit in 32 bits.
uint32_t AlignedLineLength(uint32_t width, uint32_t bytesPerPixel, uint32_t alignment);

// Fits a thumbnail of w0 x h0 into the box maxW x maxH keeping its aspect ratio (held as a 32-bit float,
// which decides the truncations: a 4:3 thumbnail in 100 x 100 is 100 x 74); a thumbnail smaller than the box in both directions keeps its own
// size unless expand is set. False when w0 or h0 is 0.
bool FitThumbnail(uint32_t w0, uint32_t h0, uint32_t maxW, uint32_t maxH, bool expand, uint32_t* w, uint32_t* h);

}  // namespace imagio
