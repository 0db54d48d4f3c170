// Names as the slide table splits them: extensions, path parts and the characters of the ANSI code page.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace galcore {

// Tells whether a byte starts a two-byte character of the ANSI code page (IsDBCSLeadByte on Windows).
// Null means one byte per character. Passed wherever text is cut or scanned for '\\', since in East
// Asian code pages a backslash byte can be the second half of a character.
using LeadByteTest = bool (*)(unsigned char);

// Case-insensitive comparison of two zero-terminated texts in the ANSI code page (lstrcmpiA on Windows),
// negative, zero or positive. The portable default compares ASCII letters without case.
using CompareNoCase = int (*)(const char* a, const char* b);
int CompareAsciiNoCase(const char* a, const char* b);

// Bytes of the character at text[pos]: 2 for a lead byte followed by a byte, else 1.
size_t CharLength(std::string_view text, size_t pos, LeadByteTest lead);

// The extension of a file name: the text from its last ".", empty when it has none.
std::string_view Extension(std::string_view name);
std::string_view WithoutExtension(std::string_view name);

// The part of a path after its last '\\' or '/' (the whole path when there is none), and the part before it.
std::string_view FileNamePart(std::string_view path, LeadByteTest lead);
std::string_view FolderPart(std::string_view path, LeadByteTest lead);

// ASCII letters lowered; both bytes of a two-byte character stay as they are.
std::string LowerAscii(std::string_view text, LeadByteTest lead);

}  // namespace galcore
