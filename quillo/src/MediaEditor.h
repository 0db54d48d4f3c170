// cMediaEditor: the card front's media. It holds the front's media object (a picture object, or a video
// object whose still frame, its first frame, is shown) and draws the picture, fitted into a box or at its own
// size. The front's video window and its playing belong to the video support of the card.
#pragma once
#include <afxwin.h>

#include <media/NXMedia.h>

#include <memory>

class cMediaEditor {
 public:
  // True when the file opens as a picture or a video the card can show.
  static BOOL CanOpen(LPCSTR path);
  // Loads the picture, or the video when the name says it is one (.avi, .ivs). Throws the media classes'
  // exceptions; on a failure the editor keeps what it held.
  void Load(LPCSTR path);
  BOOL IsEmpty() const { return !m_media; }
  BOOL IsVideo() const;
  CString GetPath() const;
  cMediaObject* GetMedia() const { return m_media.get(); }
  // The size of the picture shown (the still frame of a video); 0 x 0 when there is none.
  CSize GetPictureSize() const;
  // Draws the picture fitted into box and centred in it; false when there is no picture.
  BOOL DrawFitted(CDC* dc, const CRect& box);
  // Draws the picture at its own size with its top left at origin.
  BOOL DrawActualSize(CDC* dc, CPoint origin);

 private:
  cImageObject* Picture() const;

  std::unique_ptr<cMediaObject> m_media;
  std::unique_ptr<cImageObject> m_still;     // a video's first frame
  std::unique_ptr<cImageObject> m_display;   // the picture resampled for the last box it was drawn into
  CSize m_displaySize;
};
