// The postcard program's command line: the switch "NoSplash" (in any case) suppresses the splash screen, the
// switch "S" makes the next argument the sound file; otherwise the first file argument is the card's media (a
// picture or a video) and the last one, when there are two or more, its video. A last argument that is no
// video (another program's hand-off passes the picture's own file there) is left out.
#pragma once
#include <afxwin.h>

class cQuilloCommandLine : public CCommandLineInfo {
 public:
  void ParseParam(LPCSTR param, BOOL flag, BOOL last) override;

  // The card's media, its video and its sound as the command line gives them: a single video argument is the
  // card's video with no picture (mediaPath empty).
  CString MediaPath() const;
  CString VideoPath() const;
  const CString& SoundPath() const { return m_sound; }

 private:
  CStringArray m_files;
  CString m_sound;
  BOOL m_bSoundNext = FALSE;
};
