// SECListBar: a bar of named groups stacked like drawers: each group has a header button and a list control
// of items (an SECListCtrl, usually an SECShortcutListCtrl) that shows while its group is the open one;
// clicking a header opens that group. All groups show large or small icons together. It is a child window
// that fills whatever holds it; the host puts its launch bar list (cListBar, cLaunchBar) inside a docking
// control bar.
#pragma once
#include "seclistctrl.h"

class SEC_API SECListBar : public CWnd {
  DECLARE_DYNAMIC(SECListBar)
 public:
  SECListBar();
  ~SECListBar() override;

  virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // Adds a group named name at the end, creating list's window as the bar's child with id and the extended
  // style given (WS_EX_CLIENTEDGE: a sunken edge); list stays the caller's object. The first group added is
  // the open one. Returns the group's index, -1 when the list could not be created.
  int AddGroup(LPCSTR name, SECListCtrl* list, UINT id, DWORD exStyle = WS_EX_CLIENTEDGE);
  // Removes group, destroying its list's window; the group after it (or before) opens when it was open.
  BOOL RemoveGroup(int group);
  int GetGroupCount() const { return int(m_groups.GetSize()); }
  CString GetGroupName(int group) const;
  BOOL SetGroupName(int group, LPCSTR name);
  SECListCtrl* GetGroupList(int group) const;
  int GetActiveGroup() const { return m_nActiveGroup; }
  BOOL SetActiveGroup(int group);

  // Large or small icons in every group's list.
  void SetLargeIcons(BOOL large);
  BOOL IsLargeIcons() const { return m_bLargeIcons; }

  // The group whose header is at point (client coordinates), -1 for none; a header's rectangle.
  int GroupFromPoint(CPoint point) const;
  CRect GetGroupHeaderRect(int group) const;

  // Paints a group's header button; pressed while the mouse holds it down.
  virtual void DrawGroupHeader(CDC* dc, int group, const CRect& rect, BOOL pressed);
  // Called after a group opened.
  virtual void OnActiveGroupChanged(int group);

 protected:
  struct Group {
    CString name;
    SECListCtrl* list;
  };
  // Places the headers (open group and those above it at the top, the rest at the bottom) and the open
  // group's list between them.
  virtual void RecalcLayout();
  int HeaderHeight() const;

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* wnd);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);

  CArray<Group, const Group&> m_groups;
  int m_nActiveGroup;
  int m_nPressedGroup;
  BOOL m_bLargeIcons;
  HFONT m_hFont;
  DECLARE_MESSAGE_MAP()
};
