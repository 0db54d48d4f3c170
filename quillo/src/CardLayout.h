// The card's look: colours, font height and the geometry of the panels (desk, card, button column, status
// line) and of the back's regions. Shared by the panels on screen and by the card picture (printing mode).
#pragma once
#include <afxwin.h>

namespace quillo {

constexpr COLORREF kDeskColor = RGB(58, 84, 102);
constexpr COLORREF kDeskShadowColor = RGB(38, 56, 69);
constexpr COLORREF kCardColor = RGB(252, 249, 241);
constexpr COLORREF kCardEdgeColor = RGB(212, 202, 182);
constexpr COLORREF kPhotoMatColor = RGB(236, 231, 220);  // behind a picture that does not fill the front
constexpr COLORREF kInkColor = RGB(34, 44, 74);
constexpr COLORREF kLabelColor = RGB(128, 114, 92);
constexpr COLORREF kRuleColor = RGB(205, 193, 170);
constexpr COLORREF kPostmarkColor = RGB(158, 46, 62);
constexpr COLORREF kStatusColor = RGB(226, 234, 240);
constexpr COLORREF kButtonColor = RGB(236, 241, 245);
constexpr COLORREF kButtonHotColor = RGB(255, 255, 255);
constexpr COLORREF kButtonPressedColor = RGB(196, 210, 222);
constexpr COLORREF kButtonEdgeColor = RGB(30, 46, 58);
constexpr COLORREF kButtonKeyColor = RGB(255, 0, 255);  // transparent in the button pictures

constexpr int kFontHeight = 16;  // both panels' fonts, in pixels
constexpr int kCardShadowOffset = 4;

// The card picture (the card-picture delivery format): front above back, each half this size.
constexpr int kPrintedCardWidth = 630;
constexpr int kPrintedCardHeight = 423;

// A panel's parts: the card on the desk, the column of buttons beside it, the status line below it.
struct cPanelLayout {
  CRect card;
  CRect status;
  CRect Button(int index) const;
  CPoint firstButton;
};
cPanelLayout LayoutPanel(const CRect& client);

// The front's picture area inside its card, and the card corner at its bottom right.
CRect PictureArea(const CRect& card);
CRect CornerArea(const CRect& card);

// The back's regions inside its card.
struct cBackLayout {
  CRect message;
  CPoint dividerTop, dividerBottom;
  CRect stamp;
  CRect postmark;   // the postmark's circle
  CRect lines[3];   // the "to", "from" and "subject" lines (label and field)
};
cBackLayout LayoutBack(const CRect& card);

// A font of the height in pixels in the face given (the card's height unless told).
BOOL CreateCardFont(CFont& font, LPCSTR face, int height = kFontHeight, int weight = FW_NORMAL, BOOL italic = FALSE);

}  // namespace quillo
