// The workbook: an MDI main frame (SECWorkbook) that, in workbook mode, shows one tab per MDI child along
// the bottom of the MDI area (clicking a tab activates its child), and its worksheets (SECWorksheet). The
// mode is switched by ID_WORKBOOK_MODE and read and set by the host, which keeps it in its settings.
#pragma once
#include <afxtempl.h>
#include "secframe.h"

// The tab strip: one tab per MDI child of its workbook, in the order the children appeared, the active
// child's tab raised. Follows the children when told (SyncTabs) and at idle time.
class SEC_API SECWorkbookTabs : public CWnd {
 public:
  SECWorkbookTabs();
  ~SECWorkbookTabs() override;
  BOOL Create(CMDIFrameWnd* frame);
  // Takes the children of the MDI client: new ones at the end, gone ones (and going) out, titles and
  // activation anew.
  void SyncTabs(HWND going = NULL);
  int GetTabCount() const { return int(m_arrTabs.GetSize()); }
  CWnd* GetTabWindow(int index) const;
  CString GetTabText(int index) const;
  // Client coordinates of the tab; empty when out of range.
  CRect GetTabRect(int index) const;
  int HitTest(CPoint point) const;  // -1: no tab there
  int GetActiveTab() const;
  enum { kHeight = 22 };

 protected:
  void LayoutTabs();
  CMDIFrameWnd* m_pFrame;
  CPtrArray m_arrTabs;  // HWND of each child
  CArray<CRect, const CRect&> m_arrRects;
  CStringArray m_arrTexts;
  HWND m_hWndActive;

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnSize(UINT type, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};

class SEC_API SECWorkbook : public SECMDIFrameWnd {
  DECLARE_DYNCREATE(SECWorkbook)
 public:
  SECWorkbook();

  BOOL GetWorkbookMode() const { return m_bWorkbookMode; }
  virtual void SetWorkbookMode(BOOL workbook);
  SECWorkbookTabs* GetTabs() { return &m_wndTabs; }

  void RecalcLayout(BOOL notify = TRUE) override;
  void OnChildActivated(CMDIChildWnd* child) override;
  void OnChildrenChanged(CMDIChildWnd* going = NULL) override;

  // The mode command (ID_WORKBOOK_MODE): switches the mode; checked while it is on. Hosts that map the
  // command themselves call these.
  afx_msg void OnWorkbookMode();
  afx_msg void OnUpdateWorkbookMode(CCmdUI* ui);

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

  BOOL m_bWorkbookMode;
  SECWorkbookTabs m_wndTabs;

  DECLARE_MESSAGE_MAP()
};

// A child of a workbook, shown as a tab in workbook mode; ActivateFrame takes the show command (SW_*, or -1
// for the framework's choice), which derived worksheets may keep in the host's settings.
class SEC_API SECWorksheet : public SECMDIChildWnd {
  DECLARE_DYNCREATE(SECWorksheet)
 public:
  SECWorksheet();
};
