// The test application and the scripted card window (test code, not product).
#include "card_env.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "QuilloSettings.h"
#include "package_fixture.h"

cCardTestApp theApp;

void StartCardTests() {
  static bool started = false;
  if (started) return;
  started = true;
  AfxWinInit(GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOW);
  theApp.SetRegistryKey(quillo::kRegistryKey);
  HINSTANCE resources = LoadLibraryA((packagetest::ProgramDir() + quillo::kResourceLibrary).c_str());
  if (resources) AfxSetResourceHandle(resources);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
}

BEGIN_MESSAGE_MAP(cScriptedCard, cCardDialog)
  ON_MESSAGE(WM_KICKIDLE, OnScriptKick)
END_MESSAGE_MAP()

void cScriptedCard::Run(std::vector<Step> steps, DWORD limitMs) {
  m_steps = std::move(steps);
  m_next = 0;
  m_deadline = GetTickCount() + limitMs;
  m_previousMain = theApp.m_pMainWnd;
  theApp.m_pMainWnd = this;
  DoModal();
  if (theApp.m_pMainWnd == this) theApp.m_pMainWnd = m_previousMain;
}

LRESULT cScriptedCard::OnScriptKick(WPARAM wParam, LPARAM lParam) {
  OnKickIdle(wParam, lParam);
  if (m_next < m_steps.size() && GetTickCount() > m_deadline) {
    m_timedOut = true;
    m_next = m_steps.size();
  }
  if (m_next < m_steps.size() && m_steps[m_next](*this)) ++m_next;
  if (m_next >= m_steps.size()) {
    // The main window's end would end the test program's message loop: the card stops being it first.
    if (theApp.m_pMainWnd == this) theApp.m_pMainWnd = m_previousMain;
    EndDialog(IDOK);
    return FALSE;
  }
  Sleep(5);
  return TRUE;
}

cScriptedCard::Step Pause(DWORD ms) {
  auto started = std::make_shared<DWORD>(0);
  return [started, ms](cScriptedCard&) {
    if (!*started) *started = GetTickCount();
    return GetTickCount() - *started >= ms;
  };
}

namespace {

struct WindowSearch {
  DWORD pid;
  const char* cls;
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND wnd, LPARAM param) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  char cls[64] = "", title[256] = "";
  GetClassNameA(wnd, cls, sizeof cls);
  // The title as the system keeps it: asking the window would wait for its thread, which may be this test's
  // own, busy.
  wchar_t wide[256] = L"";
  InternalGetWindowText(wnd, wide, 256);
  WideCharToMultiByte(CP_ACP, 0, wide, -1, title, sizeof title, NULL, NULL);
  if (pid == search->pid && IsWindowVisible(wnd) && lstrcmpA(cls, search->cls) == 0 &&
      (!search->title || lstrcmpA(title, search->title) == 0)) {
    search->found = wnd;
    return FALSE;
  }
  return TRUE;
}

// The window's pixels, top-down 32-bit.
std::vector<RGBQUAD> Grab(HWND wnd, int* width, int* height) {
  RECT r;
  GetWindowRect(wnd, &r);
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  std::vector<RGBQUAD> pixels(size_t(*width) * *height);
  HDC screen = GetDC(NULL);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = *width;
  info.bmiHeader.biHeight = -*height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = NULL;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, *width, *height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  memcpy(pixels.data(), bits, pixels.size() * sizeof(RGBQUAD));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(NULL, screen);
  return pixels;
}

}  // namespace

HWND FindProcessWindow(DWORD pid, const char* cls, const char* title) {
  WindowSearch search = {pid, cls, title, NULL};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

COLORREF SaveShot(HWND wnd, const char* name) {
  int width = 0, height = 0;
  const std::vector<RGBQUAD> pixels = Grab(wnd, &width, &height);
  if (const char* folder = std::getenv("ORV_QUILLO_SHOTS")) {
    const std::string dir = folder[0] == '/' ? std::string("Z:") + folder : std::string(folder);
    CreateDirectoryA(dir.c_str(), NULL);
    const int rowBytes = (width * 3 + 3) & ~3;
    packagetest::Bytes file(54 + size_t(rowBytes) * height, 0);
    BITMAPFILEHEADER* header = reinterpret_cast<BITMAPFILEHEADER*>(file.data());
    header->bfType = 0x4D42;
    header->bfSize = DWORD(file.size());
    header->bfOffBits = 54;
    BITMAPINFOHEADER* info = reinterpret_cast<BITMAPINFOHEADER*>(file.data() + sizeof(BITMAPFILEHEADER));
    info->biSize = sizeof *info;
    info->biWidth = width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = 24;
    for (int y = 0; y < height; ++y) {
      uint8_t* row = file.data() + 54 + size_t(height - 1 - y) * rowBytes;
      for (int x = 0; x < width; ++x) {
        const RGBQUAD& p = pixels[size_t(y) * width + x];
        row[x * 3] = p.rgbBlue;
        row[x * 3 + 1] = p.rgbGreen;
        row[x * 3 + 2] = p.rgbRed;
      }
    }
    packagetest::WriteBytes(dir + "\\" + name + ".bmp", file);
  }
  return MeanColour(wnd, RECT{0, 0, width, height});
}

COLORREF MeanColour(HWND wnd, const RECT& area) {
  int width = 0, height = 0;
  const std::vector<RGBQUAD> pixels = Grab(wnd, &width, &height);
  double sum[3] = {0, 0, 0};
  int n = 0;
  for (int y = area.top; y < area.bottom && y < height; ++y)
    for (int x = area.left; x < area.right && x < width; ++x) {
      const RGBQUAD& p = pixels[size_t(y) * width + x];
      sum[0] += p.rgbRed;
      sum[1] += p.rgbGreen;
      sum[2] += p.rgbBlue;
      ++n;
    }
  if (!n) return 0;
  return RGB(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n));
}

DialogDriver::DialogDriver(std::string title, std::function<void(HWND)> act, DWORD waitMs)
    : m_title(std::move(title)), m_act(std::move(act)), m_waitMs(waitMs) {
  m_thread = std::thread([this] { Watch(); });
}

void DialogDriver::Watch() {
  const DWORD until = GetTickCount() + m_waitMs;
  HWND found = NULL;
  while (!found && GetTickCount() < until) {
    Sleep(50);
    found = FindProcessWindow(GetCurrentProcessId(), "#32770", m_title.c_str());
  }
  if (found) {
    m_seen = true;
    Sleep(300);  // the dialog finishes setting itself up
    m_act(found);
  }
  m_done = true;
}

DialogDriver::~DialogDriver() {
  // The test's thread answers what the driver sends to its windows meanwhile.
  while (!m_done) {
    MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  m_thread.join();
}

namespace {

const int kFileNameCombo = 0x47C;
const int kFileNameEdit = 0x480;

}  // namespace

void ChooseFile(HWND dialog, const std::string& path) {
  if (!SetDlgItemTextA(dialog, kFileNameCombo, path.c_str())) SetDlgItemTextA(dialog, kFileNameEdit, path.c_str());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

std::string FileNameField(HWND dialog) {
  char text[MAX_PATH] = "";
  if (!GetDlgItemTextA(dialog, kFileNameCombo, text, sizeof text)) GetDlgItemTextA(dialog, kFileNameEdit, text, sizeof text);
  return text;
}
