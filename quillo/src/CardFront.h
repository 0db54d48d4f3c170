// cCardFront: the card's front, a modeless child dialog of the card window. It shows the media editor's picture
// (the chosen picture, or the video's still frame) on the card, five bitmap buttons with hints (choose a
// picture, turn over, send, preferences; the fifth kept hidden and disabled), its status line in a 16-pixel
// font and the card corner, whose click turns the card over. A video is shown in the system's video window
// with its play bar over the picture area, its still picture behind it.
#pragma once
#include "CardCorner.h"
#include "CardPanel.h"
#include "MediaEditor.h"
#include "VideoWindow.h"

class cCardFront : public cCardPanel {
 public:
  cCardFront(LPCSTR mediaPath, LPCSTR videoPath);
  BOOL CreateFront(cCardDialog* card);

  // Puts a picture or a video on the front; throws the media classes' exceptions and then keeps what it had.
  void SetMedia(LPCSTR path);
  cMediaEditor& Editor() { return m_editor; }
  // The media the front was created with (the command line's): the picture, or the video.
  const CString& GetInitialMedia() const { return m_initialMedia; }
  // The area the picture (or a video window) takes on screen.
  CRect PictureRect() const { return quillo::PictureArea(Layout().card); }

  void DrawCard(CDC* dc, const CRect& card, BOOL printing) override;
  // The video window over the picture area while the front shows a video (null otherwise).
  HWND GetVideoWindow() const { return m_video.GetSafeHwnd(); }
  // The picture at its own size, for the package's front picture.
  BOOL DrawMedia(CDC* dc) { return m_editor.DrawActualSize(dc, CPoint(0, 0)); }

 protected:
  std::vector<ButtonDef> Buttons() const override;
  BOOL OnInitDialog() override;
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  // Shows the video window when the editor holds a video, and closes it otherwise.
  void UpdateVideoWindow();

  CString m_initialMedia;
  cVideoWindow m_video;
  cMediaEditor m_editor;
  cCardCorner m_corner;
};
