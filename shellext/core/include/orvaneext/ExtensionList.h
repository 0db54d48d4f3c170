// The shell extension's list of supported extensions: a bounded, comma-separated text and its substring test.
//
// OrvaneExt builds one list per selection from the launch items' file types and asks it whether a selected
// path may be opened by the host. Plain C++ (no Win32 types), so that the bound is also checked natively.
#pragma once
#include <cstddef>

namespace orvext {

// The list lives in a path-sized buffer (terminator included), like every path of the suite.
const std::size_t kListBufferChars = 260;
// Always appended last, so room for it is kept while the launch items' types are added.
const char kAlwaysSupported[] = "doc,";

class ExtensionList {
 public:
  enum class Added { Yes, AlreadyListed, Full };

  ExtensionList() { Clear(); }

  void Clear();
  // Appends name + "," unless the list already contains that text. Full when it does not fit beside the
  // reserved "doc,": the list is left unchanged and the caller stops adding.
  Added Append(const char* name);
  // Appends "doc," and lower-cases the whole list; after this the list answers Supports.
  void Finish();

  // The text after the last "." of path, plus ",", lower-cased, is a substring of the list. A path
  // without "." has no extension and is not supported here (folders are the caller's test).
  bool Supports(const char* path) const;

  const char* Text() const { return m_text; }
  std::size_t Length() const { return m_length; }

 private:
  char m_text[kListBufferChars];
  std::size_t m_length;
};

}  // namespace orvext
