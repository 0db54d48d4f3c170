// The player's window: the card on a desk, turned over by a click with a short animation, with buttons for
// turning, video and sound, the sender's link, a status line and Close.
#pragma once

#include <windows.h>

#include <string>

#include "card_file.h"
#include "media.h"

namespace nxplay {

class PlayerWindow {
 public:
  explicit PlayerWindow(const ReceivedCard& card);
  ~PlayerWindow();
  PlayerWindow(const PlayerWindow&) = delete;
  PlayerWindow& operator=(const PlayerWindow&) = delete;

  // Registers the classes, builds the faces and shows the window; false when the window cannot be made.
  bool Create(int show);
  HWND window() const { return main_; }

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMain(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnFace(UINT msg, WPARAM wp, LPARAM lp);

  void CreateControls();
  void Layout();
  void OpenVideo();
  void PaintFace(HDC dc);
  void PaintDeskBehind(HDC dc, HWND child);
  void DrawButton(const DRAWITEMSTRUCT& item);
  void DrawLabel(const DRAWITEMSTRUCT& item, bool link);
  void Flip();
  void FinishFlip();
  void PlayVideo();
  void StopVideo();
  void OnVideoMode(LONG mode);
  void PlaySound();
  void StopSound();
  void OnSoundDone(BOOL played, LPARAM play);
  void SetStatus(UINT id);
  void UpdateButtons();

  const ReceivedCard& card_;
  HWND main_ = NULL, face_ = NULL;
  HWND turn_ = NULL, videoButton_ = NULL, soundButton_ = NULL, link_ = NULL, status_ = NULL, close_ = NULL;
  HBITMAP picture_ = NULL, front_ = NULL, back_ = NULL, desk_ = NULL, stamp_ = NULL, shade_ = NULL;
  HBRUSH deskBrush_ = NULL;
  HFONT uiFont_ = NULL, linkFont_ = NULL;
  std::string linkTarget_;
  bool showingBack_ = false, backSeen_ = false, pressed_ = false;
  bool soundPlaying_ = false, videoAfterFlip_ = false;
  int flipStep_ = -1;  // -1 when not turning
  SoundPlayer sound_;
  VideoPlayer video_;
  std::string videoCopy_;
};

}  // namespace nxplay
