// cCardCorner: the card's turned-up corner, a child window of the registered class "NexlumenPostcardCorner"
// with a cursor of its own, drawn by stretching a bitmap over its client area. A click posts the private
// message 18176 to the card window, which turns the card over.
#pragma once
#include <afxwin.h>

class cCardCorner : public CWnd {
 public:
  static constexpr char kClassName[] = "NexlumenPostcardCorner";
  // Registers the class once per process; false when it cannot be registered.
  static BOOL RegisterCornerClass();
  BOOL Create(CWnd* parent, const CRect& rect, UINT id, CWnd* card);

 protected:
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  CBitmap m_picture;
  CWnd* m_pCard = nullptr;
};
