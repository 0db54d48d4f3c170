// cRecipientTable: the recipient records and their private copies.
#include "RecipientTable.h"

#include <cstdlib>
#include <cstring>

namespace {

LPSTR CopyText(LPCSTR text) { return text ? _strdup(text) : nullptr; }

}  // namespace

cRecipientTable::cRecipientTable() : m_count(0) { std::memset(m_entries, 0, sizeof m_entries); }

cRecipientTable::~cRecipientTable() { Truncate(0); }

void cRecipientTable::Copy(MapiRecipDesc& target, const MapiRecipDesc& source) {
  MapiRecipDesc copy = {};
  copy.ulRecipClass = source.ulRecipClass;
  copy.lpszName = CopyText(source.lpszName);
  copy.lpszAddress = CopyText(source.lpszAddress);
  if (source.lpEntryID && source.ulEIDSize) {
    copy.lpEntryID = std::malloc(source.ulEIDSize);
    if (copy.lpEntryID) {
      std::memcpy(copy.lpEntryID, source.lpEntryID, source.ulEIDSize);
      copy.ulEIDSize = source.ulEIDSize;
    }
  }
  Free(target);
  target = copy;
}

void cRecipientTable::Free(MapiRecipDesc& entry) {
  std::free(entry.lpszName);
  std::free(entry.lpszAddress);
  std::free(entry.lpEntryID);
  std::memset(&entry, 0, sizeof entry);
}

BOOL cRecipientTable::Set(int index, const MapiRecipDesc& entry) {
  if (index < 0 || index > m_count || index >= kMaxRecipients) return FALSE;
  // The source may be an entry of this table.
  MapiRecipDesc copy = {};
  Copy(copy, entry);
  Free(m_entries[index]);
  m_entries[index] = copy;
  if (index == m_count) ++m_count;
  return TRUE;
}

void cRecipientTable::Truncate(int count) {
  while (m_count > count && m_count > 0) Free(m_entries[--m_count]);
}

int cRecipientTable::Find(LPCSTR name) const {
  for (int i = 0; i < m_count; ++i)
    if (name && m_entries[i].lpszName && lstrcmpiA(m_entries[i].lpszName, name) == 0) return i;
  return -1;
}

CString cRecipientTable::JoinedNames(LPCSTR separator) const {
  CString joined;
  for (int i = 0; i < m_count; ++i) {
    if (i) joined += separator;
    joined += m_entries[i].lpszName ? m_entries[i].lpszName : "";
  }
  return joined;
}

std::vector<CString> cRecipientTable::SplitNames(LPCSTR text, LPCSTR separator) {
  std::vector<CString> pieces;
  const CString all(text ? text : "");
  const CString split(separator && *separator ? separator : ";");
  for (int start = 0; start <= all.GetLength();) {
    int end = all.Find(split, start);
    if (end < 0) end = all.GetLength();
    CString piece = all.Mid(start, end - start);
    piece.TrimLeft();
    piece.TrimRight();
    if (!piece.IsEmpty()) pieces.push_back(piece);
    start = end + split.GetLength();
  }
  return pieces;
}

BOOL cRecipientTable::NeedsResolving(LPCSTR text, LPCSTR separator) const {
  for (const CString& piece : SplitNames(text, separator))
    if (Find(piece) < 0) return TRUE;
  return FALSE;
}

ULONG cRecipientTable::Rebuild(LPCSTR text, LPCSTR separator, LPCSTR addressPrefix, const Resolver& resolve) {
  const std::vector<CString> pieces = SplitNames(text, separator);
  // The new table is built beside the old one, whose entries the pieces may keep.
  cRecipientTable rebuilt;
  ULONG firstFailure = SUCCESS_SUCCESS;
  for (const CString& piece : pieces) {
    if (rebuilt.GetCount() >= kMaxRecipients) break;
    const int known = Find(piece);
    if (known >= 0) {
      rebuilt.Set(rebuilt.GetCount(), m_entries[known]);
      continue;
    }
    const CString address = CString(addressPrefix ? addressPrefix : "") + piece;
    MapiRecipDesc entry = {};
    entry.ulRecipClass = MAPI_TO;
    entry.lpszName = const_cast<LPSTR>(LPCSTR(piece));
    entry.lpszAddress = const_cast<LPSTR>(LPCSTR(address));
    const int index = rebuilt.GetCount();
    rebuilt.Set(index, entry);
    const ULONG result = resolve ? resolve(rebuilt, index) : SUCCESS_SUCCESS;
    if (result != SUCCESS_SUCCESS) {
      rebuilt.Truncate(index);
      if (firstFailure == SUCCESS_SUCCESS) firstFailure = result;
    }
  }
  Truncate(0);
  for (int i = 0; i < rebuilt.GetCount(); ++i) Set(i, rebuilt.Get(i));
  return firstFailure;
}
