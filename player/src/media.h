// The card's sound and video: the sound played from memory on a worker thread, so that the window hears
// when it has ended; the video played from a temporary copy in the system's video window (MCIWnd).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace nxplay {

// Posted to the notify window when a sound ends: wParam TRUE when it played, lParam the play's number.
const UINT WM_NXPLAY_SOUND_DONE = WM_APP + 1;

class SoundPlayer {
 public:
  explicit SoundPlayer(const std::vector<uint8_t>& wav) : wav_(wav) {}
  ~SoundPlayer() { Stop(); }
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  bool present() const { return !wav_.empty(); }
  // Plays the sound and tells notify when it ends. False when the bytes are no wave file or the thread
  // cannot start; stops a sound already playing.
  bool Start(HWND notify);
  void Stop();
  // The number of the latest play; notifications of earlier plays are stale.
  LPARAM current() const { return play_; }

 private:
  static DWORD WINAPI Run(void* self);
  const std::vector<uint8_t>& wav_;
  HANDLE thread_ = NULL;
  LPARAM play_ = 0;
};

class VideoPlayer {
 public:
  VideoPlayer() = default;
  ~VideoPlayer() { Close(); }
  VideoPlayer(const VideoPlayer&) = delete;
  VideoPlayer& operator=(const VideoPlayer&) = delete;

  // Opens the file in a hidden video window, a child of parent that tells it of mode changes. False when
  // the system cannot open it.
  bool Open(HWND parent, const std::string& path);
  bool open() const { return window_ != NULL; }
  SIZE NaturalSize() const;
  void Place(const RECT& rect);
  bool Play();
  void Stop();
  bool playing() const;
  void Show(bool show);
  HWND window() const { return window_; }
  void Close();

 private:
  HWND window_ = NULL;
};

}  // namespace nxplay
