// The player's main window and its card face window.
#include "player_window.h"

#include <shellapi.h>
#include <vfw.h>

#include <cmath>
#include <cstdio>

#include "faces.h"
#include "nxplay/viewer.h"
#include "picture.h"
#include "player_ids.h"
#include "texts.h"

namespace nxplay {

namespace {

// Layout of the client area: the card on the desk, the bar of controls below it.
const int kOuterMargin = 28;
const int kShadowSize = 10;  // the face window reaches this far beyond the card for its shadow
const int kBarGap = 18;
const int kButtonHeight = 30;
const int kBottomMargin = 20;
const int kButtonGap = 8;
const int kWideButton = 96, kCloseButton = 76;
const int kLinkHeight = 20;  // the link sits in the margin above the card's right edge
const int kLinkMaxWidth = 320;
const int kClientWidth = kOuterMargin + kCardWidth + kOuterMargin;
const int kBarTop = kOuterMargin + kCardHeight + kBarGap;
const int kClientHeight = kBarTop + kButtonHeight + kBottomMargin;

const UINT_PTR kFlipTimer = 1;
const UINT kFlipFrameMs = 15;
const int kFlipSteps = 16;
const int kShadowLayers = 6;
const BYTE kShadowAlpha = 12;

const COLORREF kDeskColour = RGB(110, 74, 44);  // when the card brings no desk
const COLORREF kStatusColour = RGB(250, 240, 220);
const COLORREF kLinkColour = RGB(255, 226, 140);
const COLORREF kTextShadow = RGB(40, 24, 12);
const COLORREF kButtonFace = RGB(246, 238, 220);
const COLORREF kButtonPressed = RGB(224, 210, 182);
const COLORREF kButtonBorder = RGB(72, 48, 28);
const COLORREF kButtonText = RGB(59, 42, 26);
const COLORREF kButtonDisabled = RGB(170, 160, 145);

HFONT UiFont(int pixels, bool underline) {
  return CreateFontA(-pixels, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma");
}

PlayerWindow* From(HWND wnd) { return reinterpret_cast<PlayerWindow*>(GetWindowLongPtrA(wnd, GWLP_USERDATA)); }

std::string WindowText(HWND wnd) {
  char text[256] = "";
  GetWindowTextA(wnd, text, sizeof text);
  return text;
}

// Whether the control is meant to show, even while its window is still hidden.
bool Shown(HWND wnd) { return (GetWindowLongA(wnd, GWL_STYLE) & WS_VISIBLE) != 0; }

bool HasPart(const cardpackage::PackageTrailer& t, cardpackage::PartIndex part) {
  return GetPart(t, part).length > 0;
}

}  // namespace

PlayerWindow::PlayerWindow(const ReceivedCard& card) : card_(card), sound_(card.sound) {}

PlayerWindow::~PlayerWindow() {
  sound_.Stop();
  video_.Close();
  DeleteVideoCopy(videoCopy_);
  for (HGDIOBJ o : {HGDIOBJ(picture_), HGDIOBJ(front_), HGDIOBJ(back_), HGDIOBJ(desk_), HGDIOBJ(stamp_),
                    HGDIOBJ(shade_), HGDIOBJ(deskBrush_), HGDIOBJ(uiFont_), HGDIOBJ(linkFont_)})
    if (o) DeleteObject(o);
}

bool PlayerWindow::Create(int show) {
  HINSTANCE instance = GetModuleHandleA(NULL);
  WNDCLASSA main = {};
  main.lpfnWndProc = Proc;
  main.hInstance = instance;
  main.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_NXPLAY));
  main.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  main.lpszClassName = NXPLAY_MAIN_CLASS;
  WNDCLASSA face = {};
  face.style = CS_DBLCLKS;
  face.lpfnWndProc = Proc;
  face.hInstance = instance;
  face.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32649));  // IDC_HAND: the card can be turned
  face.lpszClassName = NXPLAY_FACE_CLASS;
  if (!RegisterClassA(&main) || !RegisterClassA(&face)) return false;

  // The faces are drawn once; the window only shows and turns them.
  const cardpackage::PackageTrailer& t = card_.trailer;
  desk_ = SupportBitmap(card_.desk);
  stamp_ = SupportBitmap(card_.stamp);
  deskBrush_ = desk_ ? CreatePatternBrush(desk_) : CreateSolidBrush(kDeskColour);
  picture_ = DecodeFittedPicture(card_.picture, kCardWidth - 2 * kFrontMargin, kCardHeight - 2 * kFrontMargin);
  const bool hasVideo = HasPart(t, cardpackage::kVideoPart);
  const std::string note = picture_ || hasVideo ? std::string()
                           : card_.picture.empty() ? Text(IDS_NXPLAY_NO_PICTURE)
                                                   : Text(IDS_NXPLAY_BAD_PICTURE);
  front_ = DrawFront(picture_, note);
  back_ = DrawBack(BackTexts{t.messageText, t.senderText, t.recipientText, t.subjectText, t.created}, stamp_);
  BITMAPINFO black = {};
  black.bmiHeader.biSize = sizeof black.bmiHeader;
  black.bmiHeader.biWidth = black.bmiHeader.biHeight = 1;
  black.bmiHeader.biPlanes = 1;
  black.bmiHeader.biBitCount = 32;
  void* bits = NULL;
  shade_ = CreateDIBSection(NULL, &black, DIB_RGB_COLORS, &bits, NULL, 0);
  uiFont_ = UiFont(13, false);
  linkFont_ = UiFont(13, true);
  linkTarget_ = LinkTarget(t.linkAddress);

  char caption[300];
  if (t.senderText.empty())
    lstrcpynA(caption, Text(IDS_NXPLAY_CAPTION).c_str(), sizeof caption);
  else
    std::snprintf(caption, sizeof caption, Text(IDS_NXPLAY_CAPTION_FROM).c_str(), t.senderText.c_str());
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRect(&frame, style, FALSE);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  main_ = CreateWindowExA(WS_EX_CONTROLPARENT, NXPLAY_MAIN_CLASS, caption, style,
                          work.left + std::max(0L, (work.right - work.left - width) / 2),
                          work.top + std::max(0L, (work.bottom - work.top - height) / 2), width, height, NULL, NULL,
                          instance, this);
  if (!main_) return false;
  CreateControls();
  Layout();
  ShowWindow(main_, show);
  UpdateWindow(main_);
  SetFocus(turn_);
  // A long video takes a moment to copy out: the card shows first.
  OpenVideo();
  if (video_.open()) PlayVideo();
  return true;
}

void PlayerWindow::CreateControls() {
  HINSTANCE instance = GetModuleHandleA(NULL);
  face_ = CreateWindowExA(0, NXPLAY_FACE_CLASS, Text(IDS_NXPLAY_FACE_FRONT).c_str(),
                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, kOuterMargin, kOuterMargin,
                          kCardWidth + kShadowSize, kCardHeight + kShadowSize, main_, HMENU(IDC_NXPLAY_FACE), instance,
                          this);
  auto button = [&](UINT text, int id) {
    HWND b = CreateWindowExA(0, "BUTTON", Text(text).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0,
                             0, 0, main_, HMENU(INT_PTR(id)), instance, NULL);
    SendMessageA(b, WM_SETFONT, WPARAM(uiFont_), FALSE);
    return b;
  };
  turn_ = button(IDS_NXPLAY_TURN_OVER, IDC_NXPLAY_TURN);
  videoButton_ = button(IDS_NXPLAY_PLAY_VIDEO, IDC_NXPLAY_VIDEO);
  soundButton_ = button(IDS_NXPLAY_PLAY_SOUND, IDC_NXPLAY_SOUND);
  close_ = button(IDS_NXPLAY_CLOSE, IDC_NXPLAY_CLOSE);
  status_ = CreateWindowExA(0, "STATIC", Text(IDS_NXPLAY_HINT_FRONT).c_str(), WS_CHILD | WS_VISIBLE | SS_OWNERDRAW,
                            0, 0, 0, 0, main_, HMENU(IDC_NXPLAY_STATUS), instance, NULL);
  const cardpackage::PackageTrailer& t = card_.trailer;
  const std::string label = t.linkLabel.empty() ? t.linkAddress : t.linkLabel;
  link_ = CreateWindowExA(0, "STATIC", label.c_str(), WS_CHILD | SS_OWNERDRAW | SS_NOTIFY, 0, 0, 0, 0, main_,
                          HMENU(IDC_NXPLAY_LINK), instance, NULL);
  if (!linkTarget_.empty()) ShowWindow(link_, SW_SHOWNA);
  ShowWindow(videoButton_, HasPart(t, cardpackage::kVideoPart) ? SW_SHOWNA : SW_HIDE);
  ShowWindow(soundButton_, sound_.present() ? SW_SHOWNA : SW_HIDE);
}

void PlayerWindow::Layout() {
  int right = kOuterMargin + kCardWidth;
  for (HWND b : {close_, soundButton_, videoButton_, turn_}) {
    if (!Shown(b)) continue;
    const int width = b == close_ ? kCloseButton : kWideButton;
    MoveWindow(b, right - width, kBarTop, width, kButtonHeight, FALSE);
    right -= width + kButtonGap;
  }
  right -= kButtonGap;
  if (Shown(link_)) {
    HDC dc = GetDC(link_);
    HGDIOBJ old = SelectObject(dc, linkFont_);
    const std::string label = WindowText(link_);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, label.c_str(), int(label.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(link_, dc);
    const int width = std::min<int>(kLinkMaxWidth, size.cx + 4);
    MoveWindow(link_, kOuterMargin + kCardWidth - width, (kOuterMargin - kLinkHeight) / 2, width, kLinkHeight, FALSE);
  }
  MoveWindow(status_, kOuterMargin, kBarTop, std::max(0, right - kOuterMargin), kButtonHeight, FALSE);
}

void PlayerWindow::OpenVideo() {
  if (!HasPart(card_.trailer, cardpackage::kVideoPart)) return;
  videoCopy_ = WriteVideoCopy(card_);
  if (videoCopy_.empty() || !video_.Open(face_, videoCopy_)) {
    EnableWindow(videoButton_, FALSE);
    SetStatus(IDS_NXPLAY_VIDEO_FAILED);
    return;
  }
  // The video plays where the front shows its still frame; a card without a picture shows the video itself.
  video_.Place(FrontPictureRect(picture_ ? BitmapSize(picture_) : video_.NaturalSize()));
  video_.Show(!picture_);
}

// One procedure for both classes: the main window is created first, the face window inside it.
LRESULT CALLBACK PlayerWindow::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    PlayerWindow* self = static_cast<PlayerWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(wnd, GWLP_USERDATA, LONG_PTR(self));
    (self->main_ ? self->face_ : self->main_) = wnd;
  }
  PlayerWindow* self = From(wnd);
  if (!self) return DefWindowProcA(wnd, msg, wp, lp);
  return wnd == self->face_ ? self->OnFace(msg, wp, lp) : self->OnMain(msg, wp, lp);
}

LRESULT PlayerWindow::OnMain(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(main_, &client);
      SetBrushOrgEx(HDC(wp), 0, 0, NULL);
      FillRect(HDC(wp), &client, deskBrush_);
      return 1;
    }
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (item.CtlType == ODT_BUTTON)
        DrawButton(item);
      else
        DrawLabel(item, item.hwndItem == link_);
      return TRUE;
    }
    case WM_SETCURSOR:
      if (HWND(wp) == link_) {
        SetCursor(LoadCursorA(NULL, MAKEINTRESOURCEA(32649)));
        return TRUE;
      }
      break;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDC_NXPLAY_TURN: Flip(); return 0;
        case IDC_NXPLAY_VIDEO: video_.playing() ? StopVideo() : PlayVideo(); return 0;
        case IDC_NXPLAY_SOUND: soundPlaying_ ? StopSound() : PlaySound(); return 0;
        case IDC_NXPLAY_LINK:
          if (HIWORD(wp) == STN_CLICKED && !linkTarget_.empty())
            ShellExecuteA(main_, "open", linkTarget_.c_str(), NULL, NULL, SW_SHOWNORMAL);
          return 0;
        case IDC_NXPLAY_CLOSE: DestroyWindow(main_); return 0;
      }
      break;
    case WM_NXPLAY_SOUND_DONE:
      OnSoundDone(BOOL(wp), lp);
      return 0;
    case WM_DESTROY:
      sound_.Stop();
      video_.Close();
      PostQuitMessage(NXPLAY_EXIT_SHOWN);
      return 0;
  }
  return DefWindowProcA(main_, msg, wp, lp);
}

LRESULT PlayerWindow::OnFace(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(face_, &ps);
      PaintFace(dc);
      EndPaint(face_, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      pressed_ = true;
      return 0;
    case WM_LBUTTONUP:
      if (pressed_) Flip();
      pressed_ = false;
      return 0;
    case WM_TIMER:
      if (wp == kFlipTimer) {
        ++flipStep_;
        if (flipStep_ == kFlipSteps / 2) showingBack_ = !showingBack_;
        if (flipStep_ >= kFlipSteps) FinishFlip();
        InvalidateRect(face_, NULL, FALSE);
      }
      return 0;
    case MCIWNDM_NOTIFYMODE:
      OnVideoMode(LONG(lp));
      return 0;
  }
  return DefWindowProcA(face_, msg, wp, lp);
}

// The desk behind a child, the brush aligned with the main window's own desk.
void PlayerWindow::PaintDeskBehind(HDC dc, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(NULL, main_, reinterpret_cast<POINT*>(&r), 2);
  RECT client = {0, 0, r.right - r.left, r.bottom - r.top};
  SetBrushOrgEx(dc, -r.left, -r.top, NULL);
  FillRect(dc, &client, deskBrush_);
}

void PlayerWindow::PaintFace(HDC target) {
  RECT client;
  GetClientRect(face_, &client);
  HDC dc = CreateCompatibleDC(target);
  HBITMAP buffer = CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ oldBuffer = SelectObject(dc, buffer);
  PaintDeskBehind(dc, face_);

  // While turning, the card narrows to its edge and widens again showing the other face.
  const double scale = flipStep_ < 0 ? 1.0 : std::fabs(std::cos(3.14159265358979 * flipStep_ / kFlipSteps));
  const int width = std::max(1, int(kCardWidth * scale + 0.5));
  const int left = (kCardWidth - width) / 2;

  HDC shadeDc = CreateCompatibleDC(dc);
  HGDIOBJ oldShade = SelectObject(shadeDc, shade_);
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, kShadowAlpha, 0};
  for (int i = 0; i < kShadowLayers; ++i)
    AlphaBlend(dc, left + 2 + i, 3 + i, width, kCardHeight, shadeDc, 0, 0, 1, 1, blend);
  SelectObject(shadeDc, oldShade);
  DeleteDC(shadeDc);

  HDC faceDc = CreateCompatibleDC(dc);
  HGDIOBJ oldFace = SelectObject(faceDc, showingBack_ ? back_ : front_);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, left, 0, width, kCardHeight, faceDc, 0, 0, kCardWidth, kCardHeight, SRCCOPY);
  SelectObject(faceDc, oldFace);
  DeleteDC(faceDc);

  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBuffer);
  DeleteObject(buffer);
  DeleteDC(dc);
}

void PlayerWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  PaintDeskBehind(dc, item.hwndItem);
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  HBRUSH fill = CreateSolidBrush(pressed ? kButtonPressed : kButtonFace);
  HPEN border = CreatePen(PS_SOLID, 1, kButtonBorder);
  HGDIOBJ oldBrush = SelectObject(dc, fill);
  HGDIOBJ oldPen = SelectObject(dc, border);
  RoundRect(dc, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom, 10, 10);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(border);
  DeleteObject(fill);
  RECT text = item.rcItem;
  if (pressed) OffsetRect(&text, 1, 1);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? kButtonDisabled : kButtonText);
  HGDIOBJ oldFont = SelectObject(dc, uiFont_);
  const std::string label = WindowText(item.hwndItem);
  DrawTextA(dc, label.c_str(), int(label.size()), &text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  SelectObject(dc, oldFont);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

void PlayerWindow::DrawLabel(const DRAWITEMSTRUCT& item, bool link) {
  HDC dc = item.hDC;
  PaintDeskBehind(dc, item.hwndItem);
  const std::string text = WindowText(item.hwndItem);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, link ? linkFont_ : uiFont_);
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | (link ? DT_RIGHT : DT_LEFT);
  RECT shadow = item.rcItem;
  OffsetRect(&shadow, 1, 1);
  SetTextColor(dc, kTextShadow);
  DrawTextA(dc, text.c_str(), int(text.size()), &shadow, format);
  RECT r = item.rcItem;
  SetTextColor(dc, link ? kLinkColour : kStatusColour);
  DrawTextA(dc, text.c_str(), int(text.size()), &r, format);
  SelectObject(dc, oldFont);
}

void PlayerWindow::Flip() {
  if (flipStep_ >= 0) return;
  if (video_.playing()) StopVideo();
  video_.Show(false);
  flipStep_ = 0;
  SetTimer(face_, kFlipTimer, kFlipFrameMs, NULL);
}

void PlayerWindow::FinishFlip() {
  KillTimer(face_, kFlipTimer);
  flipStep_ = -1;
  SetWindowTextA(face_, Text(showingBack_ ? IDS_NXPLAY_FACE_BACK : IDS_NXPLAY_FACE_FRONT).c_str());
  SetStatus(showingBack_ ? IDS_NXPLAY_HINT_BACK : IDS_NXPLAY_HINT_FRONT);
  if (!showingBack_ && video_.open() && !picture_) video_.Show(true);
  if (videoAfterFlip_) {
    videoAfterFlip_ = false;
    PlayVideo();
  }
  // The recorded sound belongs with the message: it plays the first time the back is shown.
  if (showingBack_ && !backSeen_) {
    backSeen_ = true;
    if (sound_.present()) PlaySound();
  }
}

void PlayerWindow::PlayVideo() {
  if (!video_.open()) return;
  StopSound();
  if (showingBack_ || flipStep_ >= 0) {
    // The video plays on the front: it starts once the card has turned.
    videoAfterFlip_ = true;
    Flip();
    return;
  }
  if (video_.Play()) {
    SetStatus(IDS_NXPLAY_VIDEO_PLAYING);
  } else {
    video_.Show(!picture_);
    SetStatus(IDS_NXPLAY_VIDEO_FAILED);
  }
  UpdateButtons();
}

void PlayerWindow::StopVideo() {
  video_.Stop();
  OnVideoMode(MCI_MODE_STOP);
}

void PlayerWindow::OnVideoMode(LONG mode) {
  if (mode != MCI_MODE_PLAY) {
    video_.Show(!picture_ && !showingBack_ && video_.open());
    if (WindowText(status_) == Text(IDS_NXPLAY_VIDEO_PLAYING))
      SetStatus(showingBack_ ? IDS_NXPLAY_HINT_BACK : IDS_NXPLAY_HINT_FRONT);
  }
  UpdateButtons();
}

void PlayerWindow::PlaySound() {
  if (video_.playing()) StopVideo();
  if (sound_.Start(main_)) {
    soundPlaying_ = true;
    SetWindowTextA(soundButton_, Text(IDS_NXPLAY_STOP_SOUND).c_str());
    SetStatus(IDS_NXPLAY_SOUND_PLAYING);
  } else {
    SetStatus(IDS_NXPLAY_SOUND_FAILED);
  }
  InvalidateRect(soundButton_, NULL, FALSE);
}

void PlayerWindow::StopSound() {
  if (!soundPlaying_) return;
  soundPlaying_ = false;
  sound_.Stop();
  SetWindowTextA(soundButton_, Text(IDS_NXPLAY_PLAY_SOUND).c_str());
  SetStatus(IDS_NXPLAY_SOUND_STOPPED);
  InvalidateRect(soundButton_, NULL, FALSE);
}

void PlayerWindow::OnSoundDone(BOOL played, LPARAM play) {
  if (play != sound_.current()) return;  // a play that was stopped or replaced
  soundPlaying_ = false;
  SetWindowTextA(soundButton_, Text(IDS_NXPLAY_PLAY_SOUND).c_str());
  SetStatus(played ? IDS_NXPLAY_SOUND_PLAYED : IDS_NXPLAY_SOUND_FAILED);
  InvalidateRect(soundButton_, NULL, FALSE);
}

void PlayerWindow::SetStatus(UINT id) {
  SetWindowTextA(status_, Text(id).c_str());
  InvalidateRect(status_, NULL, FALSE);
}

void PlayerWindow::UpdateButtons() {
  SetWindowTextA(videoButton_, Text(video_.playing() ? IDS_NXPLAY_STOP_VIDEO : IDS_NXPLAY_PLAY_VIDEO).c_str());
  InvalidateRect(videoButton_, NULL, FALSE);
}

}  // namespace nxplay
