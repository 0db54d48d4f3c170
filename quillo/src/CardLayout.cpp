// The geometry of the card's panels. The back is designed on the printed card (630 x 423) and scaled to the
// card it is drawn on.
#include "CardLayout.h"

namespace quillo {

namespace {

const int kDeskMargin = 12;
const int kButtonSize = 40;
const int kButtonGap = 8;
const int kStatusHeight = 22;
const int kPhotoBorder = 10;
const int kCornerSize = 38;

// A rectangle of the printed card's design, scaled to the card.
CRect Scaled(const CRect& card, int left, int top, int right, int bottom) {
  auto x = [&](int v) { return card.left + MulDiv(v, card.Width(), kPrintedCardWidth); };
  auto y = [&](int v) { return card.top + MulDiv(v, card.Height(), kPrintedCardHeight); };
  return CRect(x(left), y(top), x(right), y(bottom));
}

}  // namespace

CRect cPanelLayout::Button(int index) const {
  const int top = firstButton.y + index * (kButtonSize + kButtonGap);
  return CRect(firstButton.x, top, firstButton.x + kButtonSize, top + kButtonSize);
}

cPanelLayout LayoutPanel(const CRect& client) {
  cPanelLayout layout;
  const int buttonsLeft = client.right - kDeskMargin - kButtonSize;
  layout.card = CRect(client.left + kDeskMargin, client.top + kDeskMargin, buttonsLeft - kDeskMargin,
                      client.bottom - kStatusHeight - kDeskMargin / 2);
  layout.status = CRect(layout.card.left, layout.card.bottom + kCardShadowOffset, layout.card.right, client.bottom);
  layout.firstButton = CPoint(buttonsLeft, layout.card.top + kButtonGap);
  return layout;
}

CRect PictureArea(const CRect& card) {
  CRect area = card;
  area.DeflateRect(kPhotoBorder, kPhotoBorder);
  return area;
}

CRect CornerArea(const CRect& card) {
  return CRect(card.right - kCornerSize, card.bottom - kCornerSize, card.right, card.bottom);
}

BOOL CreateCardFont(CFont& font, LPCSTR face, int height, int weight, BOOL italic) {
  LOGFONTA description = {};
  description.lfHeight = -height;
  description.lfWeight = weight;
  description.lfItalic = BYTE(italic);
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfQuality = ANTIALIASED_QUALITY;
  lstrcpynA(description.lfFaceName, face, LF_FACESIZE);
  return font.CreateFontIndirect(&description);
}

cBackLayout LayoutBack(const CRect& card) {
  cBackLayout layout;
  layout.message = Scaled(card, 24, 24, 334, 400);
  layout.dividerTop = Scaled(card, 352, 36, 352, 36).TopLeft();
  layout.dividerBottom = Scaled(card, 352, 388, 352, 388).TopLeft();
  layout.stamp = Scaled(card, 522, 22, 606, 121);
  layout.postmark = Scaled(card, 418, 34, 522, 138);
  layout.lines[0] = Scaled(card, 372, 196, 606, 226);
  layout.lines[1] = Scaled(card, 372, 258, 606, 288);
  layout.lines[2] = Scaled(card, 372, 320, 606, 350);
  return layout;
}

}  // namespace quillo
