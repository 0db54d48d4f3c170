// gallery_bench: opens folders in the Gallery's slide table, as the host program does, and times the thumbnails:
// the first screen, all of them (cold, the folder's cache file removed first), the process's CPU meanwhile,
// writing the cache file and the reopening from it (warm). Prints one line of key=value per folder for
// bench/gallery/run.sh. Usage: gallery_bench.exe FOLDER...
#include <cstdio>
#include <string>

#include <imagio/imgfile.h>

#include "afxext.h"
#include "gallery/GalleryComponent.h"
#include "gallery/GalleryIds.h"
#include "gallery/GalleryText.h"
#include "gallery/SlideTableDoc.h"
#include "gallery/SlideTableView.h"
#include "gallery_bench_ids.h"
#include "testui.h"

namespace {

const int kFrameWidth = 900, kFrameHeight = 640;  // as the Gallery's test host
const DWORD kPollMs = 1;
const DWORD kTimeoutMs = 30 * 60 * 1000;

class CBenchFrame : public CMDIFrameWnd {};

// Messages are printed, never shown: nobody answers a box in a benchmark.
class CBenchApp : public CWinApp {
 public:
  CBenchApp() : CWinApp("Gallery Bench") {}
  int DoMessageBox(LPCSTR prompt, UINT, UINT) override {
    std::fprintf(stderr, "gallery_bench: message: %s\n", prompt);
    return IDOK;
  }
};
CBenchApp theApp;

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// User and kernel time of the process so far, in ms.
double ProcessCpu() {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& t) { return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0; };
  return ms(kernel) + ms(user);
}

// The table as the figures are meant: medium slides sorted by name, whatever an earlier program left.
void SetTableSettings() {
  // Settings are kept as text.
  const char kByName[] = "1", kMedium[] = "1";
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, GAL_REGISTRY_KEY "\\" GAL_SECTION_RUNTIME, 0, NULL, 0, KEY_WRITE, NULL, &key,
                      NULL) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, GAL_ENTRY_SORT, 0, REG_SZ, reinterpret_cast<const BYTE*>(kByName), sizeof kByName);
  RegSetValueExA(key, GAL_ENTRY_SLIDE_SIZE, 0, REG_SZ, reinterpret_cast<const BYTE*>(kMedium), sizeof kMedium);
  RegCloseKey(key);
}

cSlideTableView* ViewOf(CDocument* doc) {
  POSITION pos = doc->GetFirstViewPosition();
  return dynamic_cast<cSlideTableView*>(doc->GetNextView(pos));
}

// The cells that meet the view's client area.
int FirstScreenCells(cSlideTableView* view) {
  CRect client;
  view->GetClientRect(&client);
  int count = 0;
  for (int i = 0; i < view->GetCellCount(); ++i) {
    CRect cell = view->GetCellRect(i), common;
    if (common.IntersectRect(&cell, &client)) count = i + 1;
  }
  return count;
}

bool ThumbnailsUpTo(cSlideTableView* view, int count) {
  for (int i = 0; i < count; ++i) {
    cSTDocItem* item = view->GetCellItem(i);
    if (item && !item->HasThumbnail()) return false;
  }
  return true;
}

struct Opening {
  cSlideTableDoc* doc = nullptr;
  double openMs = 0, firstMs = 0, allMs = 0, cpuMs = 0;
};

// Opens folder and pumps until the loader has made every thumbnail.
Opening OpenAndLoad(CDocTemplate* docTemplate, const std::string& folder) {
  Opening result;
  const double start = Now(), cpu = ProcessCpu();
  CDocument* doc = docTemplate->OpenDocumentFile(folder.c_str(), TRUE);
  result.doc = dynamic_cast<cSlideTableDoc*>(doc);
  if (!result.doc) return result;
  cSlideTableView* view = ViewOf(doc);
  if (CFrameWnd* frame = view->GetParentFrame()) frame->ShowWindow(SW_SHOWMAXIMIZED);
  afxtest::Pump(theApp);
  result.openMs = Now() - start;
  const int firstScreen = FirstScreenCells(view);
  bool firstDone = false;
  while (view->IsLoading() && Now() - start < kTimeoutMs) {
    if (!firstDone && ThumbnailsUpTo(view, firstScreen)) {
      firstDone = true;
      result.firstMs = Now() - start;
    }
    afxtest::Pump(theApp);
    Sleep(kPollMs);
  }
  afxtest::Pump(theApp);
  result.allMs = Now() - start;
  if (!firstDone) result.firstMs = result.allMs;
  result.cpuMs = ProcessCpu() - cpu;
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gallery_bench.exe FOLDER...\n");
    return 2;
  }
  if (!AfxWinInit(GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOW) || !AfxOleInit() ||
      NXImageFile::Init(nullptr) != IMGFILERR_OK) {
    std::fprintf(stderr, "gallery_bench: the framework, OLE or the image library did not start\n");
    return 1;
  }
  SetTableSettings();
  CBenchFrame* frame = new CBenchFrame;
  if (!frame->LoadFrame(IDR_GALBENCH_FRAME)) return 1;
  theApp.m_pMainWnd = frame;
  frame->MoveWindow(0, 0, kFrameWidth, kFrameHeight);
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
  CLSID clsid;
  INXComponent* component = NULL;
  if (FAILED(CLSIDFromProgID(L"NXComponent.Gallery.1", &clsid)) ||
      FAILED(CoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER, IID_INXComponent, reinterpret_cast<void**>(&component)))) {
    std::fprintf(stderr, "gallery_bench: the Gallery component is not registered\n");
    return 1;
  }
  // The program keeps the component's library (and its template's code) until it ends, as the host does.
  LoadLibraryA("gallery.dll");
  if (!component->Initialize() || !component->GetDocTemplate()) return 1;
  CDocTemplate* docTemplate = component->GetDocTemplate();
  docTemplate->SetContainerInfo(IDR_GALBENCH_CONTAINER);
  component->ActivateResources();
  const CString cacheName = GalleryText(IDS_GAL_CACHE_NAME);
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string folder = argv[i];
    DeleteFileA((folder + "\\" + std::string(cacheName)).c_str());
    component->ActivateResources();
    Opening cold = OpenAndLoad(docTemplate, folder);
    if (!cold.doc) {
      std::fprintf(stderr, "gallery_bench: %s did not open\n", folder.c_str());
      status = 1;
      continue;
    }
    const int photos = cold.doc->GetCount();
    const double closing = Now();
    cold.doc->OnCloseDocument();
    afxtest::Pump(theApp);
    const double saveMs = Now() - closing;
    component->ActivateResources();
    Opening warm = OpenAndLoad(docTemplate, folder);
    if (warm.doc) {
      warm.doc->OnCloseDocument();
      afxtest::Pump(theApp);
    }
    std::printf("gallery_bench: folder=%s photos=%d open_ms=%.1f first_ms=%.1f cold_ms=%.1f cpu_ms=%.1f save_ms=%.1f "
                "warm_ms=%.1f\n",
                folder.c_str(), photos, cold.openMs, cold.firstMs, cold.allMs, cold.cpuMs, saveMs, warm.allMs);
    std::fflush(stdout);
  }
  afxtest::CloseFrame(theApp, frame);
  theApp.m_pMainWnd = NULL;
  component->Release();
  NXImageFile::Exit();
  AfxOleTerm();
  return status;
}
