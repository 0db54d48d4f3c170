// cCardPanel: the desk, the card's frame, the buttons, the hints and the status line of either side.
#include "CardPanel.h"

#include "CardDialog.h"
#include "quillo/QuilloIds.h"

namespace {

const char kPanelFontFace[] = "Arial";
const int kStatusIndent = 2;

}  // namespace

BEGIN_MESSAGE_MAP(cCardPanel, CDialog)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_MESSAGE(WM_CARD_STATUS, OnStatus)
END_MESSAGE_MAP()

BOOL cCardPanel::CreatePanel(UINT templateId, cCardDialog* card) {
  m_pCard = card;
  if (!Create(templateId, card)) return FALSE;
  MoveWindow(card->CardClientRect(), FALSE);
  return TRUE;
}

BOOL cCardPanel::OnInitDialog() {
  // No data exchange here: the sides make their controls first and exchange their data themselves.
  m_layout = quillo::LayoutPanel(m_pCard->CardClientRect());
  quillo::CreateCardFont(m_font, kPanelFontFace);
  m_hints.Create(this);
  int index = 0;
  for (const ButtonDef& def : Buttons()) {
    std::unique_ptr<cBitmapButton> button(new cBitmapButton);
    const CRect place = m_layout.Button(def.shown ? index++ : index);
    if (!button->Create(this, place, def.command, def.bitmap)) continue;
    if (def.shown) {
      CString hint;
      if (hint.LoadString(def.command)) m_hints.AddHint(*button, hint);
    } else {
      button->ShowWindow(SW_HIDE);
      button->EnableWindow(FALSE);
    }
    m_buttons.push_back(std::move(button));
  }
  return FALSE;  // the focus stays where the card window puts it
}

void cCardPanel::OnOK() {}
void cCardPanel::OnCancel() {}

BOOL cCardPanel::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  if (CDialog::OnCmdMsg(id, code, extra, handlerInfo)) return TRUE;
  return m_pCard && m_pCard->OnCmdMsg(id, code, extra, handlerInfo);
}

CWnd* cCardPanel::GetButton(UINT command) {
  for (auto& button : m_buttons)
    if (UINT(button->GetDlgCtrlID()) == command) return button.get();
  return nullptr;
}

void cCardPanel::UpdateButtons(CCmdTarget* target) {
  for (auto& button : m_buttons) {
    if (!button->IsWindowVisible()) continue;
    CCmdUI state;
    state.m_nID = UINT(button->GetDlgCtrlID());
    state.m_pOther = button.get();
    state.DoUpdate(target, TRUE);
  }
}

void cCardPanel::SetStatus(LPCSTR text) {
  m_status = text ? text : "";
  if (m_hWnd) InvalidateRect(&m_layout.status, FALSE);
}

LRESULT cCardPanel::OnStatus(WPARAM, LPARAM text) {
  SetStatus(reinterpret_cast<LPCSTR>(text));
  return 0;
}

BOOL cCardPanel::OnEraseBkgnd(CDC*) { return TRUE; }

void cCardPanel::DrawPaper(CDC* dc, const CRect& card) {
  dc->FillSolidRect(&card, quillo::kCardColor);
  CBrush edge(quillo::kCardEdgeColor);
  dc->FrameRect(&card, &edge);
}

void cCardPanel::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  // Painted off screen first, so that turning the card over or a new picture never flickers.
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap canvas;
  canvas.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
  CBitmap* old = memory.SelectObject(&canvas);
  PaintPanel(&memory);
  dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}

void cCardPanel::PaintPanel(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, quillo::kDeskColor);
  CRect shadow = m_layout.card;
  shadow.OffsetRect(quillo::kCardShadowOffset, quillo::kCardShadowOffset);
  dc->FillSolidRect(&shadow, quillo::kDeskShadowColor);
  DrawCard(dc, m_layout.card, FALSE);
  if (!m_status.IsEmpty()) {
    CFont* oldFont = dc->SelectObject(&m_font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(quillo::kStatusColor);
    CRect text = m_layout.status;
    text.left += kStatusIndent;
    dc->DrawText(m_status, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    dc->SelectObject(oldFont);
  }
}
