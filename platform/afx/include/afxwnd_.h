// Windows: CWnd (creation with attachment, the per-thread handle map, subclassing, message maps,
// the window-management calls), the basic controls, dialogs with data exchange. Included by afxwin.h.
#pragma once

// Registers (once) a window class with these attributes and returns its name (valid for the process).
AFX_API LPCSTR AFXAPI AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = NULL, HBRUSH background = NULL,
                                          HICON icon = NULL);
// The framework's window procedure: finds the CWnd of the window and calls its WindowProc.
AFX_API LRESULT CALLBACK AfxWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
// Window class of plain framework windows (views, splitters): double clicks, arrow cursor, no background.
#define AFX_WND_CLASS AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW)

// The window of a wrapper pointer that may be null (null for null); see AfxGetSafeHdc.
inline HWND AfxGetSafeHwnd(const CWnd* wnd);

class AFX_API CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)
 public:
  CWnd();
  ~CWnd() override;  // destroys a window still attached

  // The handle map: the permanent CWnd of a window, or a temporary one (deleted at idle time).
  static CWnd* PASCAL FromHandle(HWND wnd);
  static CWnd* PASCAL FromHandlePermanent(HWND wnd);
  static void PASCAL DeleteTempMap();
  BOOL Attach(HWND wnd);
  HWND Detach();
  // Routes an existing window's messages through this object (the window procedure is replaced).
  BOOL SubclassWindow(HWND wnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();
  HWND GetSafeHwnd() const;  // null for a null pointer (see AfxGetSafeHwnd)
  operator HWND() const { return m_hWnd; }
  bool operator==(const CWnd& other) const { return other.m_hWnd == m_hWnd; }
  bool operator!=(const CWnd& other) const { return other.m_hWnd != m_hWnd; }

  virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                      UINT id, CCreateContext* context = NULL);
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menuOrId, LPVOID param = NULL);
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id, LPVOID param = NULL);
  virtual BOOL DestroyWindow();

  virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
  virtual void PreSubclassWindow();
  virtual void PostNcDestroy();
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual BOOL PreTranslateMessage(MSG* msg);
  // A parent offers this control what it is told about it (WM_COMMAND and WM_NOTIFY from the control,
  // WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR* and scroll-bar messages); true keeps it from the parent.
  // The base looks the message up in the control's own reflection entries (ON_..._REFLECT).
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual BOOL IsFrameWnd() const { return FALSE; }
  // Runs the default processing of the message being handled.
  LRESULT Default();
  // Walks from msg's window up to this one offering the message to each PreTranslateMessage.
  static BOOL PASCAL WalkPreTranslateTree(HWND stop, MSG* msg);

  // A modal message loop for this window, run until EndModalLoop (or the window's destruction, or the
  // system's EndDialog on it); returns EndModalLoop's result, -1 when it ended otherwise. Every message
  // passes the thread's PreTranslateMessage; the window is shown at the first idle moment with
  // MLF_SHOWONIDLE; while the queue is empty the owner gets WM_ENTERIDLE (not with MLF_NOIDLEMSG) and the
  // window WM_KICKIDLE (wParam MSGF_DIALOGBOX, lParam the idle count; not with MLF_NOKICKIDLE) until it
  // returns false. A WM_QUIT ends the loop and is posted again for the loop outside.
  int RunModalLoop(DWORD flags = 0);
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int result);

  // Data exchange with the child controls (dialogs, form views): false when validation failed.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual void DoDataExchange(class CDataExchange* dx);

  DWORD GetStyle() const { return DWORD(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return DWORD(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);

  void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
  int GetWindowText(LPSTR text, int max) const { return ::GetWindowTextA(m_hWnd, text, max); }
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
  void SetFont(CFont* font, BOOL redraw = TRUE);
  CFont* GetFont() const;
  HICON SetIcon(HICON icon, BOOL big);

  void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }
  void MoveWindow(LPCRECT r, BOOL repaint = TRUE) { MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, repaint); }
  BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags);
  void GetWindowRect(LPRECT r) const { ::GetWindowRect(m_hWnd, r); }
  void GetClientRect(LPRECT r) const { ::GetClientRect(m_hWnd, r); }
  void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
  void ClientToScreen(LPRECT r) const;
  void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
  void ScreenToClient(LPRECT r) const;
  void CenterWindow(CWnd* alternateOwner = NULL);
  BOOL ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
  static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
  CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
  static CWnd* PASCAL GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, NULL, erase); }
  void InvalidateRect(LPCRECT r, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, r, erase); }
  void InvalidateRgn(CRgn* rgn, BOOL erase = TRUE) { ::InvalidateRgn(m_hWnd, static_cast<HRGN>(AfxGetSafeHandle(rgn)), erase); }
  void ValidateRect(LPCRECT r) { ::ValidateRect(m_hWnd, r); }
  BOOL RedrawWindow(LPCRECT r = NULL, CRgn* rgn = NULL, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  void SetRedraw(BOOL redraw = TRUE) { SendMessage(WM_SETREDRAW, redraw, 0); }

  CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, AfxGetSafeHwnd(parent))); }
  CWnd* GetOwner() const;
  void SetOwner(CWnd* owner) { m_hWndOwner = AfxGetSafeHwnd(owner); }
  CWnd* GetTopLevelParent() const;
  CWnd* GetTopLevelOwner() const;
  CFrameWnd* GetParentFrame() const;
  CFrameWnd* GetTopLevelFrame() const;
  CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int id) { return int(::SetWindowLongA(m_hWnd, GWL_ID, id)); }
  CWnd* GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
#undef GetNextWindow
  CWnd* GetNextWindow(UINT flag = GW_HWNDNEXT) const { return GetWindow(flag); }
  CWnd* GetDescendantWindow(int id, BOOL onlyPerm = FALSE) const;
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE,
                                BOOL onlyPerm = FALSE);
  BOOL IsChild(const CWnd* wnd) const { return ::IsChild(m_hWnd, AfxGetSafeHwnd(wnd)); }
  // The window that should own a message box or dialog now: the given parent's top-level window, or
  // the main window's last active popup, or null.
  static CWnd* PASCAL GetSafeOwner(CWnd* parent = NULL, HWND* topLevel = NULL);
  UINT GetDlgItemInt(int id, BOOL* translated = NULL, BOOL isSigned = TRUE) const { return ::GetDlgItemInt(m_hWnd, id, translated, isSigned); }
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
  int GetDlgItemText(int id, CString& text) const;
  void SetDlgItemText(int id, LPCSTR text) { ::SetDlgItemTextA(m_hWnd, id, text); }
  void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
  UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
  void CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageA(m_hWnd, message, wParam, lParam); }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return ::PostMessageA(m_hWnd, message, wParam, lParam); }
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam); }

  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = NULL) { return ::SetTimer(m_hWnd, id, elapse, proc); }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
  CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
  static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }

  int SetScrollPos(int bar, int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
  int GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
  void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw); }
  void GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const { ::GetScrollRange(m_hWnd, bar, minPos, maxPos); }
  BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE) { ::SetScrollInfo(m_hWnd, bar, info, redraw); return TRUE; }
  BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL) { info->cbSize = sizeof *info; info->fMask = mask; return ::GetScrollInfo(m_hWnd, bar, info); }
  int GetScrollLimit(int bar);
  void ScrollWindow(int dx, int dy, LPCRECT scroll = NULL, LPCRECT clip = NULL) { ::ScrollWindow(m_hWnd, dx, dy, scroll, clip); }
  void ShowScrollBar(UINT bar, BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, bar, show); }

  CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
  BOOL SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, AfxGetSafeHmenu(menu)); }
  void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
  CMenu* GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }
  CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
  CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
  int ReleaseDC(CDC* dc) { return ::ReleaseDC(m_hWnd, AfxGetSafeHdc(dc)); }
  void DragAcceptFiles(BOOL accept = TRUE);
  // Lays out the children with ids first..last (WM_SIZEPARENT), giving the rest to leftOver.
  void RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags = 0, LPRECT paramRect = NULL,
                      LPCRECT clientRect = NULL, BOOL stretch = TRUE);
  enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2 };

  // Handlers of the window messages; each runs the default processing unless a class overrides it.
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnClose();
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnRButtonUp(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnKeyUp(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnSetFocus(CWnd* oldWnd);
  afx_msg void OnKillFocus(CWnd* newWnd);
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
  afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
  afx_msg void OnInitMenu(CMenu* menu);
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg void OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd* deactivateWnd);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
  afx_msg void OnDropFiles(HDROP drop);
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
  afx_msg void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);
  afx_msg BOOL OnHelpInfo(HELPINFO* info);
  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg BOOL OnQueryEndSession();
  afx_msg BOOL OnQueryNewPalette();
  afx_msg void OnPaletteChanged(CWnd* focusWnd);
  afx_msg void OnMenuSelect(UINT item, UINT flags, HMENU menu);
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  afx_msg void OnWindowPosChanged(WINDOWPOS* pos);
  afx_msg void OnEnterIdle(UINT why, CWnd* who);
  afx_msg void OnActivateApp(BOOL active, DWORD threadId);
  afx_msg LRESULT OnMenuChar(UINT ch, UINT flags, CMenu* menu);
  afx_msg void OnWindowPosChanging(WINDOWPOS* pos);
  afx_msg void OnCancelMode();
  afx_msg void OnCaptureChanged(CWnd* wnd);
  afx_msg void OnSettingChange(UINT flags, LPCSTR section);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
  afx_msg void OnNcPaint();
  afx_msg BOOL OnNcActivate(BOOL active);
  afx_msg void OnNcMouseMove(UINT hitTest, CPoint point);
  afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
  afx_msg void OnNcLButtonUp(UINT hitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT hitTest, CPoint point);
  afx_msg void OnNcRButtonDown(UINT hitTest, CPoint point);
  afx_msg void OnNcRButtonUp(UINT hitTest, CPoint point);
  afx_msg void OnNcRButtonDblClk(UINT hitTest, CPoint point);
  afx_msg void OnNcMButtonDown(UINT hitTest, CPoint point);
  afx_msg void OnNcMButtonUp(UINT hitTest, CPoint point);
  afx_msg void OnNcMButtonDblClk(UINT hitTest, CPoint point);

  HWND m_hWnd;
  HWND m_hWndOwner;  // owner for routing when not the system's owner (SetOwner)

 protected:
  BOOL m_bContinueModal;  // the modal loop goes on
  int m_nModalResult;
  // Dispatches a message the parent offered (OnChildNotify) to this control's reflection entries.
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  HWND ReflectionTarget(UINT message, WPARAM wParam, LPARAM lParam) const;
  friend LRESULT AFXAPI AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  friend struct CreateHook;
  WNDPROC m_pfnSuper;  // the window procedure replaced by AfxWndProc

  DECLARE_MESSAGE_MAP()
};

inline HWND AfxGetSafeHwnd(const CWnd* wnd) { return wnd ? wnd->m_hWnd : NULL; }

AFX_API LRESULT AFXAPI AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Ties the next window created on this thread to wnd (CBT hook); AfxUnhookWindowCreate reports
// whether that happened and removes the hook.
AFX_API void AFXAPI AfxHookWindowCreate(CWnd* wnd);
AFX_API BOOL AFXAPI AfxUnhookWindowCreate();

// ---------------------------------------------------------------------------------------------
// Basic controls: wrappers that send the control's messages.

class AFX_API CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)
 public:
  BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
  HICON SetIcon(HICON icon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)icon); }
  HICON GetIcon() const { return (HICON)::SendMessageA(m_hWnd, STM_GETICON, 0, 0); }
  HBITMAP SetBitmap(HBITMAP bitmap) { return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap); }
  HBITMAP GetBitmap() const { return (HBITMAP)::SendMessageA(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0); }
};

class AFX_API CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)
 public:
  BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCheck() const { return int(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
  void SetCheck(int check) { SendMessage(BM_SETCHECK, WPARAM(check)); }
  UINT GetState() const { return UINT(::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0)); }
  void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, WPARAM(highlight)); }
  UINT GetButtonStyle() const { return UINT(GetStyle() & 0xFF); }
  void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
  HBITMAP SetBitmap(HBITMAP bitmap) { return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap); }
  HICON SetIcon(HICON icon) { return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon); }
};

class AFX_API CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetSel(int start, int end, BOOL noScroll = FALSE) { SendMessage(EM_SETSEL, start, end); if (!noScroll) SendMessage(EM_SCROLLCARET); }
  void GetSel(int& start, int& end) const { ::SendMessageA(m_hWnd, EM_GETSEL, (WPARAM)&start, (LPARAM)&end); }
  void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE) { SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text); }
  void LimitText(int max = 0) { SendMessage(EM_LIMITTEXT, max); }
  void SetReadOnly(BOOL readOnly = TRUE) { SendMessage(EM_SETREADONLY, readOnly); }
  int GetLineCount() const { return int(::SendMessageA(m_hWnd, EM_GETLINECOUNT, 0, 0)); }
  BOOL GetModify() const { return BOOL(::SendMessageA(m_hWnd, EM_GETMODIFY, 0, 0)); }
  void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
  void Clear() { SendMessage(WM_CLEAR); }
  void Copy() { SendMessage(WM_COPY); }
  void Cut() { SendMessage(WM_CUT); }
  void Paste() { SendMessage(WM_PASTE); }
  BOOL Undo() { return BOOL(SendMessage(EM_UNDO)); }
};

class AFX_API CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCount() const { return int(::SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0)); }
  int GetCurSel() const { return int(::SendMessageA(m_hWnd, LB_GETCURSEL, 0, 0)); }
  int SetCurSel(int index) { return int(SendMessage(LB_SETCURSEL, index)); }
  int GetSel(int index) const { return int(::SendMessageA(m_hWnd, LB_GETSEL, index, 0)); }
  int SetSel(int index, BOOL select = TRUE) { return int(SendMessage(LB_SETSEL, select, index)); }
  int GetSelCount() const { return int(::SendMessageA(m_hWnd, LB_GETSELCOUNT, 0, 0)); }
  int GetSelItems(int max, LPINT items) const { return int(::SendMessageA(m_hWnd, LB_GETSELITEMS, max, (LPARAM)items)); }
  int AddString(LPCSTR text) { return int(SendMessage(LB_ADDSTRING, 0, (LPARAM)text)); }
  int InsertString(int index, LPCSTR text) { return int(SendMessage(LB_INSERTSTRING, index, (LPARAM)text)); }
  int DeleteString(UINT index) { return int(SendMessage(LB_DELETESTRING, index)); }
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
  int GetText(int index, LPSTR text) const { return int(::SendMessageA(m_hWnd, LB_GETTEXT, index, (LPARAM)text)); }
  void GetText(int index, CString& text) const;
  int GetTextLen(int index) const { return int(::SendMessageA(m_hWnd, LB_GETTEXTLEN, index, 0)); }
  int FindString(int start, LPCSTR text) const { return int(::SendMessageA(m_hWnd, LB_FINDSTRING, start, (LPARAM)text)); }
  int FindStringExact(int start, LPCSTR text) const { return int(::SendMessageA(m_hWnd, LB_FINDSTRINGEXACT, start, (LPARAM)text)); }
  int SelectString(int start, LPCSTR text) { return int(SendMessage(LB_SELECTSTRING, start, (LPARAM)text)); }
  DWORD_PTR GetItemData(int index) const { return DWORD_PTR(::SendMessageA(m_hWnd, LB_GETITEMDATA, index, 0)); }
  int SetItemData(int index, DWORD_PTR data) { return int(SendMessage(LB_SETITEMDATA, index, (LPARAM)data)); }
  int GetTopIndex() const { return int(::SendMessageA(m_hWnd, LB_GETTOPINDEX, 0, 0)); }
  int SetTopIndex(int index) { return int(SendMessage(LB_SETTOPINDEX, index)); }
};

class AFX_API CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCount() const { return int(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
  int GetCurSel() const { return int(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
  int SetCurSel(int index) { return int(SendMessage(CB_SETCURSEL, index)); }
  int AddString(LPCSTR text) { return int(SendMessage(CB_ADDSTRING, 0, (LPARAM)text)); }
  int InsertString(int index, LPCSTR text) { return int(SendMessage(CB_INSERTSTRING, index, (LPARAM)text)); }
  int DeleteString(UINT index) { return int(SendMessage(CB_DELETESTRING, index)); }
  void ResetContent() { SendMessage(CB_RESETCONTENT); }
  int GetLBText(int index, LPSTR text) const { return int(::SendMessageA(m_hWnd, CB_GETLBTEXT, index, (LPARAM)text)); }
  void GetLBText(int index, CString& text) const;
  int GetLBTextLen(int index) const { return int(::SendMessageA(m_hWnd, CB_GETLBTEXTLEN, index, 0)); }
  int FindString(int start, LPCSTR text) const { return int(::SendMessageA(m_hWnd, CB_FINDSTRING, start, (LPARAM)text)); }
  int FindStringExact(int start, LPCSTR text) const { return int(::SendMessageA(m_hWnd, CB_FINDSTRINGEXACT, start, (LPARAM)text)); }
  int SelectString(int start, LPCSTR text) { return int(SendMessage(CB_SELECTSTRING, start, (LPARAM)text)); }
  DWORD_PTR GetItemData(int index) const { return DWORD_PTR(::SendMessageA(m_hWnd, CB_GETITEMDATA, index, 0)); }
  int SetItemData(int index, DWORD_PTR data) { return int(SendMessage(CB_SETITEMDATA, index, (LPARAM)data)); }
  BOOL LimitText(int max) { return BOOL(SendMessage(CB_LIMITTEXT, max)); }
  void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, show); }
  BOOL GetDroppedState() const { return BOOL(::SendMessageA(m_hWnd, CB_GETDROPPEDSTATE, 0, 0)); }
};

class AFX_API CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
  int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
  void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw); }
};

// ---------------------------------------------------------------------------------------------
// Dialogs.

class AFX_API CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog();
  explicit CDialog(LPCSTR templateName, CWnd* parent = NULL);
  explicit CDialog(UINT templateId, CWnd* parent = NULL);
  ~CDialog() override;

  // Modeless from a resource template (found through the resource chain) or an in-memory one.
  virtual BOOL Create(LPCSTR templateName, CWnd* parent = NULL);
  virtual BOOL Create(UINT templateId, CWnd* parent = NULL) { return Create(MAKEINTRESOURCEA(templateId), parent); }
  virtual BOOL CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent = NULL);
  // Modal from the constructor's template, or from the in-memory template given here.
  BOOL InitModalIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent = NULL);
  // Runs the dialog through RunModalLoop; the EndDialog result, -1 when the dialog could not be made.
  virtual INT_PTR DoModal();
  void EndDialog(int result);
  BOOL PreTranslateMessage(MSG* msg) override;

  virtual BOOL OnInitDialog();  // runs data exchange into the controls; true: focus the first control
  virtual void OnOK();          // data exchange out of the controls, then EndDialog(IDOK) when valid
  virtual void OnCancel();      // EndDialog(IDCANCEL)
  void GotoDlgCtrl(CWnd* control);
  void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
  void PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
  void SetDefID(UINT id) { SendMessage(DM_SETDEFID, id); }
  DWORD GetDefID() const { return DWORD(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }
  void MapDialogRect(LPRECT rect) const { ::MapDialogRect(m_hWnd, rect); }
  BOOL IsModal() const { return m_bModal; }

  LPCSTR m_lpszTemplateName;
  UINT m_nIDHelp;
  LPCDLGTEMPLATEA m_lpDialogTemplate;
  CWnd* m_pParentWnd;

 protected:
  friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
  // The template and the module it came from (the one that serves what the template names).
  LPCDLGTEMPLATEA FindTemplate(HINSTANCE* module) const;
  BOOL CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent, HINSTANCE module);
  BOOL CreateFromTemplate(LPCDLGTEMPLATEA dialogTemplate, HWND owner, HINSTANCE module);
  // Around every modal dialog, the framework's or the system's (file, print): PreModal tells the
  // application that modal user interface starts, puts the owner's top-level frame in its modal state,
  // disables the owner and returns it; PostModal undoes all of it.
  HWND PreModal();
  void PostModal();
  BOOL m_bModal;
  HWND m_hWndModalFrame;
  HWND m_hWndModalOwner;

  DECLARE_MESSAGE_MAP()
};

AFX_API INT_PTR CALLBACK AfxDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// Context of one data-exchange pass; Fail() puts the focus on the last control and throws CUserException.
class AFX_API CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate);
  HWND PrepareCtrl(int id);
  HWND PrepareEditCtrl(int id);
  [[noreturn]] void Fail();
  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  HWND m_hWndLastControl;
  BOOL m_bEditLastControl;
};

AFX_API void AFXAPI DDX_Text(CDataExchange* dx, int id, CString& value);
AFX_API void AFXAPI DDX_Text(CDataExchange* dx, int id, int& value);
AFX_API void AFXAPI DDX_Text(CDataExchange* dx, int id, UINT& value);
AFX_API void AFXAPI DDX_Text(CDataExchange* dx, int id, long& value);
AFX_API void AFXAPI DDX_Text(CDataExchange* dx, int id, DWORD& value);
AFX_API void AFXAPI DDX_Text(CDataExchange* dx, int id, double& value);
AFX_API void AFXAPI DDX_Check(CDataExchange* dx, int id, int& value);
// value: index of the checked button of the group starting at id (-1 none).
AFX_API void AFXAPI DDX_Radio(CDataExchange* dx, int id, int& value);
AFX_API void AFXAPI DDX_LBIndex(CDataExchange* dx, int id, int& index);
AFX_API void AFXAPI DDX_LBString(CDataExchange* dx, int id, CString& value);
AFX_API void AFXAPI DDX_CBIndex(CDataExchange* dx, int id, int& index);
AFX_API void AFXAPI DDX_CBString(CDataExchange* dx, int id, CString& value);
AFX_API void AFXAPI DDX_Slider(CDataExchange* dx, int id, int& value);
// Subclasses the control into control on the first pass.
AFX_API void AFXAPI DDX_Control(CDataExchange* dx, int id, CWnd& control);
AFX_API void AFXAPI DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);
AFX_API void AFXAPI DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
AFX_API void AFXAPI DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
AFX_API void AFXAPI DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue);
AFX_API void AFXAPI DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue);
