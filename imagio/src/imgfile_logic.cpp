// Pure rules behind NXImageFile and the module list.
#include "imgfile_logic.h"
#include <cctype>
#include <cstring>

namespace imagio {

namespace {

std::string Lower(const char* text) {
  std::string out(text ? text : "");
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

std::string PathExtension(const char* path) {
  if (!path) return std::string();
  const char* name = path;
  for (const char* p = path; *p; ++p) {
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  }
  const char* dot = std::strrchr(name, '.');
  return dot ? std::string(dot) : std::string();
}

bool ExtensionStringContains(const char* extensionString, const std::string& ext) {
  return Lower(extensionString).find(Lower(ext.c_str())) != std::string::npos;
}

CombinedFilterBuilder::CombinedFilterBuilder(char* buffer, uint16_t size, char separator)
    : m_buffer(buffer), m_size(size), m_separator(separator), m_length(0), m_full(!buffer || size == 0) {
  if (buffer && size > 0) buffer[0] = '\0';
}

bool CombinedFilterBuilder::Append(const char* name, const char* extension) {
  if (m_full) return false;
  std::string entry = std::string(name) + "(*" + extension + ")" + m_separator + "*" + extension + m_separator;
  if (m_length + entry.size() + 1 >= m_size) {
    m_full = true;
    return false;
  }
  std::memcpy(m_buffer + m_length, entry.c_str(), entry.size() + 1);
  m_length += entry.size();
  return true;
}

uint32_t AlignedLineLength(uint32_t width, uint32_t bytesPerPixel, uint32_t alignment) {
  if (alignment == 0) alignment = 1;
  uint64_t bytes = static_cast<uint64_t>(width) * bytesPerPixel;
  bytes = (bytes + alignment - 1) / alignment * alignment;
  return bytes > UINT32_MAX ? 0 : static_cast<uint32_t>(bytes);
}

bool FitThumbnail(uint32_t w0, uint32_t h0, uint32_t maxW, uint32_t maxH, bool expand, uint32_t* w, uint32_t* h) {
  if (w0 == 0 || h0 == 0) return false;
  // volatile: stored as a float even where the FPU would keep the quotient in extended precision.
  volatile float aspect = static_cast<float>(w0) / static_cast<float>(h0);
  // The ratio is rounded to a float, the products are not: 100 / 1.3333334f is 74.99999..., which truncates
  // to 74 (rounded to a float first it would be 75).
  uint32_t fw = static_cast<uint32_t>(static_cast<double>(maxH) * aspect);
  uint32_t fh = maxH;
  if (fw > maxW) {
    fw = maxW;
    fh = static_cast<uint32_t>(static_cast<double>(maxW) / aspect);
  }
  if (w0 < fw && h0 < fh && !expand) {
    fw = w0;
    fh = h0;
  }
  *w = fw;
  *h = fh;
  return true;
}

}  // namespace imagio
