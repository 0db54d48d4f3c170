// Splitting names and paths by characters of the ANSI code page.
#include "galcore/text.h"

namespace galcore {

namespace {
unsigned char LowerByte(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

// Offset just after the last path separator that is a character of its own, 0 when there is none.
size_t NameStart(std::string_view path, LeadByteTest lead) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); i += CharLength(path, i, lead)) {
    if (path[i] == '\\' || path[i] == '/') start = i + 1;
  }
  return start;
}
}  // namespace

int CompareAsciiNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const unsigned char x = LowerByte(static_cast<unsigned char>(*a));
    const unsigned char y = LowerByte(static_cast<unsigned char>(*b));
    if (x != y || !x) return int(x) - int(y);
  }
}

size_t CharLength(std::string_view text, size_t pos, LeadByteTest lead) {
  return lead && pos + 1 < text.size() && lead(static_cast<unsigned char>(text[pos])) ? 2 : 1;
}

// A '.' byte never is the second half of a two-byte character in the code pages Windows has, so the
// extension is found by bytes.
std::string_view Extension(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string_view WithoutExtension(std::string_view name) {
  return name.substr(0, name.size() - Extension(name).size());
}

std::string_view FileNamePart(std::string_view path, LeadByteTest lead) { return path.substr(NameStart(path, lead)); }

std::string_view FolderPart(std::string_view path, LeadByteTest lead) {
  const size_t start = NameStart(path, lead);
  return path.substr(0, start ? start - 1 : 0);
}

std::string LowerAscii(std::string_view text, LeadByteTest lead) {
  std::string out(text);
  for (size_t i = 0; i < out.size();) {
    const size_t n = CharLength(out, i, lead);
    if (n == 1) out[i] = static_cast<char>(LowerByte(static_cast<unsigned char>(out[i])));
    i += n;
  }
  return out;
}

}  // namespace galcore
