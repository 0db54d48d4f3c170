// Saved bar state: the records of CDockState in the application profile and in archives, and a frame
// taking its bars' state and putting it back (docked rows, floating frames, visibility, last places).
#include "afxpriv.h"

IMPLEMENT_SERIAL(CDockState, CObject, 1)

namespace {
// Profile sections: "<name>-Summary" holds the count and the screen size, "<name>-Bar<n>" one record each.
const char kSummary[] = "%s-Summary";
const char kBarSection[] = "%s-Bar%d";
const char kBars[] = "Bars";
const char kScreenCx[] = "ScreenCX";
const char kScreenCy[] = "ScreenCY";
const char kBarId[] = "BarID";
const char kVisible[] = "Visible";
const char kHorz[] = "Horz";
const char kFloating[] = "Floating";
const char kDockBar[] = "DockBar";
const char kXPos[] = "XPos";
const char kYPos[] = "YPos";
const char kMRUWidth[] = "MRUWidth";
const char kDocking[] = "Docking";
const char kMRUDockId[] = "MRUDockID";
const char kMRUDockLeft[] = "MRUDockLeftPos";
const char kMRUDockTop[] = "MRUDockTopPos";
const char kMRUDockRight[] = "MRUDockRightPos";
const char kMRUDockBottom[] = "MRUDockBottomPos";
const char kMRUFloatStyle[] = "MRUFloatStyle";
const char kMRUFloatX[] = "MRUFloatXPos";
const char kMRUFloatY[] = "MRUFloatYPos";
const char kBarEntry[] = "Bar#%d";
const char kExtra[] = "Extra";
const char kExtraEntry[] = "Extra#%d";
const int kMissing = -32768;  // a value the profile does not hold

CWinApp* Profile() {
  CWinApp* app = AfxGetApp();
  if (!app) AfxThrowNotSupportedException();  // saved state lives in the application's profile
  return app;
}

CString SectionName(LPCSTR format, LPCSTR name, int index = 0) {
  CString section;
  section.Format(format, name, index);
  return section;
}

// A floating frame's top left kept where the frame's caption can still be reached on this screen.
CPoint OnScreen(CPoint point) {
  int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  int right = left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN) - ::GetSystemMetrics(SM_CXSMSIZE) * 4;
  int bottom = top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN) - ::GetSystemMetrics(SM_CYSMCAPTION);
  if (point.x > right) point.x = right;
  if (point.y > bottom) point.y = bottom;
  if (point.x < left) point.x = left;
  if (point.y < top) point.y = top;
  return point;
}
}  // namespace

CControlBarInfo::CControlBarInfo()
    : m_nBarID(0), m_bVisible(FALSE), m_bFloating(FALSE), m_bHorz(FALSE), m_bDockBar(FALSE), m_nMRUWidth(32767),
      m_bDocking(FALSE), m_uMRUDockID(0), m_dwMRUFloatStyle(0), m_ptMRUFloatPos(CW_USEDEFAULT, CW_USEDEFAULT),
      m_pBar(NULL) {}

BOOL CControlBarInfo::SaveState(LPCSTR name, int index) const {
  CWinApp* app = Profile();
  CString section = SectionName(kBarSection, name, index);
  app->WriteProfileString(section, NULL, NULL);  // no values of an earlier, longer record stay
  BOOL ok = app->WriteProfileInt(section, kBarId, int(m_nBarID));
  ok = ok && app->WriteProfileInt(section, kVisible, m_bVisible);
  ok = ok && app->WriteProfileInt(section, kHorz, m_bHorz);
  ok = ok && app->WriteProfileInt(section, kFloating, m_bFloating);
  ok = ok && app->WriteProfileInt(section, kDockBar, m_bDockBar);
  ok = ok && app->WriteProfileInt(section, kXPos, m_pointPos.x);
  ok = ok && app->WriteProfileInt(section, kYPos, m_pointPos.y);
  ok = ok && app->WriteProfileInt(section, kMRUWidth, int(m_nMRUWidth));
  if (m_bDocking) {
    ok = ok && app->WriteProfileInt(section, kDocking, 1);
    ok = ok && app->WriteProfileInt(section, kMRUDockId, int(m_uMRUDockID));
    ok = ok && app->WriteProfileInt(section, kMRUDockLeft, m_rectMRUDockPos.left);
    ok = ok && app->WriteProfileInt(section, kMRUDockTop, m_rectMRUDockPos.top);
    ok = ok && app->WriteProfileInt(section, kMRUDockRight, m_rectMRUDockPos.right);
    ok = ok && app->WriteProfileInt(section, kMRUDockBottom, m_rectMRUDockPos.bottom);
    ok = ok && app->WriteProfileInt(section, kMRUFloatStyle, int(m_dwMRUFloatStyle));
    ok = ok && app->WriteProfileInt(section, kMRUFloatX, m_ptMRUFloatPos.x);
    ok = ok && app->WriteProfileInt(section, kMRUFloatY, m_ptMRUFloatPos.y);
  }
  if (m_bDockBar) {
    ok = ok && app->WriteProfileInt(section, kBars, int(m_arrBarID.GetSize()));
    for (INT_PTR i = 0; i < m_arrBarID.GetSize() && ok; ++i) {
      CString entry;
      entry.Format(kBarEntry, int(i));
      ok = app->WriteProfileInt(section, entry, int(m_arrBarID[i]));
    }
  }
  if (m_arrExtra.GetSize() > 0) {
    ok = ok && app->WriteProfileInt(section, kExtra, int(m_arrExtra.GetSize()));
    for (INT_PTR i = 0; i < m_arrExtra.GetSize() && ok; ++i) {
      CString entry;
      entry.Format(kExtraEntry, int(i));
      ok = app->WriteProfileInt(section, entry, int(m_arrExtra[i]));
    }
  }
  return ok;
}

BOOL CControlBarInfo::LoadState(LPCSTR name, int index) {
  CWinApp* app = Profile();
  CString section = SectionName(kBarSection, name, index);
  int id = int(app->GetProfileInt(section, kBarId, kMissing));
  if (id == kMissing) return FALSE;
  m_nBarID = UINT(id);
  m_bVisible = app->GetProfileInt(section, kVisible, TRUE) != 0;
  m_bHorz = app->GetProfileInt(section, kHorz, TRUE) != 0;
  m_bFloating = app->GetProfileInt(section, kFloating, FALSE) != 0;
  m_bDockBar = app->GetProfileInt(section, kDockBar, FALSE) != 0;
  m_pointPos.x = int(app->GetProfileInt(section, kXPos, -1));
  m_pointPos.y = int(app->GetProfileInt(section, kYPos, -1));
  m_nMRUWidth = app->GetProfileInt(section, kMRUWidth, 32767);
  m_bDocking = app->GetProfileInt(section, kDocking, 0) != 0;
  if (m_bDocking) {
    m_uMRUDockID = app->GetProfileInt(section, kMRUDockId, 0);
    m_rectMRUDockPos.left = int(app->GetProfileInt(section, kMRUDockLeft, 0));
    m_rectMRUDockPos.top = int(app->GetProfileInt(section, kMRUDockTop, 0));
    m_rectMRUDockPos.right = int(app->GetProfileInt(section, kMRUDockRight, 0));
    m_rectMRUDockPos.bottom = int(app->GetProfileInt(section, kMRUDockBottom, 0));
    m_dwMRUFloatStyle = app->GetProfileInt(section, kMRUFloatStyle, 0);
    m_ptMRUFloatPos.x = int(app->GetProfileInt(section, kMRUFloatX, CW_USEDEFAULT));
    m_ptMRUFloatPos.y = int(app->GetProfileInt(section, kMRUFloatY, CW_USEDEFAULT));
  }
  m_arrBarID.RemoveAll();
  if (m_bDockBar) {
    int count = int(app->GetProfileInt(section, kBars, 0));
    for (int i = 0; i < count; ++i) {
      CString entry;
      entry.Format(kBarEntry, i);
      m_arrBarID.Add(app->GetProfileInt(section, entry, 0));
    }
  }
  m_arrExtra.RemoveAll();
  int extras = int(app->GetProfileInt(section, kExtra, 0));
  for (int i = 0; i < extras; ++i) {
    CString entry;
    entry.Format(kExtraEntry, i);
    m_arrExtra.Add(app->GetProfileInt(section, entry, 0));
  }
  m_pBar = NULL;
  return TRUE;
}

// ---------------------------------------------------------------------------------------------

CDockState::CDockState() = default;
CDockState::~CDockState() { Clear(); }

void CDockState::Clear() {
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
  m_arrBarInfo.RemoveAll();
}

void CDockState::RemoveInfo(int index) {
  delete GetInfo(index);
  m_arrBarInfo.RemoveAt(index);
}

CControlBarInfo* CDockState::FindInfo(UINT barId) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetInfo(i)->m_nBarID == barId) return GetInfo(i);
  return NULL;
}

BOOL CDockState::SaveState(LPCSTR name) const {
  CWinApp* app = Profile();
  CString summary = SectionName(kSummary, name);
  int old = int(app->GetProfileInt(summary, kBars, 0));
  for (int i = GetCount(); i < old; ++i) app->WriteProfileString(SectionName(kBarSection, name, i), NULL, NULL);
  BOOL ok = app->WriteProfileInt(summary, kBars, GetCount());
  ok = ok && app->WriteProfileInt(summary, kScreenCx, m_sizeScreen.cx);
  ok = ok && app->WriteProfileInt(summary, kScreenCy, m_sizeScreen.cy);
  for (int i = 0; i < GetCount() && ok; ++i) ok = GetInfo(i)->SaveState(name, i);
  return ok;
}

BOOL CDockState::LoadState(LPCSTR name) {
  Clear();
  CWinApp* app = Profile();
  CString summary = SectionName(kSummary, name);
  int count = int(app->GetProfileInt(summary, kBars, kMissing));
  if (count == kMissing) return FALSE;
  m_sizeScreen.cx = int(app->GetProfileInt(summary, kScreenCx, 0));
  m_sizeScreen.cy = int(app->GetProfileInt(summary, kScreenCy, 0));
  for (int i = 0; i < count; ++i) {
    CControlBarInfo* info = new CControlBarInfo;
    if (info->LoadState(name, i))
      m_arrBarInfo.Add(info);
    else
      delete info;
  }
  return TRUE;
}

void CDockState::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << DWORD(GetCount()) << LONG(m_sizeScreen.cx) << LONG(m_sizeScreen.cy);
    for (int i = 0; i < GetCount(); ++i) {
      const CControlBarInfo* info = GetInfo(i);
      ar << DWORD(info->m_nBarID) << DWORD(info->m_bVisible) << DWORD(info->m_bFloating) << DWORD(info->m_bHorz)
         << DWORD(info->m_bDockBar) << LONG(info->m_pointPos.x) << LONG(info->m_pointPos.y) << DWORD(info->m_nMRUWidth)
         << DWORD(info->m_bDocking) << DWORD(info->m_uMRUDockID) << LONG(info->m_rectMRUDockPos.left)
         << LONG(info->m_rectMRUDockPos.top) << LONG(info->m_rectMRUDockPos.right)
         << LONG(info->m_rectMRUDockPos.bottom) << DWORD(info->m_dwMRUFloatStyle) << LONG(info->m_ptMRUFloatPos.x)
         << LONG(info->m_ptMRUFloatPos.y) << DWORD(info->m_arrBarID.GetSize());
      for (INT_PTR k = 0; k < info->m_arrBarID.GetSize(); ++k) ar << DWORD(info->m_arrBarID[k]);
      ar << DWORD(info->m_arrExtra.GetSize());
      for (INT_PTR k = 0; k < info->m_arrExtra.GetSize(); ++k) ar << info->m_arrExtra[k];
    }
    return;
  }
  Clear();
  DWORD count;
  LONG cx, cy;
  ar >> count >> cx >> cy;
  m_sizeScreen = CSize(cx, cy);
  for (DWORD i = 0; i < count; ++i) {
    CControlBarInfo* info = new CControlBarInfo;
    m_arrBarInfo.Add(info);
    DWORD id, visible, floating, horz, dockBar, mruWidth, docking, mruDockId, floatStyle, ids;
    LONG x, y, left, top, right, bottom, fx, fy;
    ar >> id >> visible >> floating >> horz >> dockBar >> x >> y >> mruWidth >> docking >> mruDockId >> left >> top >>
        right >> bottom >> floatStyle >> fx >> fy >> ids;
    info->m_nBarID = id;
    info->m_bVisible = BOOL(visible);
    info->m_bFloating = BOOL(floating);
    info->m_bHorz = BOOL(horz);
    info->m_bDockBar = BOOL(dockBar);
    info->m_pointPos = CPoint(x, y);
    info->m_nMRUWidth = mruWidth;
    info->m_bDocking = BOOL(docking);
    info->m_uMRUDockID = mruDockId;
    info->m_rectMRUDockPos = CRect(left, top, right, bottom);
    info->m_dwMRUFloatStyle = floatStyle;
    info->m_ptMRUFloatPos = CPoint(fx, fy);
    for (DWORD k = 0; k < ids; ++k) {
      DWORD barId;
      ar >> barId;
      info->m_arrBarID.Add(barId);
    }
    DWORD extras;
    ar >> extras;
    for (DWORD k = 0; k < extras; ++k) {
      DWORD value;
      ar >> value;
      info->m_arrExtra.Add(value);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The frame's side.

void CFrameWnd::GetDockState(CDockState& state) const {
  state.Clear();
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    CControlBar* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    CControlBarInfo* info = new CControlBarInfo;
    bar->GetBarInfo(info);
    state.m_arrBarInfo.Add(info);
  }
  state.m_sizeScreen = CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

void CFrameWnd::SetDockState(const CDockState& state) {
  // First every record finds its bar; floating frames are made anew for the floating records.
  CPtrArray floatingFrames;
  for (int i = 0; i < state.GetCount(); ++i) {
    CControlBarInfo* info = state.GetInfo(i);
    info->m_pBar = NULL;
    if (info->m_bDockBar && info->m_bFloating) {
      CMiniDockFrameWnd* frame = CreateFloatingFrame(info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
      CPoint at = OnScreen(info->m_pointPos);
      frame->SetWindowPos(NULL, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      info->m_pBar = &frame->m_wndDockBar;
      floatingFrames.Add(frame);
    } else if (info->m_nBarID != AFX_IDW_DOCKBAR_FLOAT) {
      info->m_pBar = GetControlBar(info->m_nBarID);
    }
  }
  // Then the dock bars take their bars in their rows, then each bar takes its own state.
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < state.GetCount(); ++i) {
      CControlBarInfo* info = state.GetInfo(i);
      if (info->m_pBar && (info->m_bDockBar != 0) == (pass == 0)) info->m_pBar->SetBarInfo(info, this);
    }
  }
  // Floating frames show when their record and one of their bars say so; one left without bars goes.
  for (INT_PTR i = 0; i < floatingFrames.GetSize(); ++i) {
    CMiniDockFrameWnd* frame = static_cast<CMiniDockFrameWnd*>(floatingFrames[i]);
    if (frame->m_wndDockBar.GetCount() == 0) {
      frame->DestroyWindow();
      continue;
    }
    frame->RecalcLayout(TRUE);
    const CControlBarInfo* info = NULL;
    for (int k = 0; k < state.GetCount() && !info; ++k)
      if (state.GetInfo(k)->m_pBar == &frame->m_wndDockBar) info = state.GetInfo(k);
    if (info && info->m_bVisible && frame->m_wndDockBar.GetDockedVisibleCount() > 0) frame->ShowFloating();
  }
  for (int i = 0; i < state.GetCount(); ++i) state.GetInfo(i)->m_pBar = NULL;
  RecalcLayout();
}

void CFrameWnd::SaveBarState(LPCSTR profileName) const {
  CDockState state;
  GetDockState(state);
  state.SaveState(profileName);
}

void CFrameWnd::LoadBarState(LPCSTR profileName) {
  CDockState state;
  if (state.LoadState(profileName)) SetDockState(state);
}
