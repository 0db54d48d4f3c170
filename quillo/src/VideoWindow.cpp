// cVideoWindow: the video library loaded on first use and the video window over the front.
#include "VideoWindow.h"

#include <shlwapi.h>
#include <vfw.h>

#include <algorithm>

#include <media/MediaHost.h>

#include "quillo/QuilloIds.h"

namespace {

const char kVideoLibrary[] = "MSVFW32.DLL";
const char kCreateFunction[] = "MCIWndCreate";
const char kVideoExtension[] = ".avi";
const DWORD kWindowStyle = WS_CHILD | MCIWNDF_NOMENU | MCIWNDF_NOERRORDLG;

using CreateFunction = HWND(VFWAPIV*)(HWND, HINSTANCE, DWORD, LPCSTR);

// MCIWndCreate of the video library, loaded once for the process; null when either is missing.
CreateFunction VideoWindowFactory() {
  static HMODULE library = LoadLibraryA(kVideoLibrary);
  return library ? reinterpret_cast<CreateFunction>(GetProcAddress(library, kCreateFunction)) : nullptr;
}

}  // namespace

BOOL cVideoWindow::Show(CWnd* parent, const CRect& area, CSize movie, LPCSTR path) {
  Close();
  CreateFunction create = VideoWindowFactory();
  if (!create) {
    CString text;
    text.LoadString(IDS_VIDEO_LIBRARY_MISSING);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  // The system finds the video device by the file's extension: a clip named otherwise (".ivs") is shown
  // through a temporary name of the clip with the extension it knows.
  CString shown(path);
  if (lstrcmpiA(PathFindExtensionA(path), kVideoExtension) != 0) {
    m_alias = nxmedia::ModuleHost().NewTemporaryFile(kVideoExtension + 1);
    if (!m_alias.IsEmpty()) {
      DeleteFileA(m_alias);
      if (CreateHardLinkA(m_alias, path, NULL) || CopyFileA(path, m_alias, FALSE))
        shown = m_alias;
      else
        m_alias.Empty();
    }
  }
  m_hWnd = create(parent->GetSafeHwnd(), AfxGetInstanceHandle(), kWindowStyle, shown);
  if (!m_hWnd) {
    Close();
    return FALSE;
  }
  // The window sized itself to the movie and its play bar; the bar keeps its height while the movie is
  // fitted into what is left of the area.
  CRect natural;
  ::GetWindowRect(m_hWnd, &natural);
  const int bar = movie.cy > 0 ? std::max(0L, natural.Height() - movie.cy) : 0;
  CSize fitted = movie;
  const int room = area.Height() - bar;
  if (movie.cx <= 0 || movie.cy <= 0 || room <= 0) {
    fitted = CSize(area.Width(), std::max(room, 0));
  } else if (movie.cx * room > area.Width() * movie.cy) {
    fitted = CSize(area.Width(), MulDiv(area.Width(), movie.cy, movie.cx));
  } else {
    fitted = CSize(MulDiv(room, movie.cx, movie.cy), room);
  }
  MCIWndChangeStyles(m_hWnd, MCIWNDF_NOAUTOSIZEWINDOW, MCIWNDF_NOAUTOSIZEWINDOW);
  const int left = area.left + (area.Width() - fitted.cx) / 2;
  const int top = area.top + (area.Height() - fitted.cy - bar) / 2;
  ::SetWindowPos(m_hWnd, HWND_TOP, left, top, fitted.cx, fitted.cy + bar, SWP_SHOWWINDOW);
  return TRUE;
}

void cVideoWindow::Close() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);  // closes the clip
  m_hWnd = NULL;
  if (!m_alias.IsEmpty()) DeleteFileA(m_alias);
  m_alias.Empty();
}
