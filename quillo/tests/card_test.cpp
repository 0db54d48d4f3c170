// The card window in the test process under Wine: the command line, the postmark's clock rules, opening with a
// video, turning the card over and back, the greeting pop-up, putting pictures on the front through the real
// open dialog, the splash and welcome pages, and the two attachment builders (packages read back with the
// independent reader of the package tests).
#include <gtest/gtest.h>

#include <ctime>
#include <thread>

#include <media/LeadBitmap.h>

#include <commctrl.h>
#include <vfw.h>

#include "Attachments.h"
#include "CardBack.h"
#include "CardFront.h"
#include "CommandLine.h"
#include "GreetingPopup.h"
#include "MediaEditor.h"
#include "PictureDialog.h"
#include "Postmark.h"
#include "QuilloSettings.h"
#include "Splash.h"
#include "WelcomeDialog.h"
#include "card_env.h"
#include "package_fixture.h"
#include "quillo/CardPackage.h"
#include "quillo/QuilloIds.h"

using namespace packagetest;

namespace {

const char kSenderName[] = "Anna Lind";

const char kProfileKey[] = "Software\\Nexlumen\\QuilloTest\\Preferences";

class CardTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { StartCardTests(); }
  void SetUp() override {
    theApp.m_boxes.clear();
    theApp.WriteProfileString(quillo::kPreferencesSection, quillo::kSenderNameValue, kSenderName);
    theApp.WriteProfileInt(quillo::kSettingsSection, quillo::kWelcomeShownValue, 1);
  }
};

// A copy of the sample clip named card.ivs: a video by its name.
std::string IvsClip() {
  const std::string folder = FreshFolder("quillo_ivs");
  const std::string path = folder + "card.ivs";
  CopyFileA(SampleMedia().clip.c_str(), path.c_str(), FALSE);
  return path;
}

// The size of a picture file, as the toolkit reads it.
CSize PictureFileSize(const std::string& path) {
  ORVLFILEINFO info = {};
  info.uStructSize = sizeof info;
  if (CLeadBitmap::GetFileInfo(path.c_str(), &info) != NXE_NONE) return CSize(0, 0);
  return CSize(info.Width, info.Height);
}

CSize PictureBytesSize(const Bytes& bytes) {
  ORVLFILEINFO info = {};
  info.uStructSize = sizeof info;
  if (bytes.empty() || orvlFileInfoMemory(bytes.data(), uint32_t(bytes.size()), &info) != ORVL_SUCCESS)
    return CSize(0, 0);
  return CSize(info.Width, info.Height);
}

void Parse(cQuilloCommandLine& line, const std::vector<const char*>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    const char* arg = args[i];
    const BOOL flag = arg[0] == '/' || arg[0] == '-';
    line.ParseParam(flag ? arg + 1 : arg, flag, i + 1 == args.size());
  }
}

CString ControlText(CWnd* panel, UINT id) {
  CString text;
  panel->GetDlgItemText(int(id), text);
  return text;
}

std::string ResourceText(UINT id) {
  CString text;
  text.LoadString(id);
  return LPCSTR(text);
}

// A MAPI file descriptor with both name buffers, as the mail delivery gives it.
struct AttachmentDesc {
  char path[MAX_PATH] = "";
  char name[MAX_PATH] = "";
  MapiFileDesc desc = {};
  AttachmentDesc() {
    desc.lpszPathName = path;
    desc.lpszFileName = name;
  }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The command line.

TEST(CommandLine, SwitchesAndFiles) {
  struct Case {
    std::vector<const char*> args;
    const char* media;
    const char* video;
    const char* sound;
    BOOL splash;
  };
  const Case cases[] = {
      {{"card.ivs"}, "", "card.ivs", "", TRUE},
      {{"/nosplash", "photo.jpg"}, "photo.jpg", "", "", FALSE},
      {{"-NOSPLASH"}, "", "", "", FALSE},
      {{"photo.jpg", "/S", "hello.wav"}, "photo.jpg", "", "hello.wav", TRUE},
      {{"/s", "hello.wav", "frame.bmp", "clip.AVI"}, "frame.bmp", "clip.AVI", "hello.wav", TRUE},
      // Another program's hand-off: a picture made for the card, then the original file.
      {{"frame.bmp", "photo.jpg"}, "frame.bmp", "", "", TRUE},
      {{"clip.avi", "photo.jpg"}, "", "clip.avi", "", TRUE},
      {{}, "", "", "", TRUE},
  };
  for (const Case& c : cases) {
    cQuilloCommandLine line;
    Parse(line, c.args);
    const std::string where = c.args.empty() ? "(none)" : c.args.front();
    EXPECT_STREQ(c.media, line.MediaPath()) << where;
    EXPECT_STREQ(c.video, line.VideoPath()) << where;
    EXPECT_STREQ(c.sound, line.SoundPath()) << where;
    EXPECT_EQ(c.splash, line.m_bShowSplash) << where;
  }
}

// ---------------------------------------------------------------------------------------------
// The postmark.

TEST(Postmark, TwelveHourClockRules) {
  cClockSettings clock;
  clock.separator = ":";
  clock.am = "AM";
  clock.pm = "PM";
  struct Case {
    WORD hour, minute;
    BOOL markerFirst;
    const char* text;
  };
  const Case cases[] = {
      {0, 30, FALSE, "12:30AM"}, {0, 30, TRUE, "AM12:30"}, {9, 7, FALSE, "9:07AM"},
      {12, 0, FALSE, "12:00PM"}, {13, 5, FALSE, "1:05PM"},  {23, 59, TRUE, "PM11:59"},
  };
  for (const Case& c : cases) {
    SYSTEMTIME time = {};
    time.wYear = 2003;
    time.wMonth = 4;
    time.wDay = 5;
    time.wHour = c.hour;
    time.wMinute = c.minute;
    clock.markerFirst = c.markerFirst;
    EXPECT_STREQ(c.text, FormatPostmarkTime(time, clock)) << c.hour << ":" << c.minute;
  }
}

// The rules as the Windows profile sets them: 00:30 on a 12-hour system shows 12:30 with the AM marker.
TEST(Postmark, FollowsTheWindowsProfile) {
  char savedTime[16] = "", savedPrefix[16] = "";
  GetProfileStringA("intl", "iTime", "", savedTime, sizeof savedTime);
  GetProfileStringA("intl", "iTimePrefix", "", savedPrefix, sizeof savedPrefix);
  SYSTEMTIME halfPastMidnight = {};
  halfPastMidnight.wYear = 2003;
  halfPastMidnight.wMonth = 4;
  halfPastMidnight.wDay = 5;
  halfPastMidnight.wMinute = 30;

  WriteProfileStringA("intl", "iTime", "0");
  WriteProfileStringA("intl", "iTimePrefix", "0");
  cClockSettings clock = ReadClockSettings();
  EXPECT_FALSE(clock.twentyFourHour);
  EXPECT_STREQ(CString("12") + clock.separator + "30" + clock.am, FormatPostmarkTime(halfPastMidnight, clock));
  EXPECT_FALSE(clock.am.IsEmpty());

  WriteProfileStringA("intl", "iTimePrefix", "1");
  clock = ReadClockSettings();
  EXPECT_STREQ(clock.am + "12" + clock.separator + "30", FormatPostmarkTime(halfPastMidnight, clock));

  // A 24-hour clock leaves the time to the system's own format.
  WriteProfileStringA("intl", "iTime", "1");
  clock = ReadClockSettings();
  EXPECT_TRUE(clock.twentyFourHour);
  char system[64] = "";
  GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS, &halfPastMidnight, NULL, system, sizeof system);
  EXPECT_STREQ(system, FormatPostmarkTime(halfPastMidnight, clock));

  WriteProfileStringA("intl", "iTime", *savedTime ? savedTime : NULL);
  WriteProfileStringA("intl", "iTimePrefix", *savedPrefix ? savedPrefix : NULL);
}

// ---------------------------------------------------------------------------------------------
// The resource library.

TEST_F(CardTest, TheResourceLibraryHoldsWhatTheCardLoadsByNumberAndName) {
  HINSTANCE library = AfxGetResourceHandle();
  struct Item {
    LPCSTR name;
    LPCSTR type;
    DWORD size;  // 0: any
  };
  const Item items[] = {
      {MAKEINTRESOURCEA(IDI_QUILLO), RT_GROUP_ICON, 0},  {MAKEINTRESOURCEA(IDB_SPLASH), RT_BITMAP, 0},
      {MAKEINTRESOURCEA(IDB_CORNER), RT_BITMAP, 0},      {MAKEINTRESOURCEA(IDC_CORNER_CURSOR), RT_GROUP_CURSOR, 0},
      {QUILLO_SOUND_OPEN, "WAVE", 0},                    {QUILLO_SOUND_FLIP, "WAVE", 0},
      {QUILLO_SOUND_CLOSE, "WAVE", 0},                   {QUILLO_SOUND_SEND, "WAVE", 0},
      {MAKEINTRESOURCEA(IDR_WELCOME_BUTTONS), RT_RCDATA, 6 * 4},
      {MAKEINTRESOURCEA(IDR_WELCOME_NEXT), RT_RCDATA, 15 * 4},
      {MAKEINTRESOURCEA(IDR_NOTE_PACKAGE), RT_RCDATA, 0},  {MAKEINTRESOURCEA(IDR_NOTE_PICTURE), RT_RCDATA, 0},
      {MAKEINTRESOURCEA(IDR_SOUND_CONTAINER), RT_MENU, 0},
  };
  for (const Item& item : items) {
    HRSRC found = FindResourceA(library, item.name, item.type);
    const std::string what = IS_INTRESOURCE(item.name) ? std::to_string(UINT_PTR(item.name)) : item.name;
    ASSERT_TRUE(found != NULL) << what;
    if (item.size) EXPECT_EQ(item.size, SizeofResource(library, found)) << what;
  }
}

// ---------------------------------------------------------------------------------------------
// Opening, turning over, the auxiliary pop-up.

TEST_F(CardTest, AVideoAsTheOnlyArgumentMakesAVideoFront) {
  const std::string clip = IvsClip();
  cQuilloCommandLine line;
  Parse(line, {clip.c_str()});
  cScriptedCard card(line.MediaPath(), line.VideoPath(), line.SoundPath());
  CSize still;
  HWND video = NULL;
  LONG length = 0;
  CRect videoRect, picture;
  card.Run({Pause(500), [&](cScriptedCard& c) {
    still = c.GetFront()->Editor().GetPictureSize();
    video = c.GetFront()->GetVideoWindow();
    if (video) {
      length = MCIWndGetLength(video);
      ::GetWindowRect(video, &videoRect);
      picture = c.GetFront()->PictureRect();
      c.GetFront()->ClientToScreen(&picture);
    }
    SaveShot(c.GetSafeHwnd(), "card_front_video");
    return true;
  }});
  ASSERT_FALSE(card.TimedOut());
  EXPECT_TRUE(card.GetMediaPath().IsEmpty());
  EXPECT_STREQ(clip.c_str(), card.GetVideoPath());
  EXPECT_TRUE(card.IsModified());
  EXPECT_EQ(kCardFrontShowing | kCardPictureFront | kCardModified, card.GetFlags());
  EXPECT_TRUE(card.GetFront()->Editor().IsVideo());
  EXPECT_GT(still.cx, 0);
  EXPECT_GT(still.cy, 0);
  EXPECT_TRUE(theApp.m_boxes.empty());
  // The clip plays in the system's video window over the picture area.
  ASSERT_TRUE(video != NULL);
  EXPECT_EQ(30, length);  // the sample clip's frames
  EXPECT_TRUE(picture.PtInRect(videoRect.TopLeft()) && picture.PtInRect(videoRect.BottomRight() - CSize(1, 1)))
      << videoRect.left << "," << videoRect.top << " " << videoRect.right << "," << videoRect.bottom;
}

TEST_F(CardTest, TheFrontsButtonsAndTheirHints) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  int tools = 0;
  bool fifthHidden = false, fifthDisabled = false;
  std::vector<BOOL> enabled;
  card.Run({[&](cScriptedCard& c) {
    cCardFront* front = c.GetFront();
    CWnd* fifth = front->GetButton(ID_CARD_FRONT_FIFTH);
    fifthHidden = fifth && !fifth->IsWindowVisible();
    fifthDisabled = fifth && !fifth->IsWindowEnabled();
    for (UINT id : {ID_CARD_CHOOSE_PICTURE, ID_CARD_FLIP, ID_CARD_SEND, ID_CARD_PREFERENCES})
      enabled.push_back(front->GetButton(id) && front->GetButton(id)->IsWindowEnabled());
    // The hints: one tooltip of the front, one tool per shown button.
    for (HWND tip = FindWindowExA(NULL, NULL, TOOLTIPS_CLASSA, NULL); tip;
         tip = FindWindowExA(NULL, tip, TOOLTIPS_CLASSA, NULL)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(tip, &pid);
      if (pid == GetCurrentProcessId()) tools += int(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    }
    return true;
  }});
  EXPECT_TRUE(fifthHidden);
  EXPECT_TRUE(fifthDisabled);
  EXPECT_EQ((std::vector<BOOL>{TRUE, TRUE, TRUE, TRUE}), enabled);
  EXPECT_EQ(4, tools);
}

TEST_F(CardTest, AnEmptyCardIsNotModified) {
  cScriptedCard card("", "", "");
  card.Run({[](cScriptedCard&) { return true; }});
  EXPECT_EQ(kCardFrontShowing | kCardPictureFront, card.GetFlags());
  EXPECT_TRUE(card.GetFront()->Editor().IsEmpty());
}

TEST_F(CardTest, TurningOverAndBackKeepsTheTextsAndTheTimeStamp) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  time_t stamp = 0;
  CString firstMessage, firstSender;
  UINT limits[4] = {};
  card.Run({
      [&](cScriptedCard& c) {
        EXPECT_EQ(nullptr, c.GetBack());  // made on the first turn only
        c.Flip();
        return true;
      },
      [&](cScriptedCard& c) {
        cCardBack* back = c.GetBack();
        EXPECT_FALSE(c.IsFrontShowing());
        EXPECT_TRUE(back->IsWindowVisible());
        EXPECT_FALSE(c.GetFront()->IsWindowVisible());
        firstMessage = ControlText(back, IDC_CARD_MESSAGE);
        firstSender = ControlText(back, IDC_CARD_FROM);
        const UINT ids[] = {IDC_CARD_MESSAGE, IDC_CARD_FROM, IDC_CARD_SUBJECT, IDC_CARD_TO};
        for (int i = 0; i < 4; ++i) limits[i] = UINT(back->SendDlgItemMessage(ids[i], EM_GETLIMITTEXT));
        back->SetDlgItemText(IDC_CARD_MESSAGE, "The sea is warm.\r\nSee you soon!");
        back->SetDlgItemText(IDC_CARD_TO, "Bob Smith; Carol");
        back->SetDlgItemText(IDC_CARD_SUBJECT, "Greetings from the coast");
        stamp = back->GetTimeStamp();
        c.Flip();
        return true;
      },
      Pause(1200),  // a back made now would carry a later time
      [&](cScriptedCard& c) {
        EXPECT_TRUE(c.IsFrontShowing());
        c.Flip();
        c.GetBack()->TakeTexts();
        return true;
      },
  });
  ASSERT_FALSE(card.TimedOut());
  const cCardBack* back = card.GetBack();
  EXPECT_STREQ("The sea is warm.\r\nSee you soon!", back->GetMessageText());
  EXPECT_STREQ("Bob Smith; Carol", back->GetRecipientText());
  EXPECT_STREQ("Greetings from the coast", back->GetSubjectText());
  EXPECT_STREQ(kSenderName, back->GetSenderText());
  EXPECT_EQ(stamp, back->GetTimeStamp());
  EXPECT_FALSE(card.IsFrontShowing());
  // The back starts with the sender from the preferences and the first greeting made with it.
  EXPECT_STREQ(kSenderName, firstSender);
  CString greeting;
  AfxFormatString1(greeting, IDS_GREETING_FIRST, kSenderName);
  EXPECT_STREQ(greeting, firstMessage);
  EXPECT_EQ(UINT(cCardBack::kMessageLimit), limits[0]);
  EXPECT_EQ(UINT(cCardBack::kSenderLimit), limits[1]);
  EXPECT_EQ(UINT(cCardBack::kSubjectLimit), limits[2]);
  EXPECT_GT(limits[3], 30000u);  // "to" has no limit of its own
}

TEST_F(CardTest, TheCornerTurnsTheCardOver) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  card.Run({
      [](cScriptedCard& c) {
        HWND corner = FindWindowExA(c.GetFront()->GetSafeHwnd(), NULL, "NexlumenPostcardCorner", NULL);
        EXPECT_TRUE(corner != NULL);
        if (corner) PostMessageA(corner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        return true;
      },
      [](cScriptedCard& c) { return !c.IsFrontShowing(); },
  });
  EXPECT_FALSE(card.TimedOut());
}

TEST_F(CardTest, TheGreetingPopupHoldsTheCardAndPutsItsGreetingOnTheBack) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  bool flipHeld = false, pictureHeld = false, buttonsOff = false;
  card.Run({
      [&](cScriptedCard& c) {
        EXPECT_TRUE(c.OpenAuxiliary());
        EXPECT_TRUE(c.IsAuxiliaryOpen());
        EXPECT_FALSE(c.IsFrontShowing());  // the pop-up stands over the back
        return true;
      },
      [&](cScriptedCard& c) {
        c.Flip();
        flipHeld = !c.IsFrontShowing();
        c.ChoosePicture();  // would open the file dialog, and wait in it, if it were not held
        pictureHeld = true;
        buttonsOff = !c.GetBack()->GetButton(ID_CARD_FLIP)->IsWindowEnabled();
        SaveShot(c.GetSafeHwnd(), "greetings");
        CWnd* popup = c.GetAuxiliary();
        popup->SendDlgItemMessage(IDC_GREETING_LIST, LB_SETCURSEL, 2);
        popup->SendMessage(WM_COMMAND, IDOK);
        return true;
      },
      [&](cScriptedCard& c) { return !c.IsAuxiliaryOpen(); },
      [&](cScriptedCard& c) {
        c.Flip();
        return true;
      },
  });
  ASSERT_FALSE(card.TimedOut());
  EXPECT_TRUE(flipHeld);
  EXPECT_TRUE(pictureHeld);
  EXPECT_TRUE(buttonsOff);
  EXPECT_TRUE(card.IsFrontShowing());  // turning over works again once the pop-up is gone
  card.GetBack()->TakeTexts();
  CString third;
  AfxFormatString1(third, IDS_GREETING_FIRST + 2, kSenderName);
  // The untouched first greeting gives way to the chosen one.
  EXPECT_STREQ(third, card.GetBack()->GetMessageText());
}

TEST_F(CardTest, AGreetingGoesAboveAMessageAlreadyWritten) {
  cCardBack back("", TRUE);
  back.ApplyGreeting("Hello!");
  EXPECT_STREQ("Hello!", back.GetMessageText());  // a back not yet shown starts from its greeting
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  card.Run({[](cScriptedCard& c) {
    c.Flip();
    c.GetBack()->SetDlgItemText(IDC_CARD_MESSAGE, "My own words.");
    c.GetBack()->ApplyGreeting("Hello!");
    return true;
  }});
  EXPECT_STREQ("Hello!\r\n\r\nMy own words.", card.GetBack()->GetMessageText());
}

// ---------------------------------------------------------------------------------------------
// The front's media.

TEST_F(CardTest, PuttingFilesOnTheFront) {
  const std::string folder = FreshFolder("quillo_front");
  const std::string notPicture = folder + "notes.jpg";
  WriteBytes(notPicture, Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
  const std::string clip = IvsClip();
  cScriptedCard card("", "", "");
  BOOL refused = TRUE, video = FALSE, picture = FALSE;
  WORD flagsAfterRefusal = 0;
  card.Run({
      [&](cScriptedCard& c) {
        refused = c.PutOnFront(notPicture.c_str());
        flagsAfterRefusal = c.GetFlags();
        c.Flip();
        video = c.PutOnFront(clip.c_str());  // and back to the front
        return true;
      },
      [&](cScriptedCard& c) {
        EXPECT_TRUE(c.IsFrontShowing());
        EXPECT_STREQ(clip.c_str(), c.GetVideoPath());
        EXPECT_TRUE(c.GetMediaPath().IsEmpty());
        picture = c.PutOnFront(SampleMedia().front.c_str());
        return true;
      },
  });
  EXPECT_FALSE(refused);
  ASSERT_EQ(1u, theApp.m_boxes.size());
  EXPECT_NE(std::string::npos, theApp.m_boxes[0].find(notPicture)) << theApp.m_boxes[0];
  EXPECT_EQ(kCardFrontShowing | kCardPictureFront, flagsAfterRefusal);  // nothing changed
  EXPECT_TRUE(video);
  EXPECT_TRUE(picture);
  EXPECT_STREQ(SampleMedia().front.c_str(), card.GetMediaPath());
  EXPECT_TRUE(card.GetVideoPath().IsEmpty());
  EXPECT_EQ(kCardFrontShowing | kCardPictureFront | kCardJpegMedia | kCardModified, card.GetFlags());
  EXPECT_EQ(CSize(320, 240), card.GetFront()->Editor().GetPictureSize());
}

TEST_F(CardTest, ChoosePictureUsesTheOpenDialogAndRemembersTheFolder) {
  const std::string folder = FreshFolder("quillo_choose");
  const std::string photo = folder + "holiday.jpg";
  CopyFileA(SampleMedia().front.c_str(), photo.c_str(), FALSE);
  const std::string title = ResourceText(IDS_CHOOSE_PICTURE_TITLE);
  cScriptedCard card("", "", "");
  std::string secondFolder;
  COLORREF previewColour = quillo::kPhotoMatColor;
  bool firstSeen = false, secondSeen = false;
  card.Run({
      [&](cScriptedCard& c) {
        DialogDriver driver(title, [&](HWND dialog) { ChooseFile(dialog, photo); });
        c.ChoosePicture();
        firstSeen = driver.Seen();
        return true;
      },
      [&](cScriptedCard& c) {
        DialogDriver driver(title, [&](HWND dialog) {
          char path[MAX_PATH] = "";
          SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, LPARAM(path));
          secondFolder = path;
          // Selecting the picture in the folder's list shows its preview.
          HWND view = FindWindowExA(dialog, NULL, "SHELLDLL_DefView", NULL);
          HWND list = view ? FindWindowExA(view, NULL, "SysListView32", NULL) : NULL;
          LVITEMA item = {};
          item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
          if (list) SendMessageA(list, LVM_SETITEMSTATE, 0, LPARAM(&item));
          Sleep(700);
          HWND panel = FindWindowExA(dialog, NULL, "#32770", NULL);
          HWND preview = panel ? GetDlgItem(panel, IDC_PREVIEW_PICTURE) : NULL;
          if (preview) {
            RECT box, window;
            GetWindowRect(preview, &box);
            GetWindowRect(dialog, &window);
            OffsetRect(&box, -window.left, -window.top);
            InflateRect(&box, -20, -20);
            previewColour = MeanColour(dialog, box);
          }
          SaveShot(dialog, "open_dialog");
          PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        c.ChoosePicture();
        secondSeen = driver.Seen();
        return true;
      },
  });
  ASSERT_TRUE(firstSeen);
  ASSERT_TRUE(secondSeen);
  EXPECT_STREQ(photo.c_str(), card.GetMediaPath());
  EXPECT_TRUE(card.IsModified());
  EXPECT_STREQ(folder.substr(0, folder.size() - 1).c_str(), card.GetPictureFolder());
  EXPECT_EQ(0, lstrcmpiA(folder.substr(0, folder.size() - 1).c_str(), secondFolder.c_str())) << secondFolder;
  EXPECT_NE(quillo::kPhotoMatColor, previewColour);  // the preview shows the picture, not its empty mat
}

TEST_F(CardTest, PreviewsFitTheBox) {
  CClientDC screen(NULL);
  const CSize box(106, 94);
  std::unique_ptr<CBitmap> picture(cPictureOpenDialog::MakePreview(SampleMedia().front.c_str(), &screen, box));
  std::unique_ptr<CBitmap> clip(cPictureOpenDialog::MakePreview(IvsClip().c_str(), &screen, box));
  ASSERT_TRUE(picture != nullptr);
  ASSERT_TRUE(clip != nullptr);
  BITMAP info = {};
  picture->GetBitmap(&info);
  EXPECT_EQ(106, info.bmWidth);  // 320 x 240 fitted into 106 x 94
  EXPECT_EQ(80, info.bmHeight);
  clip->GetBitmap(&info);
  EXPECT_LE(info.bmWidth, box.cx);
  EXPECT_LE(info.bmHeight, box.cy);
  const std::string text = FreshFolder("quillo_preview") + "readme.txt";
  WriteBytes(text, Bytes{'h', 'i'});
  EXPECT_EQ(nullptr, cPictureOpenDialog::MakePreview(text.c_str(), &screen, box));
}

// ---------------------------------------------------------------------------------------------
// The splash screen and the welcome pages.

TEST_F(CardTest, AnyKeyHidesTheSplash) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "", TRUE);
  bool shown = false;
  card.Run({
      [&](cScriptedCard& c) {
        HWND splash = FindWindowA(cSplashWnd::kClassName, NULL);
        shown = c.IsSplashShowing() && splash && IsWindowVisible(splash);
        if (splash) SaveShot(splash, "splash");
        c.PostMessage(WM_KEYDOWN, VK_SPACE, 0);
        return true;
      },
      [](cScriptedCard& c) { return !c.IsSplashShowing(); },
  });
  EXPECT_TRUE(shown);
  EXPECT_FALSE(card.TimedOut());

  cScriptedCard quiet(SampleMedia().front.c_str(), "", "", FALSE);
  bool none = false;
  quiet.Run({[&](cScriptedCard& c) {
    none = !c.IsSplashShowing() && FindWindowA(cSplashWnd::kClassName, NULL) == NULL;
    return true;
  }});
  EXPECT_TRUE(none);
}

namespace {

class cScriptedWelcome : public cWelcomeDialog {
 public:
  std::vector<std::function<bool(cScriptedWelcome&)>> steps;
  size_t next = 0;
  afx_msg LRESULT OnKick(WPARAM, LPARAM) {
    if (next < steps.size() && steps[next](*this)) ++next;
    Sleep(5);
    return next < steps.size();
  }
  CRect ButtonRect(UINT id) {
    CRect r;
    GetDlgItem(int(id))->GetWindowRect(&r);
    ScreenToClient(&r);
    return r;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(cScriptedWelcome, cWelcomeDialog)
  ON_MESSAGE(WM_KICKIDLE, OnKick)
END_MESSAGE_MAP()

}  // namespace

TEST_F(CardTest, WelcomePagesFollowTheirPicturesAndPlacements) {
  cScriptedWelcome welcome;
  CRect client, next, close;
  int pages[3] = {};
  UINT defaults[3] = {};
  auto press = [](cScriptedWelcome& w) {
    w.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WELCOME_NEXT, BN_CLICKED), LPARAM(w.GetDlgItem(IDC_WELCOME_NEXT)->m_hWnd));
    return true;
  };
  welcome.steps = {
      [&](cScriptedWelcome& w) {
        w.GetClientRect(&client);
        next = w.ButtonRect(IDC_WELCOME_NEXT);
        close = w.ButtonRect(IDCANCEL);
        pages[0] = w.GetPage();
        defaults[0] = LOWORD(w.GetDefID());
        SaveShot(w.GetSafeHwnd(), "welcome");
        return true;
      },
      press,
      [&](cScriptedWelcome& w) {
        pages[1] = w.GetPage();
        defaults[1] = LOWORD(w.GetDefID());
        return true;
      },
      press,
      [&](cScriptedWelcome& w) {
        pages[2] = w.GetPage();
        defaults[2] = LOWORD(w.GetDefID());
        return true;
      },
      press,  // there is no fourth picture: the pages close
  };
  EXPECT_EQ(IDOK, welcome.DoModal());
  EXPECT_EQ(CSize(520, 340), client.Size());
  EXPECT_EQ(CRect(302, 296, 398, 324), next);
  EXPECT_EQ(CRect(408, 296, 504, 324), close);
  EXPECT_EQ(1, pages[0]);
  EXPECT_EQ(2, pages[1]);
  EXPECT_EQ(3, pages[2]);
  EXPECT_EQ(UINT(IDC_WELCOME_NEXT), defaults[0]);
  EXPECT_EQ(UINT(IDC_WELCOME_NEXT), defaults[1]);
  EXPECT_EQ(UINT(IDCANCEL), defaults[2]);
}

TEST_F(CardTest, TheWelcomePagesComeOnlyOnTheFirstRun) {
  theApp.WriteProfileInt(quillo::kSettingsSection, quillo::kWelcomeShownValue, 0);
  for (int run = 0; run < 2; ++run) {
    {
      // The pages' dialog carries its template's caption.
      DialogDriver driver(
          "Welcome to Quillo", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }, 3000);
      cScriptedCard card(SampleMedia().front.c_str(), "", "");
      card.Run({Pause(1500)});
      EXPECT_EQ(run == 0, driver.Seen()) << "run " << run;
    }
  }
  EXPECT_EQ(1u, theApp.GetProfileInt(quillo::kSettingsSection, quillo::kWelcomeShownValue, 0));
}

// ---------------------------------------------------------------------------------------------
// Screens of the card, for a person to look at: the front with a picture, the back with texts and postmark.

TEST_F(CardTest, ScreensOfTheFrontAndTheBack) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  COLORREF frontPicture = 0, backPaper = 0;
  card.Run({
      Pause(300),
      [&](cScriptedCard& c) {
        SaveShot(c.GetSafeHwnd(), "card_front");
        CRect picture = c.GetFront()->PictureRect();
        c.GetFront()->ClientToScreen(&picture);
        CRect window;
        c.GetWindowRect(&window);
        picture.OffsetRect(-window.left, -window.top);
        picture.DeflateRect(picture.Width() / 3, picture.Height() / 3);
        frontPicture = MeanColour(c.GetSafeHwnd(), picture);
        c.Flip();
        c.GetBack()->SetDlgItemText(IDC_CARD_MESSAGE,
                                    "Dear Bob,\r\n\r\nthe sea is warm and the evenings are long. We walk to the "
                                    "harbour every morning and watch the boats come in.\r\n\r\nLove, Anna");
        c.GetBack()->SetDlgItemText(IDC_CARD_TO, "Bob Smith");
        c.GetBack()->SetDlgItemText(IDC_CARD_SUBJECT, "Greetings from the coast");
        return true;
      },
      Pause(300),
      [&](cScriptedCard& c) {
        SaveShot(c.GetSafeHwnd(), "card_back");
        // The paper below the message, at the card's bottom left.
        CRect client;
        c.GetBack()->GetClientRect(&client);
        const quillo::cPanelLayout layout = quillo::LayoutPanel(client);
        CRect paper(layout.card.left + 4, layout.card.bottom - 14, layout.card.left + 24, layout.card.bottom - 4);
        c.GetBack()->ClientToScreen(&paper);
        CRect window;
        c.GetWindowRect(&window);
        paper.OffsetRect(-window.left, -window.top);
        backPaper = MeanColour(c.GetSafeHwnd(), paper);
        return true;
      },
  });
  ASSERT_FALSE(card.TimedOut());
  // The sample photo is a landscape, not the card's paper; the back's corner is paper.
  EXPECT_NE(quillo::kPhotoMatColor, frontPicture);
  EXPECT_NEAR(GetRValue(quillo::kCardColor), GetRValue(backPaper), 12);
  EXPECT_NEAR(GetGValue(quillo::kCardColor), GetGValue(backPaper), 12);
  EXPECT_NEAR(GetBValue(quillo::kCardColor), GetBValue(backPaper), 12);
}

// ---------------------------------------------------------------------------------------------
// The attachments.

TEST_F(CardTest, PackageOfAPictureCard) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  std::string package;
  AttachmentDesc attachment;
  time_t stamp = 0;
  card.Run({[&](cScriptedCard& c) {
    c.Flip();
    c.GetBack()->SetDlgItemText(IDC_CARD_MESSAGE, "Sunny days.");
    c.GetBack()->SetDlgItemText(IDC_CARD_TO, "Bob");
    c.GetBack()->SetDlgItemText(IDC_CARD_SUBJECT, "Holidays");
    stamp = c.GetBack()->GetTimeStamp();
    package = BuildPackageAttachment(c, &attachment.desc);
    return true;
  }});
  ASSERT_FALSE(package.empty());
  EXPECT_TRUE(theApp.m_boxes.empty());
  const Parsed p = packagetest::Parse(package);
  DeleteFileA(package.c_str());
  EXPECT_EQ(1, p.U16(kVersion));
  EXPECT_EQ(3, p.U16(kKind));
  EXPECT_EQ(0u, p.U32(kVideo) | p.U32(kVideo + 4) | p.U32(kSound) | p.U32(kSound + 4));
  EXPECT_EQ(CSize(320, 240), PictureBytesSize(p.Part(kPicture)));  // the media's own size
  EXPECT_EQ(ReadBytes(ProgramDir() + quillo::kViewerFile1Name), p.Part(kViewer1));
  EXPECT_EQ(ReadBytes(ProgramDir() + quillo::kViewerFile2Name), p.Part(kViewer2));
  EXPECT_EQ("Sunny days.", p.Text(kMessage, 767));
  EXPECT_EQ(kSenderName, p.Text(packagetest::kSender, 255));
  EXPECT_EQ("Bob", p.Text(kRecipients, 255));
  EXPECT_EQ("Holidays", p.Text(kSubject, 255));
  EXPECT_EQ(ResourceText(IDS_LINK_LABEL), p.Text(kLinkLabel, 31));
  EXPECT_EQ(ResourceText(IDS_LINK_ADDRESS), p.Text(kLinkAddress, 128));
  const std::tm local = *std::localtime(&stamp);  // the back's time stamp, not the time of packaging
  EXPECT_EQ(local.tm_sec, p.U16(kCreated));
  EXPECT_EQ(local.tm_min, p.U16(kCreated + 2));
  EXPECT_EQ(local.tm_hour, p.U16(kCreated + 4));
  EXPECT_EQ(local.tm_year, p.U16(kCreated + 10));
  EXPECT_STREQ(package.c_str(), attachment.path);
  const std::string base = package.substr(package.find_last_of('\\') + 1);
  EXPECT_EQ(base.substr(0, base.find_last_of('.')) + ".EXE", std::string(attachment.name));
}

TEST_F(CardTest, PackageOfAVideoCardWithSound) {
  const std::string clip = IvsClip();
  cScriptedCard card("", clip.c_str(), SampleMedia().sound.c_str());
  std::string package;
  card.Run({[&](cScriptedCard& c) {
    package = BuildPackageAttachment(c);
    return true;
  }});
  ASSERT_FALSE(package.empty());
  const Parsed p = packagetest::Parse(package);
  DeleteFileA(package.c_str());
  EXPECT_EQ(2, p.U16(kKind));
  EXPECT_EQ(ReadBytes(clip), p.Part(kVideo));
  EXPECT_EQ(ReadBytes(SampleMedia().sound), p.Part(kSound));
  EXPECT_EQ(p.U32(kVideo) + p.U32(kVideo + 4), p.U32(kSound));
  EXPECT_EQ(p.file.size() - kTrailer, size_t(p.U32(kSound) + p.U32(kSound + 4)));
  EXPECT_EQ(card.GetFront()->Editor().GetPictureSize(), PictureBytesSize(p.Part(kPicture)));
}

TEST_F(CardTest, PictureOfTheCard) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  std::string picture;
  AttachmentDesc attachment;
  card.Run({[&](cScriptedCard& c) {
    picture = BuildPictureAttachment(c, &attachment.desc);
    return true;
  }});
  ASSERT_FALSE(picture.empty());
  EXPECT_EQ(CSize(630, 846), PictureFileSize(picture));
  EXPECT_STREQ(picture.c_str(), attachment.path);
  EXPECT_NE(std::string::npos, std::string(attachment.name).find(".JPG"));
  // The front above: the photo's colours; the back below: the card's paper at its top left.
  CLeadBitmap bitmap;
  ASSERT_EQ(NXE_NONE, bitmap.LoadFile(picture.c_str(), 24, ORVL_ORDER_BGR, ORVL_LOAD_ALLOCATE | ORVL_LOAD_STORE, NULL));
  const ORVLCOLOR paper = bitmap.GetPixelColor(423 + 8, 8);
  const ORVLCOLOR photo = bitmap.GetPixelColor(211, 315);
  bitmap.Free();
  if (const char* shots = std::getenv("ORV_QUILLO_SHOTS")) {
    const std::string dir = shots[0] == '/' ? std::string("Z:") + shots : std::string(shots);
    CreateDirectoryA(dir.c_str(), NULL);
    CopyFileA(picture.c_str(), (dir + "\\card_picture.jpg").c_str(), FALSE);
  }
  DeleteFileA(picture.c_str());
  EXPECT_NEAR(GetRValue(quillo::kCardColor), GetRValue(paper), 16);
  EXPECT_NEAR(GetBValue(quillo::kCardColor), GetBValue(paper), 16);
  EXPECT_NE(RGB(GetRValue(paper), GetGValue(paper), GetBValue(paper)), photo);
}
