// The bounded supported-extension list of the shell extension.
#include "orvaneext/ExtensionList.h"

#include <cstring>
#include <string>

namespace orvext {
namespace {

const char kSeparator = ',';

// ASCII only: the list and the probe are lowered by the same rule, so they always agree.
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Room for the launch items' types: the buffer less its terminator and the reserved entry.
const std::size_t kTypesRoom = kListBufferChars - 1 - (sizeof kAlwaysSupported - 1);

}  // namespace

void ExtensionList::Clear() {
  m_text[0] = '\0';
  m_length = 0;
}

ExtensionList::Added ExtensionList::Append(const char* name) {
  std::string entry(name);
  entry += kSeparator;
  if (std::strstr(m_text, entry.c_str())) return Added::AlreadyListed;
  if (m_length + entry.size() > kTypesRoom) return Added::Full;
  std::memcpy(m_text + m_length, entry.c_str(), entry.size() + 1);
  m_length += entry.size();
  return Added::Yes;
}

void ExtensionList::Finish() {
  // Append keeps this room free; the check only guards a second Finish on the same list.
  if (m_length + sizeof kAlwaysSupported > kListBufferChars) return;
  std::memcpy(m_text + m_length, kAlwaysSupported, sizeof kAlwaysSupported);
  m_length += sizeof kAlwaysSupported - 1;
  for (std::size_t i = 0; i < m_length; ++i) m_text[i] = Lower(m_text[i]);
}

bool ExtensionList::Supports(const char* path) const {
  const char* dot = std::strrchr(path, '.');
  if (!dot) return false;
  std::string probe(dot + 1);
  probe += kSeparator;
  for (char& c : probe) c = Lower(c);
  return std::strstr(m_text, probe.c_str()) != nullptr;
}

}  // namespace orvext
