// The slide table driven through the Gallery component's document and view in a host under Wine: thumbnails,
// the cache file, failures of files, renaming, sorting, sizes, refreshes and the loader's manners.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "galcore/slidelayout.h"
#include "galcore/slidesort.h"
#include "galcore/thumbcache.h"
#include "galhost.h"
#include "gallery/DragData.h"
#include "gallery/GalleryIds.h"
#include "exif.h"
#include "media/NXMedia.h"
#include "picture.h"

namespace galtest {
namespace {

typedef std::vector<std::string> Names;

std::string CachePath(const std::string& folder) { return folder + "\\Thumbnails.nxc"; }

uint32_t LastWriteTimeT(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  const uint64_t time = (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return uint32_t(time / 10000000ull - 11644473600ull);
}

// Reads the cache file's fields as the layout gives them, independently of the writer.
struct CacheReader {
  const std::vector<uint8_t>& b;
  size_t at = 0;
  uint32_t U32() {
    uint32_t v = uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 | uint32_t(b.at(at + 3)) << 24;
    at += 4;
    return v;
  }
  uint16_t U16() {
    uint16_t v = uint16_t(b.at(at) | b.at(at + 1) << 8);
    at += 2;
    return v;
  }
  std::string String() {  // the framework's string: a byte length, 0xFF then a 16-bit length for longer ones
    size_t length = b.at(at++);
    if (length == 0xFF) length = U16();
    std::string text(b.begin() + long(at), b.begin() + long(at + length));
    at += length;
    return text;
  }
};

struct RecordFields {
  std::string name;
  uint32_t time, fileSize, bitsOffset;
  int32_t width, height;
  uint16_t bitCount;
};

RecordFields ReadRecord(CacheReader& in) {
  RecordFields r;
  r.name = in.String();
  r.time = in.U32();
  const size_t start = in.at;
  EXPECT_EQ(0x4D42, in.U16());  // "BM"
  r.fileSize = in.U32();
  EXPECT_EQ(0, in.U16());
  EXPECT_EQ(0, in.U16());
  r.bitsOffset = in.U32();
  EXPECT_EQ(40u, in.U32());  // BITMAPINFOHEADER
  r.width = int32_t(in.U32());
  r.height = int32_t(in.U32());
  EXPECT_EQ(1, in.U16());
  r.bitCount = in.U16();
  EXPECT_EQ(0u, in.U32());  // BI_RGB
  const uint32_t imageBytes = in.U32();
  in.at += 16;  // resolutions, colours used and important
  const uint32_t colours = r.bitCount <= 8 ? (1u << r.bitCount) : 0;
  EXPECT_EQ(14 + 40 + colours * 4, r.bitsOffset);
  const uint32_t rows = ((uint32_t(r.width) * r.bitCount + 31) / 32) * 4 * uint32_t(abs(r.height));
  EXPECT_TRUE(imageBytes == 0 || imageBytes == rows);
  EXPECT_EQ(r.bitsOffset + rows, r.fileSize);
  in.at = start + r.fileSize;
  return r;
}

TEST_F(GalleryTest, TwoPicturesGetThumbnailsAndTheirCacheFileHasTheLayoutFieldByFieldAndIsReadBack) {
  const std::string folder = MakeFolder("two");
  WritePhoto(folder + "\\a.jpg", 160, 120, 1);
  WritePhoto(folder + "\\b.png", 60, 90, 2);
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  cSlideTableView* view = ViewOf(doc);
  ASSERT_EQ(2, view->GetCellCount());
  EXPECT_EQ((Names{"a.jpg", "b.png"}), CellNames(view));  // by name, the default
  SIZE sizes[2];
  for (int i = 0; i < 2; ++i) {
    cSTDocItem* item = doc->GetItem(i);
    ASSERT_TRUE(item->GetThumbnailSize(&sizes[i])) << i;
    EXPECT_FALSE(item->NeedsThumbnail());
  }
  // Made for the largest box, whatever the slide size: a larger picture is fitted, a smaller one kept.
  EXPECT_EQ(112, sizes[0].cx);
  EXPECT_EQ(60, sizes[1].cx);
  EXPECT_EQ(90, sizes[1].cy);
  Close(doc);

  const std::vector<uint8_t> bytes = ReadAll(CachePath(folder));
  ASSERT_GT(bytes.size(), 8u);
  CacheReader in{bytes};
  EXPECT_EQ(0u, in.U32());  // the header value of a new document
  ASSERT_EQ(2u, in.U32());
  const char* names[2] = {"a.jpg", "b.png"};
  for (int i = 0; i < 2; ++i) {
    const RecordFields r = ReadRecord(in);
    EXPECT_EQ(names[i], r.name);
    EXPECT_EQ(LastWriteTimeT(folder + "\\" + names[i]), r.time);
    EXPECT_EQ(sizes[i].cx, r.width);
    EXPECT_EQ(sizes[i].cy, abs(r.height));
    EXPECT_TRUE(r.bitCount == 24 || r.bitCount == 8 || r.bitCount == 4 || r.bitCount == 1);
  }
  EXPECT_EQ(bytes.size(), in.at);

  // Opened again, the document takes both thumbnails from the file before any loading.
  doc = Open(folder, false);
  ASSERT_NE(nullptr, doc);
  for (int i = 0; i < 2; ++i) {
    SIZE size;
    ASSERT_TRUE(doc->GetItem(i)->GetThumbnailSize(&size));
    EXPECT_EQ(sizes[i].cx, size.cx);
    EXPECT_FALSE(doc->GetItem(i)->NeedsThumbnail());
  }
  EXPECT_TRUE(WaitForLoader(ViewOf(doc)));
  EXPECT_FALSE(doc->ThumbnailsChanged());
}

TEST_F(GalleryTest, ACacheRecordOfAnotherTimeIsNotUsedAndADamagedCacheIsIgnored) {
  const std::string folder = MakeFolder("stale");
  WritePhoto(folder + "\\a.jpg", 160, 120, 3);
  WritePhoto(folder + "\\b.jpg", 120, 160, 4);
  Close(Open(folder));
  const std::vector<uint8_t> complete = ReadAll(CachePath(folder));
  ASSERT_FALSE(complete.empty());

  SetWriteTime(folder + "\\a.jpg", 3600);
  cSlideTableDoc* doc = Open(folder, false);
  ASSERT_NE(nullptr, doc);
  EXPECT_FALSE(doc->GetItem(1)->NeedsThumbnail());
  EXPECT_TRUE(WaitForLoader(ViewOf(doc)));
  // Only the changed file's thumbnail was made again (the loader may have made it already).
  EXPECT_TRUE(doc->ThumbnailsChanged());
  EXPECT_TRUE(doc->GetItem(0)->HasThumbnail());
  Close(doc);

  // Cut in the middle of the second record, or garbage: what can't be read is made again.
  const std::vector<uint8_t> valid = ReadAll(CachePath(folder));
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {{"truncated", std::vector<uint8_t>(valid.begin(), valid.begin() + long(valid.size() * 3 / 4))},
               {"header only", std::vector<uint8_t>(valid.begin(), valid.begin() + 6)},
               {"garbage", std::vector<uint8_t>(valid.size(), 0xA5)}};
  for (const Case& c : cases) {
    FILE* f = fopen(CachePath(folder).c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fwrite(c.bytes.data(), 1, c.bytes.size(), f);
    fclose(f);
    doc = Open(folder);
    ASSERT_NE(nullptr, doc) << c.what;
    ASSERT_EQ(2, ViewOf(doc)->GetCellCount()) << c.what;
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(doc->GetItem(i)->HasThumbnail()) << c.what << " " << i;
    Close(doc);
    // Saved whole again.
    EXPECT_EQ(valid.size(), ReadAll(CachePath(folder)).size()) << c.what;
  }
}

TEST_F(GalleryTest, AFolderWithoutSlidesShowsTheEmptyLookAndLosesItsCacheFile) {
  const std::string folder = MakeFolder("empty");
  FILE* f = fopen((folder + "\\notes.txt").c_str(), "wb");
  fputs("not a picture", f);
  fclose(f);
  f = fopen(CachePath(folder).c_str(), "wb");
  fputs("stale", f);
  fclose(f);
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  EXPECT_EQ(0, ViewOf(doc)->GetCellCount());
  Hold();
  Close(doc);
  EXPECT_FALSE(Exists(CachePath(folder)));
}

TEST_F(GalleryTest, AFileOfRandomBytesLeavesTheTableAndAFileStillBeingWrittenGetsItsThumbnailOnceClosed) {
  const std::string folder = MakeFolder("failures");
  WritePhoto(folder + "\\good.jpg", 160, 120, 5);
  std::vector<uint8_t> noise(5000);
  uint32_t state = 12345;
  for (uint8_t& byte : noise) byte = uint8_t((state = state * 1103515245u + 12345u) >> 24);
  FILE* f = fopen((folder + "\\noise.jpg").c_str(), "wb");
  fwrite(noise.data(), 1, noise.size(), f);
  fclose(f);
  WritePhoto(folder + "\\writing.jpg", 160, 120, 6);
  // Held open without sharing, as a program that is still writing it holds it.
  HANDLE writer = CreateFileA((folder + "\\writing.jpg").c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, writer);

  cSlideTableDoc* doc = Open(folder, false);
  ASSERT_NE(nullptr, doc);
  cSlideTableView* view = ViewOf(doc);
  PumpFor(1500);
  EXPECT_EQ((Names{"good.jpg", "writing.jpg"}), CellNames(view));
  EXPECT_TRUE(view->IsLoading());  // repeating its pass for the file it can't read
  cSTDocItem* writing = view->GetCellItem(1);
  EXPECT_TRUE(writing->NeedsThumbnail());
  CloseHandle(writer);
  EXPECT_TRUE(WaitForLoader(view, 10000));
  EXPECT_FALSE(writing->NeedsThumbnail());
  EXPECT_TRUE(writing->HasThumbnail());
}

TEST_F(GalleryTest, RenamingKeepsTheExtensionAndAnEmptyNameDoesNothing) {
  const std::string folder = MakeFolder("rename");
  WritePhoto(folder + "\\a.jpg", 80, 60, 7);
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  cSlideTableView* view = ViewOf(doc);
  struct Case {
    const char* text;
    const char* after;
  } cases[] = {{"b.png", "b.jpg"}, {".png", "b.jpg"}, {"", "b.jpg"}, {"c", "c.jpg"}};
  for (const Case& c : cases) {
    view->StartNameEdit(0);
    ASSERT_TRUE(view->IsEditingName());
    CWnd* edit = view->GetDlgItem(GAL_NAME_EDIT_ID);
    ASSERT_NE(nullptr, edit);
    edit->SetWindowText(c.text);
    view->PostMessage(WM_GAL_EDIT_COMMIT, GAL_NAME_EDIT_ID);
    Pump();
    EXPECT_FALSE(view->IsEditingName());
    EXPECT_TRUE(Exists(folder + "\\" + c.after)) << c.text;
    EXPECT_EQ(c.after, std::string(view->GetCellItem(0)->GetMediaObject()->GetDisplayName())) << c.text;
  }
  // Esc leaves the name alone.
  view->StartNameEdit(0);
  view->GetDlgItem(GAL_NAME_EDIT_ID)->SetWindowText("d");
  view->PostMessage(WM_GAL_EDIT_CANCEL, GAL_NAME_EDIT_ID);
  Pump();
  EXPECT_TRUE(Exists(folder + "\\c.jpg"));
}

TEST_F(GalleryTest, SortingByDatePutsTheNewestFirstAndSelectedFirstNeedsASelection) {
  const std::string folder = MakeFolder("sort");
  const char* names[] = {"old.jpg", "newest.jpg", "middle.png", "Apple.bmp"};
  const int ages[] = {3000, 10, 2000, 1000};
  for (int i = 0; i < 4; ++i) {
    WritePhoto(folder + "\\" + names[i], 40, 30, uint32_t(10 + i));
    SetWriteTime(folder + "\\" + names[i], ages[i]);
  }
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  cSlideTableView* view = ViewOf(doc);
  EXPECT_EQ((Names{"Apple.bmp", "middle.png", "newest.jpg", "old.jpg"}), CellNames(view));
  ASSERT_TRUE(view->Sort(galcore::kSortByDate));
  EXPECT_EQ((Names{"newest.jpg", "Apple.bmp", "middle.png", "old.jpg"}), CellNames(view));
  ASSERT_TRUE(view->Sort(galcore::kSortByType));
  EXPECT_EQ((Names{"Apple.bmp", "newest.jpg", "old.jpg", "middle.png"}), CellNames(view));
  // Nothing selected: refused with its message, the order stays.
  EXPECT_FALSE(view->Sort(galcore::kSortSelectedFirst));
  EXPECT_EQ(1u, theApp.m_boxes.size());
  EXPECT_EQ((Names{"Apple.bmp", "newest.jpg", "old.jpg", "middle.png"}), CellNames(view));
  // Two clicks with Ctrl: selected first, in the order they were selected.
  const CRect old = view->GetCellRect(2), middle = view->GetCellRect(3);
  for (CRect r : {middle, old}) {
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(r.left + 20, r.top + 20));
    view->SendMessage(WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(r.left + 20, r.top + 20));
  }
  ASSERT_TRUE(view->Sort(galcore::kSortSelectedFirst));
  EXPECT_EQ((Names{"middle.png", "old.jpg", "Apple.bmp", "newest.jpg"}), CellNames(view));
  WaitForLoader(view);
}

TEST_F(GalleryTest, ClicksKeysAndTheAnchor) {
  const std::string folder = MakeFolder("select");
  for (int i = 0; i < 6; ++i) WritePhoto(folder + "\\p" + std::to_string(i) + ".jpg", 80, 60, uint32_t(20 + i));
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  cSlideTableView* view = ViewOf(doc);
  view->SetSlideSize(galcore::kLargeSlides);
  auto click = [&](int index, UINT keys) {
    const CRect r = view->GetCellRect(index);
    const LPARAM at = MAKELPARAM(r.left + 30, r.top + 30);
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    view->SendMessage(WM_LBUTTONUP, keys, at);
  };
  auto selected = [&]() {
    std::vector<int> out;
    for (int i = 0; i < view->GetCellCount(); ++i)
      if (view->GetCellItem(i)->IsSelected()) out.push_back(i);
    return out;
  };
  click(1, 0);
  EXPECT_EQ(std::vector<int>{1}, selected());
  EXPECT_EQ(1, view->GetAnchor());
  click(4, MK_SHIFT);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), selected());
  click(2, MK_CONTROL);
  EXPECT_EQ((std::vector<int>{1, 3, 4}), selected());
  // A click on a selected slide of several waits for the button-up, then selects it alone.
  click(3, 0);
  EXPECT_EQ(std::vector<int>{3}, selected());
  MSG msg = {view->m_hWnd, WM_KEYDOWN, VK_RIGHT, 0};
  EXPECT_TRUE(view->PreTranslateMessage(&msg));
  EXPECT_EQ(std::vector<int>{4}, selected());
  EXPECT_EQ(4, view->GetAnchor());
  click(0, MK_CONTROL);
  Pump();
  Hold();
  // Empty space clears everything.
  const CRect last = view->GetCellRect(5);
  view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(last.right + 40, last.top + 10));
  view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(last.right + 40, last.top + 10));
  EXPECT_TRUE(selected().empty());
  EXPECT_EQ(-1, view->GetAnchor());
}

TEST_F(GalleryTest, SmallSlidesHaveNoCaptionsToClickAndANarrowWindowHoldsOneCellPerRow) {
  const std::string folder = MakeFolder("small");
  for (int i = 0; i < 3; ++i) WritePhoto(folder + "\\s" + std::to_string(i) + ".jpg", 80, 60, uint32_t(30 + i));
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  cSlideTableView* view = ViewOf(doc);
  view->SetSlideSize(galcore::kSmallSlides);
  EXPECT_FALSE(view->Metrics().m_cell.CaptionsShown());
  const CRect cell = view->GetCellRect(0);
  // Select, then click where a caption would be: no name editing.
  for (int round = 0; round < 2; ++round) {
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.left + cell.Width() / 2, cell.bottom - 3));
    view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(cell.left + cell.Width() / 2, cell.bottom - 3));
  }
  Pump();
  EXPECT_FALSE(view->IsEditingName());
  view->StartNameEdit(0);
  EXPECT_FALSE(view->IsEditingName());

  view->SetSlideSize(galcore::kLargeSlides);
  CFrameWnd* frame = view->GetParentFrame();
  frame->ShowWindow(SW_RESTORE);
  frame->MoveWindow(0, 0, 60, 400);
  Pump();
  EXPECT_EQ(1, view->GetColumns());
  EXPECT_EQ(view->GetCellRect(0).left, view->GetCellRect(1).left);
  EXPECT_GT(view->GetCellRect(1).top, view->GetCellRect(0).top);
}

TEST_F(GalleryTest, SeveralChangesWithinTwoSecondsCauseOneRefresh) {
  const std::string folder = MakeFolder("changes");
  WritePhoto(folder + "\\first.jpg", 80, 60, 40);
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  cSlideTableView* view = ViewOf(doc);
  // Just after an idle re-scan, the next one would be 2 s away.
  int before = view->GetRefreshCount();
  while (view->GetRefreshCount() == before) PumpFor(20);
  before = view->GetRefreshCount();
  for (int i = 0; i < 5; ++i) {
    WritePhoto(folder + "\\new" + std::to_string(i) + ".jpg", 40, 30, uint32_t(41 + i));
    PumpFor(350);
  }
  // Each change put the refresh off again: none yet, then exactly one, and it shows all five.
  EXPECT_EQ(before, view->GetRefreshCount());
  PumpFor(2300);
  EXPECT_EQ(before + 1, view->GetRefreshCount());
  EXPECT_EQ(6, view->GetCellCount());
}

TEST_F(GalleryTest, AFlashPixFileKeepsItsAttributesAfterItsThumbnail) {
  if (!cSlideTableDoc::IsSupportedName("x.fpx")) GTEST_SKIP() << "no format module reads .fpx here";
  const std::string folder = MakeFolder("fpx");
  for (const char* name : {"plain.fpx", "readonly.fpx"}) WritePhoto(folder + "\\" + name, 80, 60, 50);
  SetFileAttributesA((folder + "\\readonly.fpx").c_str(), FILE_ATTRIBUTE_READONLY);
  const DWORD before[2] = {GetFileAttributesA((folder + "\\plain.fpx").c_str()),
                           GetFileAttributesA((folder + "\\readonly.fpx").c_str())};
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  EXPECT_EQ(before[0], GetFileAttributesA((folder + "\\plain.fpx").c_str()));
  EXPECT_EQ(before[1], GetFileAttributesA((folder + "\\readonly.fpx").c_str()));
  SetFileAttributesA((folder + "\\readonly.fpx").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A camera held upright writes its picture turned and says so in the EXIF orientation: the slide stands upright.
TEST_F(GalleryTest, APhotoTakenUprightStandsUprightInItsSlide) {
  const std::string folder = MakeFolder("oriented");
  const samplegen::Picture picture = samplegen::DrawPhoto(320, 240, 7);
  const std::vector<uint8_t> thumbnail = samplegen::EncodeJpeg(samplegen::Downscale(picture, 160, 120), 85);
  const uint16_t kUpright = 1, kTurnClockwise = 6;
  samplegen::WriteFileAtomically(folder + "\\level.jpg", samplegen::WithExifThumbnail(samplegen::EncodeJpeg(picture, 85),
                                                                                     320, 240, thumbnail, kUpright));
  samplegen::WriteFileAtomically(folder + "\\upright.jpg", samplegen::WithExifThumbnail(samplegen::EncodeJpeg(picture, 85),
                                                                                       320, 240, thumbnail, kTurnClockwise));
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  ASSERT_EQ((Names{"level.jpg", "upright.jpg"}), CellNames(ViewOf(doc)));
  SIZE level, upright;
  ASSERT_TRUE(doc->GetItem(0)->GetThumbnailSize(&level));
  ASSERT_TRUE(doc->GetItem(1)->GetThumbnailSize(&upright));
  EXPECT_EQ(112, level.cx);
  EXPECT_EQ(84, level.cy);
  EXPECT_EQ(84, upright.cx);
  EXPECT_EQ(112, upright.cy);
}

// What a drag out offers: the file list, and the ID lists of the files relative to their folder's.
TEST_F(GalleryTest, ADragOffersTheFilesAsAListAndAsTheShellsIdLists) {
  const std::string folder = MakeFolder("drag");
  const std::vector<CString> names = {"b.jpg", "a.png"};
  std::vector<CString> paths;
  for (const CString& name : names) {
    WritePhoto(folder + "\\" + std::string(name), 40, 30, 5);
    paths.push_back(CString(folder.c_str()) + "\\" + name);
  }
  HGLOBAL drop = MakeDropFiles(paths);
  ASSERT_NE(nullptr, drop);
  char file[MAX_PATH];
  ASSERT_EQ(2u, DragQueryFileA(HDROP(drop), 0xFFFFFFFF, NULL, 0));
  for (UINT i = 0; i < 2; ++i) {
    DragQueryFileA(HDROP(drop), i, file, MAX_PATH);
    EXPECT_STREQ(paths[i], file);
  }
  const DROPFILES* header = static_cast<const DROPFILES*>(GlobalLock(drop));
  EXPECT_EQ(20u, header->pFiles);
  EXPECT_FALSE(header->fWide);
  GlobalUnlock(drop);
  GlobalFree(drop);

  HGLOBAL idList = MakeShellIdList(folder.c_str(), names);
  ASSERT_NE(nullptr, idList);
  const BYTE* base = static_cast<const BYTE*>(GlobalLock(idList));
  const CIDA* cida = reinterpret_cast<const CIDA*>(base);
  ASSERT_EQ(2u, cida->cidl);
  LPCITEMIDLIST parent = reinterpret_cast<LPCITEMIDLIST>(base + cida->aoffset[0]);
  ASSERT_TRUE(SHGetPathFromIDListA(parent, file));
  EXPECT_STREQ(folder.c_str(), file);
  for (UINT i = 0; i < 2; ++i) {
    LPITEMIDLIST whole = ILCombine(parent, reinterpret_cast<LPCITEMIDLIST>(base + cida->aoffset[i + 1]));
    ASSERT_TRUE(SHGetPathFromIDListA(whole, file));
    EXPECT_STREQ(paths[i], file);
    ILFree(whole);
  }
  GlobalUnlock(idList);
  GlobalFree(idList);
  EXPECT_EQ(nullptr, MakeShellIdList(folder.c_str(), {"missing.jpg"}));
}

TEST_F(GalleryTest, TheGallerysTextsAreItsOwnWhicheverLibraryLeadsTheResourceChain) {
  HINSTANCE misc = GetModuleHandleA("NXMiscRes.dll");
  ASSERT_NE(nullptr, misc);
  char clash[256] = "";
  ASSERT_GT(LoadStringA(misc, IDS_GAL_LOADING, clash, sizeof clash), 0) << "the misc library uses the number too";
  const std::string folder = MakeFolder("texts");
  WritePhoto(folder + "\\a.jpg", 64, 48, 3);
  WritePhoto(folder + "\\b.jpg", 64, 48, 4);
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  const HINSTANCE saved = AfxGetResourceHandle();
  AfxSetResourceHandle(misc);
  EXPECT_EQ(CachePath(folder), std::string(doc->GetCachePath()));
  ViewOf(doc)->SendMessage(WM_GAL_LOAD_PROGRESS, 0, 0);
  CString status;
  s_frame->m_status.GetPaneText(0, status);
  EXPECT_STREQ("Making thumbnail 1 of 2", status);
  AfxSetResourceHandle(saved);
}

// A thread that sends the view a message every 20 ms and records the longest wait for its answer.
struct Prober {
  HWND window;
  std::atomic<bool> stop{false};
  std::atomic<DWORD> longest{0};
  std::atomic<int> probes{0};
  static DWORD WINAPI Run(LPVOID param) {
    Prober* self = static_cast<Prober*>(param);
    while (!self->stop) {
      LARGE_INTEGER start, end, frequency;
      QueryPerformanceFrequency(&frequency);
      QueryPerformanceCounter(&start);
      DWORD_PTR result = 0;
      SendMessageTimeoutA(self->window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
      QueryPerformanceCounter(&end);
      const DWORD ms = DWORD((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
      if (ms > self->longest) self->longest = ms;
      ++self->probes;
      Sleep(20);
    }
    return 0;
  }
};

TEST_F(GalleryTest, TheWindowAnswersWithin100MsWhile200ThumbnailsLoad) {
  const std::string folder = MakeFolder("busy200");
  for (int i = 0; i < 200; ++i) {
    char name[32];
    snprintf(name, sizeof name, "\\photo%03d.jpg", i);
    WritePhoto(folder + name, 640, 480, uint32_t(100 + i));
  }
  cSlideTableDoc* doc = Open(folder, false);
  ASSERT_NE(nullptr, doc);
  cSlideTableView* view = ViewOf(doc);
  Prober prober;
  prober.window = view->m_hWnd;
  HANDLE thread = CreateThread(NULL, 0, &Prober::Run, &prober, 0, NULL);
  // The user scrolls and clicks meanwhile.
  const DWORD start = GetTickCount();
  int step = 0;
  while (view->IsLoading() && GetTickCount() - start < 120000) {
    PumpFor(100);
    if (++step % 5 == 0) view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  }
  // The prober's last message may be on its way: the window keeps answering until the prober has ended.
  prober.stop = true;
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) Pump();
  CloseHandle(thread);
  EXPECT_FALSE(view->IsLoading());
  EXPECT_EQ(200, view->GetCellCount());
  for (int i = 0; i < view->GetCellCount(); ++i) EXPECT_TRUE(view->GetCellItem(i)->HasThumbnail()) << i;
  EXPECT_GT(prober.probes, 20);
  EXPECT_LE(prober.longest, 100u) << "longest answer of " << prober.probes << " probes";
  printf("responsiveness: %d probes over %lu ms, longest answer %lu ms\n", int(prober.probes),
         GetTickCount() - start, (unsigned long)prober.longest);
}

}  // namespace
}  // namespace galtest
