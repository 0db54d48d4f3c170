// cRecipientTable: the card back's recipients, a fixed table of at most 25 Simple MAPI recipient records, each
// owning private copies of its name, address and entry identifier. It is rebuilt from the "to" field's text
// (pieces split at the separator and trimmed; a piece naming an entry already held keeps it, any other becomes
// a new MAPI_TO entry that the caller resolves) and filled from the address book. Used by the card's back and
// its mail delivery.
#pragma once
#include <afxwin.h>
#include <mapi.h>

#include <functional>
#include <vector>

class cRecipientTable {
 public:
  enum { kMaxRecipients = 25 };

  cRecipientTable();
  ~cRecipientTable();
  cRecipientTable(const cRecipientTable&) = delete;
  cRecipientTable& operator=(const cRecipientTable&) = delete;

  int GetCount() const { return m_count; }
  // The entries in use, contiguous (a MapiMessage's recipient list); null when there are none.
  MapiRecipDesc* Entries() { return m_count ? m_entries : nullptr; }
  const MapiRecipDesc& Get(int index) const { return m_entries[index]; }
  // The entry at index becomes a copy of entry (index up to the count: the table grows by one); false when
  // the table is full.
  BOOL Set(int index, const MapiRecipDesc& entry);
  // Keeps the first count entries and releases the others.
  void Truncate(int count);
  // The entry whose name equals name, ignoring case; -1 when none does.
  int Find(LPCSTR name) const;
  // The names joined by separator.
  CString JoinedNames(LPCSTR separator) const;

  // The pieces of a "to" text: split at separator, surrounding blanks trimmed, empty pieces left out.
  static std::vector<CString> SplitNames(LPCSTR text, LPCSTR separator);
  // Whether text names someone the table does not hold yet (who would have to be resolved).
  BOOL NeedsResolving(LPCSTR text, LPCSTR separator) const;

  // Resolves the entry at index of table (replacing it through Set); returns 0 (SUCCESS_SUCCESS) to keep it or
  // the failure that drops it.
  using Resolver = std::function<ULONG(cRecipientTable& table, int index)>;
  // Rebuilds the table from the pieces of text: known names keep their entries, new ones get class MAPI_TO, the address addressPrefix + piece, and go through
  // resolve. At most 25 entries are kept. Returns the first failure resolve reported (0 when none).
  ULONG Rebuild(LPCSTR text, LPCSTR separator, LPCSTR addressPrefix, const Resolver& resolve);

 private:
  static void Copy(MapiRecipDesc& target, const MapiRecipDesc& source);
  static void Free(MapiRecipDesc& entry);

  MapiRecipDesc m_entries[kMaxRecipients];
  int m_count;
};
