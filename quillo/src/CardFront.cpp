// cCardFront: the front's picture, its buttons and its corner.
#include "CardFront.h"

#include "CardDialog.h"
#include "quillo/QuilloIds.h"

BEGIN_MESSAGE_MAP(cCardFront, cCardPanel)
  ON_WM_LBUTTONDBLCLK()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

cCardFront::cCardFront(LPCSTR mediaPath, LPCSTR videoPath)
    : m_initialMedia(videoPath && *videoPath ? videoPath : (mediaPath ? mediaPath : "")) {}

BOOL cCardFront::CreateFront(cCardDialog* card) { return CreatePanel(IDD_CARD_FRONT, card); }

std::vector<cCardPanel::ButtonDef> cCardFront::Buttons() const {
  return {{ID_CARD_CHOOSE_PICTURE, IDB_BUTTON_PICTURE, TRUE},
          {ID_CARD_FLIP, IDB_BUTTON_FLIP, TRUE},
          {ID_CARD_SEND, IDB_BUTTON_SEND, TRUE},
          {ID_CARD_PREFERENCES, IDB_BUTTON_PREFERENCES, TRUE},
          {ID_CARD_FRONT_FIFTH, IDB_BUTTON_VIDEO, FALSE}};
}

BOOL cCardFront::OnInitDialog() {
  cCardPanel::OnInitDialog();
  m_corner.Create(this, quillo::CornerArea(Layout().card), IDC_CARD_CORNER, GetCard());
  // A picture the card was started with is already checked; one that fails now leaves the front empty,
  // with the reason shown.
  if (!m_initialMedia.IsEmpty()) {
    try {
      m_editor.Load(m_initialMedia);
    } catch (CException* e) {
      e->ReportError(MB_OK | MB_ICONEXCLAMATION);
      e->Delete();
    }
  }
  UpdateVideoWindow();
  return FALSE;
}

void cCardFront::SetMedia(LPCSTR path) {
  m_editor.Load(path);
  UpdateVideoWindow();
  Invalidate(FALSE);
}

void cCardFront::UpdateVideoWindow() {
  if (m_editor.IsVideo())
    m_video.Show(this, PictureRect(), m_editor.GetPictureSize(), m_editor.GetPath());
  else
    m_video.Close();
}

void cCardFront::OnDestroy() {
  m_video.Close();
  cCardPanel::OnDestroy();
}

void cCardFront::DrawCard(CDC* dc, const CRect& card, BOOL printing) {
  DrawPaper(dc, card);
  const CRect picture = quillo::PictureArea(card);
  dc->FillSolidRect(&picture, quillo::kPhotoMatColor);
  // On screen a video shows in its window, on the mat.
  if (!printing && m_video.GetSafeHwnd()) return;
  BOOL drawn = FALSE;
  try {
    drawn = m_editor.DrawFitted(dc, picture);
  } catch (CException* e) {
    e->Delete();  // the front shows its empty mat; the picture was readable when it was chosen
  }
  if (!drawn && !printing) {
    CString hint;
    hint.LoadString(IDS_FRONT_EMPTY);
    CFont* old = dc->SelectObject(&PanelFont());
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(quillo::kLabelColor);
    CRect text = picture;
    dc->DrawText(hint, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc->SelectObject(old);
  }
}

void cCardFront::OnLButtonDblClk(UINT, CPoint point) {
  if (PictureRect().PtInRect(point)) GetCard()->ChoosePicture();
}
