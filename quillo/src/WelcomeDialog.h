// cWelcomeDialog: the welcome pages, offered the first time the program runs. Each page is the picture file
// "welcome<n>.bmp" beside the program, shown at its own size in the middle of the dialog with the page's
// title and text from the resource library; the Next and Close buttons stand where the resource library's raw
// data places them. Next shows the next page, and closes the dialog when there is none.
#pragma once
#include <afxwin.h>

class cWelcomeDialog : public CDialog {
 public:
  explicit cWelcomeDialog(CWnd* parent = NULL);
  int GetPage() const { return m_page; }
  // The picture file of a page, in the program's folder.
  static CString PagePicture(int page);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnNext();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL LoadPage(int page);
  void PlaceButtons();

  int m_page;
  CBitmap m_picture;
  CSize m_size;
  CFont m_titleFont, m_textFont;
};
