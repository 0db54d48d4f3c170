// The card faces, drawn once per card into memory bitmaps that the face window shows and animates.
#include "faces.h"

#include <cmath>
#include <vector>

#include "nxplay/viewer.h"
#include "picture.h"
#include "player_ids.h"
#include "texts.h"

namespace nxplay {

namespace {

const COLORREF kPaper = RGB(251, 247, 236);
const COLORREF kPaperEdge = RGB(226, 218, 200);
const COLORREF kRule = RGB(216, 207, 188);
const COLORREF kInk = RGB(43, 53, 80);
const COLORREF kFaint = RGB(138, 130, 114);
const COLORREF kPostmarkInk = RGB(58, 70, 96);
const COLORREF kStampKey = RGB(255, 0, 255);
const COLORREF kStampPaper = RGB(255, 255, 255);
const COLORREF kStampRed = RGB(196, 52, 44);
const COLORREF kStampShade = RGB(214, 205, 186);

// Layout of the back.
const int kBackMargin = 26;
const int kDividerX = 372;
const int kHeadingTop = 14;
const int kContentTop = 52;
const int kStampWidth = 88, kStampHeight = 104;
const int kStampTop = 20;
const int kStampShadow = 2;
const int kAddressLeft = kDividerX + 22;
const int kPostmarkRadius = 42;

// Families tried, in order, for the handwritten message; the last is always present.
struct Family {
  const char* name;
  bool italic;
};
const Family kMessageFamilies[] = {{"Segoe Print", false}, {"Comic Sans MS", false}, {"Georgia", true},
                                   {"DejaVu Serif", true}, {"Times New Roman", true}, {"Tahoma", false}};
const int kMessageSizes[] = {22, 20, 18, 16, 14, 12, 11};

int CALLBACK FoundFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

const Family& MessageFamily(HDC dc) {
  for (const Family& f : kMessageFamilies) {
    LOGFONTA want = {};
    want.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(want.lfFaceName, f.name, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExA(dc, &want, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
    if (found) return f;
  }
  return kMessageFamilies[sizeof kMessageFamilies / sizeof kMessageFamilies[0] - 1];
}

HFONT Font(const char* face, int pixels, int weight = FW_NORMAL, bool italic = false) {
  return CreateFontA(-pixels, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

// A memory DC with a new 24-bit bitmap selected, restored and released by the destructor; Take() hands the
// bitmap out.
class Canvas {
 public:
  Canvas(int width, int height) : dc_(CreateCompatibleDC(NULL)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    bitmap_ = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    old_ = SelectObject(dc_, bitmap_);
    SetBkMode(dc_, TRANSPARENT);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    if (bitmap_) DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  HBITMAP Take() {
    SelectObject(dc_, old_);
    HBITMAP b = bitmap_;
    bitmap_ = NULL;
    return b;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour, int width = 1) {
  HPEN pen = CreatePen(PS_SOLID, width, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, NULL);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// Plain paper with a faint edge, the ground of both faces.
void DrawPaper(HDC dc) {
  const RECT card = {0, 0, kCardWidth, kCardHeight};
  Fill(dc, card, kPaper);
  HPEN pen = CreatePen(PS_SOLID, 1, kPaperEdge);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, 0, 0, kCardWidth, kCardHeight);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

// Text in a box with the given font and colour; returns the height it took.
int DrawTextIn(HDC dc, const std::string& text, RECT box, HFONT font, COLORREF colour, UINT format) {
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, colour);
  const int height = DrawTextA(dc, text.c_str(), int(text.size()), &box, format | DT_NOPREFIX);
  SelectObject(dc, old);
  return height;
}

void DrawMessage(HDC dc, const std::string& message) {
  const Family& family = MessageFamily(dc);
  const RECT box = {kBackMargin, kContentTop, kDividerX - 20, kCardHeight - kBackMargin};
  // The largest size at which the whole message fits its half of the card.
  for (int size : kMessageSizes) {
    HFONT font = Font(family.name, size, FW_NORMAL, family.italic);
    RECT measure = box;
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextA(dc, message.c_str(), int(message.size()), &measure, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    SelectObject(dc, old);
    const bool last = size == kMessageSizes[sizeof kMessageSizes / sizeof kMessageSizes[0] - 1];
    if (measure.bottom <= box.bottom || last) {
      DrawTextIn(dc, message, box, font, kInk, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS);
      DeleteObject(font);
      return;
    }
    DeleteObject(font);
  }
}

// One address line: a small label, the text on up to `lines` lines, a rule below.
int DrawAddressField(HDC dc, int top, UINT labelId, const std::string& text, int lines) {
  HFONT label = Font("Tahoma", 11, FW_BOLD);
  HFONT value = Font("Tahoma", 15);
  const int right = kCardWidth - kBackMargin;
  RECT labelBox = {kAddressLeft, top, right, top + 14};
  DrawTextIn(dc, Text(labelId), labelBox, label, kFaint, DT_SINGLELINE | DT_LEFT);
  const int lineHeight = 19;
  RECT valueBox = {kAddressLeft + 4, top + 16, right, top + 16 + lineHeight * lines};
  DrawTextIn(dc, text, valueBox, value, kInk, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS);
  const int rule = valueBox.bottom + 2;
  Line(dc, kAddressLeft, rule, right, rule, kRule);
  DeleteObject(label);
  DeleteObject(value);
  return rule + 12;
}

// A stamp-sized piece of the given colour with perforation bites along every edge.
void DrawPerforated(HDC dc, int left, int top, COLORREF colour) {
  const RECT paper = {left, top, left + kStampWidth, top + kStampHeight};
  Fill(dc, paper, colour);
  HBRUSH bite = CreateSolidBrush(kPaper);
  HGDIOBJ oldBrush = SelectObject(dc, bite);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  for (int x = left + 4; x < left + kStampWidth; x += 8) {
    Ellipse(dc, x - 3, top - 3, x + 3, top + 3);
    Ellipse(dc, x - 3, top + kStampHeight - 3, x + 3, top + kStampHeight + 3);
  }
  for (int y = top + 4; y < top + kStampHeight; y += 8) {
    Ellipse(dc, left - 3, y - 3, left + 3, y + 3);
    Ellipse(dc, left + kStampWidth - 3, y - 3, left + kStampWidth + 3, y + 3);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(bite);
}

void DrawPlainStamp(HDC dc, int left, int top) {
  DrawPerforated(dc, left, top, kStampPaper);
  const RECT band = {left + 10, top + kStampHeight - 22, left + kStampWidth - 10, top + kStampHeight - 10};
  Fill(dc, band, kStampRed);
  const RECT inner = {left + 10, top + 10, left + kStampWidth - 10, top + kStampHeight - 28};
  Fill(dc, inner, RGB(120, 176, 226));
}

void DrawStamp(HDC dc, HBITMAP stamp, int left, int top) {
  DrawPerforated(dc, left + kStampShadow, top + kStampShadow, kStampShade);
  const SIZE size = BitmapSize(stamp);
  if (!stamp || size.cx <= 0) {
    DrawPlainStamp(dc, left, top);
    return;
  }
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, stamp);
  TransparentBlt(dc, left, top, kStampWidth, kStampHeight, source, 0, 0, size.cx, size.cy, kStampKey);
  SelectObject(source, old);
  DeleteDC(source);
}

std::string PostmarkLine(const cardpackage::CreatedStamp& created, bool date) {
  PostmarkTime t;
  if (!PostmarkFromCreated(created, &t)) return std::string();
  SYSTEMTIME st = {};
  st.wYear = WORD(t.year);
  st.wMonth = WORD(t.month);
  st.wDay = WORD(t.day);
  st.wDayOfWeek = WORD(t.dayOfWeek);
  st.wHour = WORD(t.hour);
  st.wMinute = WORD(t.minute);
  st.wSecond = WORD(t.second);
  char text[64] = "";
  const int n = date ? GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, NULL, text, sizeof text)
                     : GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, NULL, text, sizeof text);
  return n > 0 ? std::string(text) : std::string();
}

// Two rings with the date and time, and wavy cancel lines running over the stamp.
void DrawPostmark(HDC dc, int cx, int cy, int wavesEnd, const cardpackage::CreatedStamp& created) {
  HPEN pen = CreatePen(PS_SOLID, 2, kPostmarkInk);
  HPEN thin = CreatePen(PS_SOLID, 1, kPostmarkInk);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  const int r = kPostmarkRadius;
  Ellipse(dc, cx - r, cy - r, cx + r, cy + r);
  SelectObject(dc, thin);
  Ellipse(dc, cx - r + 5, cy - r + 5, cx + r - 5, cy + r - 5);
  for (int k = -1; k <= 2; ++k) {
    const int y = cy + k * 10 - 5;
    std::vector<POINT> wave;
    for (int x = cx + r + 4; x <= wavesEnd; x += 2)
      wave.push_back(POINT{x, y + int(std::lround(3.0 * std::sin((x - cx) / 6.0)))});
    SelectObject(dc, pen);
    Polyline(dc, wave.data(), int(wave.size()));
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  DeleteObject(thin);

  HFONT font = Font("Tahoma", 10, FW_BOLD);
  RECT dateBox = {cx - r + 4, cy - 15, cx + r - 4, cy - 1};
  RECT timeBox = {cx - r + 4, cy + 1, cx + r - 4, cy + 15};
  DrawTextIn(dc, PostmarkLine(created, true), dateBox, font, kPostmarkInk, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  DrawTextIn(dc, PostmarkLine(created, false), timeBox, font, kPostmarkInk, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  DeleteObject(font);
}

}  // namespace

RECT FrontPictureRect(SIZE picture) {
  int width, height;
  FitInside(picture.cx, picture.cy, kCardWidth - 2 * kFrontMargin, kCardHeight - 2 * kFrontMargin, &width, &height);
  const int left = (kCardWidth - width) / 2, top = (kCardHeight - height) / 2;
  return RECT{left, top, left + width, top + height};
}

HBITMAP DrawFront(HBITMAP picture, const std::string& noPictureNote) {
  Canvas canvas(kCardWidth, kCardHeight);
  HDC dc = canvas.dc();
  DrawPaper(dc);
  const SIZE size = BitmapSize(picture);
  if (picture && size.cx > 0) {
    const RECT at = FrontPictureRect(size);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture);
    BitBlt(dc, at.left, at.top, at.right - at.left, at.bottom - at.top, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  } else if (!noPictureNote.empty()) {
    HFONT font = Font("Tahoma", 16, FW_NORMAL, true);
    RECT box = {kFrontMargin, kFrontMargin, kCardWidth - kFrontMargin, kCardHeight - kFrontMargin};
    DrawTextIn(dc, noPictureNote, box, font, kFaint, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    DeleteObject(font);
  }
  return canvas.Take();
}

HBITMAP DrawBack(const BackTexts& texts, HBITMAP stamp) {
  Canvas canvas(kCardWidth, kCardHeight);
  HDC dc = canvas.dc();
  DrawPaper(dc);

  HFONT heading = Font("Tahoma", 13, FW_BOLD);
  SelectObject(dc, heading);
  SetTextCharacterExtra(dc, 6);
  RECT headingBox = {0, kHeadingTop, kCardWidth, kHeadingTop + 20};
  DrawTextIn(dc, Text(IDS_NXPLAY_HEADING), headingBox, heading, kFaint, DT_SINGLELINE | DT_CENTER);
  SetTextCharacterExtra(dc, 0);
  DeleteObject(heading);

  Line(dc, kDividerX, kContentTop, kDividerX, kCardHeight - kBackMargin, kRule, 2);
  DrawMessage(dc, texts.message);

  const int stampLeft = kCardWidth - kBackMargin - kStampWidth;
  DrawStamp(dc, stamp, stampLeft, kStampTop);
  DrawPostmark(dc, stampLeft - 26, kStampTop + kStampHeight - 24, kCardWidth - kBackMargin / 2, texts.created);

  int top = kStampTop + kStampHeight + 40;
  top = DrawAddressField(dc, top, IDS_NXPLAY_TO, texts.recipients, 3);
  top = DrawAddressField(dc, top, IDS_NXPLAY_FROM, texts.sender, 1);
  DrawAddressField(dc, top, IDS_NXPLAY_SUBJECT, texts.subject, 2);
  GdiFlush();
  return canvas.Take();
}

}  // namespace nxplay
