// Saved bar state and recent files. CDockState holds one record per control bar of a frame (position,
// visibility, floating, the dock bars' lists of bar ids) and moves it to and from a named section of the
// application's profile; frames fill it (GetDockState, SaveBarState) and apply it (SetDockState,
// LoadBarState), and callers may edit the records in between. CRecentFileList keeps the most recently used
// paths under a section and entry format the caller chooses and puts them in a menu, comparing and
// completing paths with AfxComparePath and AfxFullPath (afx.h).
#pragma once
#include "afxwin.h"

class CControlBar;

// One control bar's saved state. For a dock bar, m_arrBarID lists the ids of the bars it holds, row by row,
// 0 ending each row. A floating frame's dock bar is recorded with AFX_IDW_DOCKBAR_FLOAT, m_bFloating, and the
// frame's screen position in m_pointPos.
struct AFX_API CControlBarInfo {
  CControlBarInfo();
  UINT m_nBarID;
  BOOL m_bVisible;
  BOOL m_bFloating;
  BOOL m_bHorz;
  BOOL m_bDockBar;
  CPoint m_pointPos;  // docked: top left in the dock bar; a floating dock bar: the floating frame's top left
  UINT m_nMRUWidth;
  BOOL m_bDocking;    // the bar may dock (its MRU places below mean something)
  UINT m_uMRUDockID;  // the dock bar it last sat in
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle;
  CPoint m_ptMRUFloatPos;
  CUIntArray m_arrBarID;
  // Values a bar class of its own keeps in its record (its GetBarInfo fills them, its SetBarInfo reads
  // them back); saved as "Extra" (the count) and "Extra#<k>".
  CDWordArray m_arrExtra;
  CControlBar* m_pBar;  // while a state is being taken or applied

  BOOL LoadState(LPCSTR section, int index);
  BOOL SaveState(LPCSTR section, int index) const;
};

// The state of every control bar of a frame.
class AFX_API CDockState : public CObject {
  DECLARE_SERIAL(CDockState)
 public:
  CDockState();
  ~CDockState() override;
  void Clear();
  // Reads the records written under section; false (and no records) when none were.
  BOOL LoadState(LPCSTR section);
  // Writes the records under section, replacing what was there.
  BOOL SaveState(LPCSTR section) const;
  void Serialize(CArchive& ar) override;
  int GetCount() const { return int(m_arrBarInfo.GetSize()); }
  CControlBarInfo* GetInfo(int index) const { return static_cast<CControlBarInfo*>(m_arrBarInfo[index]); }
  // Takes a record out of the state and deletes it.
  void RemoveInfo(int index);
  // The record of bar id, or null.
  CControlBarInfo* FindInfo(UINT barId) const;

  CPtrArray m_arrBarInfo;  // CControlBarInfo*, owned
  CSize m_sizeScreen;      // the screen the state was taken on
};

// The most recently used paths, first = newest. Entries are read and written under the application
// profile's section with entry names made by the caller's format ("File%d", numbered from 1); a class with
// its own storage overrides ReadList/WriteList.
class AFX_API CRecentFileList {
 public:
  CRecentFileList(UINT start, LPCSTR section, LPCSTR entryFormat, int size, int maxDisplayLength = 32);
  virtual ~CRecentFileList();
  int GetSize() const { return m_nSize; }
  CString& operator[](int index) { return m_arrNames[index]; }
  const CString& operator[](int index) const { return m_arrNames[index]; }
  // Puts path (made a full path) first; an entry naming the same file moves up instead of being repeated.
  virtual void Add(LPCSTR path);
  virtual void Remove(int index);
  // The menu text of entry index: the file name when it is in currentDir, else the path shortened to the
  // display length; false for an empty entry.
  virtual BOOL GetDisplayName(CString& name, int index, LPCSTR currentDir, int currentDirLength,
                              BOOL atLeastName = TRUE) const;
  // Replaces the menu items from the first recent-file command on with one item per entry ("&1 name"), or
  // one disabled item naming the empty list.
  virtual void UpdateMenu(CCmdUI* cmdUI);
  virtual void ReadList();
  virtual void WriteList();

  int m_nSize;
  CString* m_arrNames;
  CString m_strSectionName;
  CString m_strEntryFormat;
  UINT m_nStart;
  int m_nMaxDisplayLength;
  CString m_strOriginal;  // the menu item's text while the list is empty
};

// Shortens path in place to at most maxLength characters as "C:\...\folder\name"; with atLeastName the file
// name is kept whole even when it alone is longer.
AFX_API void AFXAPI AfxAbbreviateName(LPSTR path, int maxLength, BOOL atLeastName);
