// The Gallery tests' host (test code, not product).
#include "galhost.h"

#include <imagio/imgfile.h>
#include <fstream>

#include "galhost_ids.h"
#include "media/NXMedia.h"
#include "picture.h"
#include "testui.h"

namespace galtest {

IMPLEMENT_DYNCREATE(CGalHostFrame, CMDIFrameWnd)

CGalHostApp theApp;
CGalHostFrame* GalleryTest::s_frame = NULL;
INXComponent* GalleryTest::s_component = NULL;

namespace {
const int kFrameLeft = 0, kFrameTop = 0, kFrameWidth = 900, kFrameHeight = 640;
const UINT kIndicators[] = {ID_SEPARATOR};
const DWORD kPollMs = 5;
}  // namespace

void Pump() { afxtest::Pump(theApp); }

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    Pump();
    Sleep(kPollMs);
  }
}

bool WaitForLoader(cSlideTableView* view, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (view->IsLoading()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Pump();
    Sleep(kPollMs);
  }
  Pump();
  return true;
}

std::string MakeFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string root = std::string(temp) + "gallery_tests";
  CreateDirectoryA(root.c_str(), NULL);
  std::string folder = root + "\\" + name;
  // Clear what an earlier run left.
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string path = folder + "\\" + entry.cFileName;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  CreateDirectoryA(folder.c_str(), NULL);
  return folder;
}

void WritePhoto(const std::string& path, int width, int height, uint32_t seed) {
  const samplegen::Picture picture = samplegen::DrawPhoto(width, height, seed);
  const std::string lower = path.substr(path.size() - 4);
  if (lower == ".png")
    samplegen::WritePng(path, picture);
  else if (lower == ".bmp")
    samplegen::WriteBmp(path, picture);
  else
    samplegen::WriteJpeg(path, picture, 85);
}

void SetWriteTime(const std::string& path, int secondsAgo) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER value;
  value.LowPart = now.dwLowDateTime;
  value.HighPart = now.dwHighDateTime;
  value.QuadPart -= uint64_t(secondsAgo) * 10000000ull;
  FILETIME time;
  time.dwLowDateTime = value.LowPart;
  time.dwHighDateTime = value.HighPart;
  SetFileTime(file, NULL, NULL, &time);
  CloseHandle(file);
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void GalleryTest::SetUpTestSuite() {
  ASSERT_TRUE(AfxWinInit(GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOW));
  ASSERT_TRUE(AfxOleInit());
  ASSERT_EQ(IMGFILERR_OK, NXImageFile::Init(nullptr));
  s_frame = new CGalHostFrame;
  ASSERT_TRUE(s_frame->LoadFrame(IDR_GALHOST_FRAME));
  ASSERT_TRUE(s_frame->m_status.Create(s_frame));
  s_frame->m_status.SetIndicators(kIndicators, 1);
  theApp.m_pMainWnd = s_frame;
  s_frame->MoveWindow(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
  s_frame->ShowWindow(SW_SHOW);
  s_frame->RecalcLayout();
  s_frame->UpdateWindow();
  // Found by its ProgID, as registered.
  CLSID clsid;
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"NXComponent.Gallery.1", &clsid));
  const CLSID expected = {0x78310281, 0xAFCD, 0x11D2, {0xAC, 0xD0, 0x00, 0xA0, 0x24, 0x8F, 0x3A, 0xF9}};
  ASSERT_TRUE(IsEqualCLSID(expected, clsid));
  ASSERT_EQ(S_OK, CoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER, IID_INXComponent,
                                   reinterpret_cast<void**>(&s_component)));
  // The application keeps the component's template (and its code) until the process ends, as the host does.
  ASSERT_NE(nullptr, LoadLibraryA("gallery.dll"));
  ASSERT_TRUE(s_component->Initialize());
  ASSERT_NE(nullptr, s_component->GetDocTemplate());
  s_component->GetDocTemplate()->SetContainerInfo(IDR_GALHOST_CONTAINER);
  Pump();
}

void GalleryTest::TearDownTestSuite() {
  afxtest::CloseFrame(theApp, s_frame);
  theApp.m_pMainWnd = NULL;
  if (s_component) s_component->Release();
  s_component = NULL;
  NXImageFile::Exit();
  AfxOleTerm();
}

void GalleryTest::TearDown() {
  theApp.CloseAllDocuments(TRUE);
  Pump();
  theApp.m_boxes.clear();
}

cSlideTableDoc* GalleryTest::Open(const std::string& folder, bool waitForLoader) {
  s_component->ActivateResources();
  CDocument* doc = s_component->GetDocTemplate()->OpenDocumentFile(folder.c_str(), TRUE);
  if (!doc) return NULL;
  if (CFrameWnd* frame = ViewOf(doc)->GetParentFrame()) frame->ShowWindow(SW_SHOWMAXIMIZED);
  Pump();
  if (waitForLoader) EXPECT_TRUE(WaitForLoader(ViewOf(doc)));
  return dynamic_cast<cSlideTableDoc*>(doc);
}

cSlideTableView* GalleryTest::ViewOf(CDocument* doc) {
  POSITION pos = doc->GetFirstViewPosition();
  return dynamic_cast<cSlideTableView*>(doc->GetNextView(pos));
}

void GalleryTest::Close(CDocument* doc) {
  doc->OnCloseDocument();
  Pump();
}

std::vector<std::string> GalleryTest::CellNames(cSlideTableView* view) {
  std::vector<std::string> names;
  for (int i = 0; i < view->GetCellCount(); ++i)
    names.push_back(std::string(view->GetCellItem(i)->GetMediaObject()->GetDisplayName()));
  return names;
}

void GalleryTest::Hold() { afxtest::HoldForScreenshot(theApp); }

}  // namespace galtest
