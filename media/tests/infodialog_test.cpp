// Tests of the media info dialogs: the rename rule and colour phrases as tables, the file date, and the
// three dialogs run modally and driven through real messages by a thread timer (texts, thumbnail drawn,
// rename with its failure box, help for every control); a watchdog ends any dialog left open.
#include <windows.h>
#include <gtest/gtest.h>
#include <media/InfoDialogs.h>
#include <media/NXMediaIds.h>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>
#include "test_media.h"

namespace {

TEST(InfoDialogRules, RenamePlans) {
  struct Case {
    const char* current;
    const char* edited;
    nxmedia::RenamePlan plan;
    const char* newPath;
    const char* attempted;
  } cases[] = {
      {"C:\\p\\photo.jpg", "photo.jpg", nxmedia::RENAME_UNCHANGED, "", "photo.jpg"},
      {"C:\\p\\photo.jpg", "holiday.png", nxmedia::RENAME_MOVE, "C:\\p\\holiday.jpg", "holiday.jpg"},
      {"C:\\p\\photo.jpg", "holiday", nxmedia::RENAME_MOVE, "C:\\p\\holiday.jpg", "holiday.jpg"},
      {"C:\\p\\photo.jpg", "Photo.jpg", nxmedia::RENAME_MOVE, "C:\\p\\Photo.jpg", "Photo.jpg"},
      {"C:\\p\\my.photo.jpg", "trip.2024.png", nxmedia::RENAME_MOVE, "C:\\p\\trip.2024.jpg", "trip.2024.jpg"},
      {"C:\\p\\README", "notes.txt", nxmedia::RENAME_MOVE, "C:\\p\\notes", "notes"},
      {"photo.jpg", "holiday.jpg", nxmedia::RENAME_MOVE, "holiday.jpg", "holiday.jpg"},
      {"C:\\p\\photo.jpg", "", nxmedia::RENAME_INVALID, "", ".jpg"},
      {"C:\\p\\photo.jpg", ".png", nxmedia::RENAME_INVALID, "", ".jpg"},
      {"C:\\p\\photo.jpg", "..\\photo.jpg", nxmedia::RENAME_INVALID, "", "..\\photo.jpg"},
      {"C:\\p\\photo.jpg", "a/b.jpg", nxmedia::RENAME_INVALID, "", "a/b.jpg"},
      {"C:\\p\\photo.jpg", "c:x.jpg", nxmedia::RENAME_INVALID, "", "c:x.jpg"},
      {"C:\\p\\photo.jpg", "..", nxmedia::RENAME_INVALID, "", "..jpg"},
  };
  for (const Case& c : cases) {
    CString newPath = "stale", attempted;
    EXPECT_EQ(c.plan, nxmedia::PlanRename(c.current, c.edited, newPath, attempted)) << c.edited;
    EXPECT_STREQ(c.newPath, newPath) << c.edited;
    EXPECT_STREQ(c.attempted, attempted) << c.edited;
  }
}

TEST(InfoDialogRules, ColourPhrases) {
  const cStringEx phrases(IDS_NXMEDIA_COLOR_PHRASES);
  struct Case { int bits; BOOL jpeg; const char* text; } cases[] = {
      {24, FALSE, "Millions of Colors (16777216)"}, {24, TRUE, "Millions of Colors (16777216)"},
      {16, FALSE, "Thousands of Colors (65536)"},   {8, FALSE, "256 Colors"},
      {8, TRUE, "256 Shades of Gray"},              {4, FALSE, "16 Colors"},
      {1, FALSE, "Black and White"},                {0, FALSE, "One Color"},
      {9, FALSE, "512 Colors"},                     {32, FALSE, "Millions of Colors (4294967296)"},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.text, nxmedia::ColorsText(c.bits, c.jpeg, phrases)) << c.bits;
}

TEST(InfoDialogRules, FileDateInLocalTime) {
  std::string path = testmedia::Path("dated.txt");
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  SYSTEMTIME local = {2001, 2, 0, 3, 16, 5, 6, 0};
  FILETIME localFile, utc;
  SystemTimeToFileTime(&local, &localFile);
  LocalFileTimeToFileTime(&localFile, &utc);
  SetFileTime(file, NULL, NULL, &utc);
  CloseHandle(file);
  char date[80], clock[80];
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, NULL, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, NULL, clock, sizeof clock);
  EXPECT_STREQ((std::string(date) + " " + clock).c_str(), cMediaInfoDialog::GetFileDate(path.c_str()));
  EXPECT_STREQ("", cMediaInfoDialog::GetFileDate(testmedia::Path("missing.txt").c_str()));
  DeleteFileA(path.c_str());
}

// ---------------------------------------------------------------------------------------------
// Driving a modal dialog: each step runs on a timer tick until it reports done.

struct Driver {
  std::vector<std::function<bool()>> steps;
  size_t next = 0;
};
Driver* g_driver = NULL;

struct Found {
  const char* caption;
  HWND wnd;
};

BOOL CALLBACK FindByCaption(HWND wnd, LPARAM out) {
  Found* found = reinterpret_cast<Found*>(out);
  char cls[16], caption[128];
  GetClassNameA(wnd, cls, sizeof cls);
  GetWindowTextA(wnd, caption, sizeof caption);
  if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(wnd) && lstrcmpA(caption, found->caption) == 0) {
    found->wnd = wnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindDialog(const char* caption) {
  Found found = {caption, NULL};
  EnumThreadWindows(GetCurrentThreadId(), FindByCaption, reinterpret_cast<LPARAM>(&found));
  return found.wnd;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_driver && g_driver->next < g_driver->steps.size() && g_driver->steps[g_driver->next]()) g_driver->next++;
}

BOOL CALLBACK EndEveryDialog(HWND wnd, LPARAM) {
  char cls[16];
  GetClassNameA(wnd, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0) EndDialog(wnd, -99);
  return TRUE;
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), EndEveryDialog, 0); }

// Runs the dialog (or whatever opens one) with the steps driving it; returns what run returned.
INT_PTR Drive(Driver& driver, const std::function<INT_PTR()>& run) {
  g_driver = &driver;
  UINT_PTR tick = SetTimer(NULL, 0, 50, OnTick);
  UINT_PTR watchdog = SetTimer(NULL, 0, 20000, Watchdog);
  INT_PTR result = run();
  KillTimer(NULL, tick);
  KillTimer(NULL, watchdog);
  g_driver = NULL;
  EXPECT_EQ(driver.steps.size(), driver.next) << "not every step ran";
  return result;
}

std::string ItemText(HWND dialog, int id) {
  char text[256] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// ORV_INFO_HOLD_MS keeps a dialog up that long before it is driven, for a screenshot.
std::function<bool()> Hold() {
  const char* hold = getenv("ORV_INFO_HOLD_MS");
  const DWORD until = GetTickCount() + (hold ? DWORD(atoi(hold)) : 0);
  return [until] { return LONG(GetTickCount() - until) >= 0; };
}

std::function<bool()> Click(const char* caption, int id) {
  return [caption, id] {
    HWND dialog = FindDialog(caption);
    if (!dialog) return false;
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    return true;
  };
}

std::function<bool()> SetName(const char* caption, const char* name) {
  return [caption, name] {
    HWND dialog = FindDialog(caption);
    if (!dialog) return false;
    SetDlgItemTextA(dialog, IDC_NXMEDIA_NAME, name);
    return true;
  };
}

// Counts the thumbnail frame's pixels that are neither the face colour nor its edge: the picture drawn.
int PicturePixels(HWND dialog) {
  HWND frame = GetDlgItem(dialog, IDC_NXMEDIA_THUMBNAIL);
  RECT r;
  GetClientRect(frame, &r);
  UpdateWindow(dialog);
  HDC dc = GetDC(frame);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  int count = 0;
  for (int y = r.top + 4; y < r.bottom - 4; y += 3)
    for (int x = r.left + 4; x < r.right - 4; x += 3)
      if (GetPixel(dc, x, y) != face) ++count;
  ReleaseDC(frame, dc);
  return count;
}

std::string CopyMedia(const char* from, const char* to) {
  std::string target = testmedia::Path(to);
  DeleteFileA(target.c_str());
  EXPECT_TRUE(CopyFileA(testmedia::Path(from).c_str(), target.c_str(), FALSE));
  return target;
}

std::string FileSizeText(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a);
  return std::to_string(a.nFileSizeLow) + " bytes";
}

const char kPictureCaption[] = "Picture Information";

TEST(PictureInfoDialog, ShowPropertiesFillsTextsAndDrawsTheThumbnail) {
  std::string path = testmedia::Path("photo_4000x3000.jpg");
  cImageObject picture;
  picture.SetFileName(path.c_str());
  picture.SetFileFormat(FILEFORMAT_JPEG);
  std::string texts[6];
  int pixels = 0, area = 0;
  DWORD exStyle = 0;
  Driver driver;
  driver.steps = {Hold(), [&] {
                    HWND dialog = FindDialog(kPictureCaption);
                    if (!dialog) return false;
                    const int ids[] = {IDC_NXMEDIA_NAME,       IDC_NXMEDIA_SIZE,   IDC_NXMEDIA_DATE,
                                       IDC_NXMEDIA_DIMENSIONS, IDC_NXMEDIA_COLORS, IDC_NXMEDIA_TYPE};
                    for (int i = 0; i < 6; ++i) texts[i] = ItemText(dialog, ids[i]);
                    pixels = PicturePixels(dialog);
                    RECT r;
                    GetClientRect(GetDlgItem(dialog, IDC_NXMEDIA_THUMBNAIL), &r);
                    area = ((r.right - 8) / 3) * ((r.bottom - 8) / 3);
                    exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
                    return true;
                  },
                  Click(kPictureCaption, IDCANCEL)};
  Drive(driver, [&] {
    picture.ShowProperties();
    return INT_PTR(0);
  });
  EXPECT_EQ("photo_4000x3000.jpg", texts[0]);
  EXPECT_EQ(FileSizeText(path), texts[1]);
  EXPECT_EQ(std::string(cMediaInfoDialog::GetFileDate(path.c_str())), texts[2]);
  EXPECT_EQ("4000 x 3000 pixels", texts[3]);
  EXPECT_EQ("Millions of Colors (16777216)", texts[4]);
  EXPECT_EQ("JPEG Image", texts[5]);
  // A 4:3 thumbnail fills most of the frame's width and three quarters of its height at least.
  EXPECT_GT(pixels, area / 2) << pixels << " of " << area;
  EXPECT_TRUE(exStyle & WS_EX_CONTEXTHELP);
}

TEST(PictureInfoDialog, RenameKeepsTheExtensionAndRefusesTakenAndEmptyNames) {
  std::string path = CopyMedia("photo_640x480.bmp", "photo.bmp");
  std::string taken = CopyMedia("photo_60x40.png", "taken.bmp");
  DeleteFileA(testmedia::Path("holiday.bmp").c_str());
  cImageObject picture;
  picture.SetFileName(path.c_str());
  int failureBoxes = 0;
  auto failureBox = [&] {
    HWND box = FindDialog("Rename");
    if (!box) return false;
    ++failureBoxes;
    PostMessageA(GetDlgItem(box, 1002), BM_CLICK, 0, 0);  // the message box's OK
    return true;
  };
  std::string stillOpenName;
  Driver driver;
  driver.steps = {SetName(kPictureCaption, "taken.png"), Click(kPictureCaption, IDOK), failureBox,
                  SetName(kPictureCaption, ".png"),      Click(kPictureCaption, IDOK), failureBox,
                  [&] {
                    HWND dialog = FindDialog(kPictureCaption);
                    if (!dialog) return false;
                    stillOpenName = ItemText(dialog, IDC_NXMEDIA_NAME);
                    return true;
                  },
                  SetName(kPictureCaption, "holiday.png"), Click(kPictureCaption, IDOK)};
  cPictureInfoDialog dialog(NULL, FALSE, TRUE);
  dialog.SetImageObject(&picture);
  EXPECT_EQ(IDOK, Drive(driver, [&] { return dialog.DoModal(); }));
  EXPECT_EQ(2, failureBoxes);
  EXPECT_EQ(".png", stillOpenName);  // a refused name leaves the dialog open with the edit as typed
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(testmedia::Path("holiday.bmp").c_str()));
  EXPECT_STREQ(testmedia::Path("holiday.bmp").c_str(), picture.GetFileName());
  EXPECT_STREQ("holiday.bmp", picture.GetDisplayName());
  EXPECT_STREQ(testmedia::Path("holiday.bmp").c_str(), dialog.GetPath());
  DeleteFileA(testmedia::Path("holiday.bmp").c_str());
  DeleteFileA(taken.c_str());
}

TEST(PictureInfoDialog, UnreadableFileAndUntitledPicture) {
  struct Case { BOOL untitled; const char* name; } cases[] = {{FALSE, "gone.jpg"}, {TRUE, "Untitled"}};
  for (const Case& c : cases) {
    std::string texts[3];
    BOOL readOnly = FALSE;
    Driver driver;
    driver.steps = {[&] {
                      HWND dialog = FindDialog(kPictureCaption);
                      if (!dialog) return false;
                      texts[0] = ItemText(dialog, IDC_NXMEDIA_NAME);
                      texts[1] = ItemText(dialog, IDC_NXMEDIA_SIZE);
                      texts[2] = ItemText(dialog, IDC_NXMEDIA_DIMENSIONS);
                      readOnly = (GetWindowLongA(GetDlgItem(dialog, IDC_NXMEDIA_NAME), GWL_STYLE) & ES_READONLY) != 0;
                      return true;
                    },
                    Click(kPictureCaption, IDOK)};
    cPictureInfoDialog dialog(NULL, c.untitled, TRUE);
    dialog.SetImageFile(testmedia::Path("gone.jpg").c_str());
    EXPECT_EQ(IDOK, Drive(driver, [&] { return dialog.DoModal(); }));
    EXPECT_EQ(c.name, texts[0]);
    EXPECT_EQ("The file information is not available.", texts[1]);
    EXPECT_EQ("", texts[2]);  // the facts after the failed read stay empty
    EXPECT_EQ(c.untitled, readOnly);
  }
}

TEST(MediaInfoDialogs, VideoAndSoundFactsAndVideoRename) {
  std::string clip = CopyMedia("clip_sound.avi", "info_clip.avi");
  DeleteFileA(testmedia::Path("renamed_clip.avi").c_str());
  std::string videoTexts[5], soundTexts[5];
  Driver video;
  video.steps = {[&] {
                   HWND dialog = FindDialog("Clip facts");
                   if (!dialog) return false;
                   const int ids[] = {IDC_NXMEDIA_SIZE, IDC_NXMEDIA_DIMENSIONS, IDC_NXMEDIA_LENGTH,
                                      IDC_NXMEDIA_FRAME_RATE, IDC_NXMEDIA_TYPE};
                   for (int i = 0; i < 5; ++i) videoTexts[i] = ItemText(dialog, ids[i]);
                   return true;
                 },
                 SetName("Clip facts", "renamed_clip.mpg"), Click("Clip facts", IDOK)};
  cVideoInfoDialog videoDialog;
  videoDialog.SetFile(clip.c_str());
  videoDialog.SetTitle("Clip facts");
  EXPECT_EQ(IDOK, Drive(video, [&] { return videoDialog.DoModal(); }));
  EXPECT_EQ(FileSizeText(testmedia::Path("renamed_clip.avi")), videoTexts[0]);
  EXPECT_EQ("160 x 120 pixels", videoTexts[1]);
  EXPECT_EQ("3.0 seconds", videoTexts[2]);
  EXPECT_EQ("10.00 frames per second", videoTexts[3]);
  EXPECT_EQ("AVI Video", videoTexts[4]);
  EXPECT_STREQ(testmedia::Path("renamed_clip.avi").c_str(), videoDialog.GetPath());
  DeleteFileA(testmedia::Path("renamed_clip.avi").c_str());

  std::string wave = testmedia::Path("sweep.wav");
  cWaveObject sound;
  sound.SetFileName(wave.c_str());
  Driver driver;
  driver.steps = {[&] {
                    HWND dialog = FindDialog("Sound Information");
                    if (!dialog) return false;
                    const int ids[] = {IDC_NXMEDIA_SIZE, IDC_NXMEDIA_FORMAT, IDC_NXMEDIA_CHANNELS,
                                       IDC_NXMEDIA_SAMPLE_RATE, IDC_NXMEDIA_TYPE};
                    for (int i = 0; i < 5; ++i) soundTexts[i] = ItemText(dialog, ids[i]);
                    return true;
                  },
                  Click("Sound Information", IDCANCEL)};
  Drive(driver, [&] {
    sound.ShowProperties();
    return INT_PTR(0);
  });
  EXPECT_EQ(FileSizeText(wave), soundTexts[0]);
  EXPECT_EQ("PCM", soundTexts[1]);
  EXPECT_EQ("One Channel (Mono)", soundTexts[2]);
  EXPECT_EQ("22050 Hz", soundTexts[3]);
  EXPECT_EQ("Wave Sound", soundTexts[4]);
}

// Every control but the labels has a help topic in its dialog's help map.
template <typename Dialog>
struct HelpProbe : Dialog {
  using Dialog::HelpMap;
};

template <typename Dialog>
void ExpectHelpForEveryControl(const char* caption) {
  HelpProbe<Dialog> dialog;
  std::vector<int> missing;
  Driver driver;
  driver.steps = {[&] {
                    HWND wnd = FindDialog(caption);
                    if (!wnd) return false;
                    for (HWND c = GetWindow(wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                      int id = GetDlgCtrlID(c);
                      if (id == 0xFFFF || id == -1) continue;
                      bool found = false;
                      for (const DWORD* p = dialog.HelpMap(); p[0]; p += 2)
                        if (int(p[0]) == id && p[1] == DWORD(NXMEDIA_HELP_BASE + id)) found = true;
                      if (!found) missing.push_back(id);
                    }
                    return true;
                  },
                  Click(caption, IDCANCEL)};
  Drive(driver, [&] { return dialog.DoModal(); });
  EXPECT_TRUE(missing.empty()) << caption << ": " << (missing.empty() ? 0 : missing[0]);
}

TEST(MediaInfoDialogs, HelpForEveryControl) {
  ExpectHelpForEveryControl<cPictureInfoDialog>(kPictureCaption);
  ExpectHelpForEveryControl<cVideoInfoDialog>("Video Information");
  ExpectHelpForEveryControl<cWaveInfoDialog>("Sound Information");
}

}  // namespace
