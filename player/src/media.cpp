// Sound through PlaySound from memory on a worker thread; video through MCIWnd.
#include "media.h"

#include <vfw.h>

#include <cstring>

namespace nxplay {

namespace {

const DWORD kStopWaitMs = 3000;
const size_t kWaveHeaderSize = 12;

bool LooksLikeWave(const std::vector<uint8_t>& wav) {
  return wav.size() > kWaveHeaderSize && std::memcmp(wav.data(), "RIFF", 4) == 0 &&
         std::memcmp(wav.data() + 8, "WAVE", 4) == 0;
}

struct PlayRequest {
  HWND notify;
  const std::vector<uint8_t>* wav;
  LPARAM play;
};

}  // namespace

bool SoundPlayer::Start(HWND notify) {
  Stop();
  if (!LooksLikeWave(wav_)) return false;
  PlayRequest* request = new PlayRequest{notify, &wav_, ++play_};
  thread_ = CreateThread(NULL, 0, Run, request, 0, NULL);
  if (!thread_) {
    delete request;
    return false;
  }
  return true;
}

DWORD WINAPI SoundPlayer::Run(void* param) {
  PlayRequest* request = static_cast<PlayRequest*>(param);
  const BOOL played = PlaySoundA(reinterpret_cast<LPCSTR>(request->wav->data()), NULL,
                                 SND_MEMORY | SND_SYNC | SND_NODEFAULT);
  PostMessageA(request->notify, WM_NXPLAY_SOUND_DONE, played, request->play);
  delete request;
  return 0;
}

void SoundPlayer::Stop() {
  if (!thread_) return;
  ++play_;  // whatever the running play reports is stale now
  PlaySoundA(NULL, NULL, 0);
  WaitForSingleObject(thread_, kStopWaitMs);
  CloseHandle(thread_);
  thread_ = NULL;
}

bool VideoPlayer::Open(HWND parent, const std::string& path) {
  Close();
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | MCIWNDF_NOPLAYBAR | MCIWNDF_NOMENU | MCIWNDF_NOERRORDLG |
                      MCIWNDF_NOTIFYMODE | MCIWNDF_NOAUTOSIZEWINDOW;
  window_ = MCIWndCreateA(parent, GetModuleHandleA(NULL), style, path.c_str());
  if (window_ && MCIWndGetLength(window_) <= 0) Close();
  return window_ != NULL;
}

SIZE VideoPlayer::NaturalSize() const {
  RECT source = {};
  SIZE size = {0, 0};
  if (window_ && MCIWndGetSource(window_, &source) == 0) {
    size.cx = source.right - source.left;
    size.cy = source.bottom - source.top;
  }
  return size;
}

void VideoPlayer::Place(const RECT& rect) {
  if (!window_) return;
  MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  RECT dest = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
  MCIWndPutDest(window_, &dest);
}

bool VideoPlayer::Play() {
  if (!window_) return false;
  MCIWndHome(window_);
  Show(true);
  return MCIWndPlay(window_) == 0;
}

void VideoPlayer::Stop() {
  if (window_) MCIWndStop(window_);
}

bool VideoPlayer::playing() const { return window_ && MCIWndGetMode(window_, NULL, 0) == MCI_MODE_PLAY; }

void VideoPlayer::Show(bool show) {
  if (window_) ShowWindow(window_, show ? SW_SHOWNA : SW_HIDE);
}

void VideoPlayer::Close() {
  if (!window_) return;
  MCIWndStop(window_);
  MCIWndClose(window_);
  MCIWndDestroy(window_);
  window_ = NULL;
}

}  // namespace nxplay
