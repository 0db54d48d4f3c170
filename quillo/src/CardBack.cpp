// cCardBack: the back's texts, time stamp, postmark and drawing.
#include "CardBack.h"

#include <cmath>

#include "CardDialog.h"
#include "Postmark.h"
#include "Preferences.h"
#include "quillo/QuilloIds.h"

namespace {

const char kLabelFace[] = "System";
const char kTextFace[] = "Arial";
const UINT kLineLabels[] = {IDS_LABEL_TO, IDS_LABEL_FROM, IDS_LABEL_SUBJECT};
enum { kToLine = 0, kFromLine = 1, kSubjectLine = 2 };
const int kLabelGap = 6;        // between a label and its field
const int kFieldRise = 3;       // a field's text sits this far above its rule
const int kFieldHeight = quillo::kFontHeight + 6;
const int kPostmarkRing = 2;    // pen widths of the postmark's outer and inner rings
const int kPostmarkInset = 5;
const int kWaveCount = 3;
const int kWaveSpacing = 11;
const double kWaveLength = 22.0;
const double kPi = 3.14159265358979323846;
const int kWaveHeight = 3;
const char kParagraphBreak[] = "\r\n\r\n";
const char kSeparatorSpace[] = " ";  // after the separator between two recipients' names

}  // namespace

BEGIN_MESSAGE_MAP(cCardBack, cCardPanel)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

cCardBack::cCardBack(LPCSTR recipients, BOOL greeting)
    : m_recipientText(recipients ? recipients : ""), m_timeStamp(time(NULL)), m_bGreeting(greeting) {}

BOOL cCardBack::CreateBack(cCardDialog* card) { return CreatePanel(IDD_CARD_BACK, card); }

std::vector<cCardPanel::ButtonDef> cCardBack::Buttons() const {
  return {{ID_CARD_FLIP, IDB_BUTTON_FLIP, TRUE},
          {ID_CARD_GREETINGS, IDB_BUTTON_GREETINGS, TRUE},
          {ID_CARD_ADDRESS_BOOK, IDB_BUTTON_ADDRESS_BOOK, TRUE},
          {ID_CARD_RECORD_SOUND, IDB_BUTTON_RECORD, TRUE},
          {ID_CARD_PLAY_SOUND, IDB_BUTTON_PLAY, TRUE},
          {ID_CARD_SEND, IDB_BUTTON_SEND, TRUE}};
}

std::vector<CString> cCardBack::LoadGreetings(LPCSTR sender) {
  std::vector<CString> greetings;
  for (UINT id = IDS_GREETING_FIRST; id <= IDS_GREETING_LAST; ++id) {
    CString pattern;
    if (!pattern.LoadString(id)) continue;
    CString text;
    AfxFormatString1(text, id, sender ? sender : "");
    greetings.push_back(text);
  }
  return greetings;
}

BOOL cCardBack::OnInitDialog() {
  m_senderText = cPreferences::SenderName();
  if (m_bGreeting) {
    const std::vector<CString> greetings = LoadGreetings(m_senderText);
    if (!greetings.empty()) m_firstGreeting = m_messageText = greetings.front();
  }
  cCardPanel::OnInitDialog();
  quillo::CreateCardFont(m_systemFont, kLabelFace);
  quillo::CreateCardFont(m_arialFont, kTextFace);
  m_background.CreateSolidBrush(quillo::kCardColor);
  m_stamp.LoadBitmap(IDB_STAMP);

  const quillo::cBackLayout layout = quillo::LayoutBack(Layout().card);
  CClientDC dc(this);
  CreateEdit(m_message, IDC_CARD_MESSAGE, layout.message, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
             kMessageLimit, m_arialFont);
  CreateEdit(m_to, IDC_CARD_TO, FieldRect(layout.lines[kToLine], IDS_LABEL_TO, &dc), ES_AUTOHSCROLL, 0, m_arialFont);
  CreateEdit(m_from, IDC_CARD_FROM, FieldRect(layout.lines[kFromLine], IDS_LABEL_FROM, &dc), ES_AUTOHSCROLL,
             kSenderLimit, m_arialFont);
  CreateEdit(m_subject, IDC_CARD_SUBJECT, FieldRect(layout.lines[kSubjectLine], IDS_LABEL_SUBJECT, &dc),
             ES_AUTOHSCROLL, kSubjectLimit, m_arialFont);
  UpdateData(FALSE);
  return FALSE;
}

void cCardBack::CreateEdit(CEdit& edit, UINT id, const CRect& rect, DWORD style, int limit, CFont& font) {
  edit.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, rect, this, id);
  edit.SetFont(&font);
  edit.LimitText(limit);  // 0: the system's largest
}

CRect cCardBack::FieldRect(const CRect& line, UINT labelId, CDC* dc) const {
  CString label;
  label.LoadString(labelId);
  CFont* old = dc->SelectObject(const_cast<CFont*>(&m_systemFont));
  const int labelWidth = dc->GetTextExtent(label).cx;
  dc->SelectObject(old);
  const int bottom = line.bottom - kFieldRise;
  return CRect(line.left + labelWidth + kLabelGap, bottom - kFieldHeight, line.right, bottom);
}

void cCardBack::DoDataExchange(CDataExchange* dx) {
  cCardPanel::DoDataExchange(dx);
  DDX_Text(dx, IDC_CARD_MESSAGE, m_messageText);
  DDX_Text(dx, IDC_CARD_TO, m_recipientText);
  DDX_Text(dx, IDC_CARD_FROM, m_senderText);
  DDX_Text(dx, IDC_CARD_SUBJECT, m_subjectText);
}

void cCardBack::TakeTexts() {
  if (m_hWnd) UpdateData(TRUE);
}

void cCardBack::ApplyGreeting(LPCSTR greeting) {
  TakeTexts();
  CString text(greeting ? greeting : "");
  if (m_messageText.IsEmpty() || m_messageText == m_firstGreeting)
    m_messageText = text;
  else
    m_messageText = text + kParagraphBreak + m_messageText;
  m_messageText = m_messageText.Left(kMessageLimit);
  m_firstGreeting = text;
  if (m_hWnd) {
    UpdateData(FALSE);
    m_message.SetFocus();
    m_message.SetSel(m_messageText.GetLength(), m_messageText.GetLength());
  }
}

CString cCardBack::RecipientSeparator() {
  CString separator;
  separator.LoadString(IDS_RECIPIENT_SEPARATOR);
  return separator;
}

BOOL cCardBack::IsRecipientTextEdited() const {
  return m_recipientText != m_recipients.JoinedNames(RecipientSeparator() + kSeparatorSpace);
}

void cCardBack::ShowRecipients() {
  m_recipientText = m_recipients.JoinedNames(RecipientSeparator() + kSeparatorSpace);
  if (m_to.GetSafeHwnd()) m_to.SetWindowText(m_recipientText);
}

void cCardBack::FocusRecipients() {
  if (m_to.GetSafeHwnd()) m_to.SetFocus();
}

CString cCardBack::PostmarkDate() const { return FormatPostmarkDate(LocalTimeOf(m_timeStamp)); }
CString cCardBack::PostmarkTime() const { return FormatPostmarkTime(LocalTimeOf(m_timeStamp), ReadClockSettings()); }

HBRUSH cCardBack::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  if (ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_STATIC) {
    dc->SetTextColor(quillo::kInkColor);
    dc->SetBkColor(quillo::kCardColor);
    return HBRUSH(m_background.GetSafeHandle());
  }
  return cCardPanel::OnCtlColor(dc, wnd, ctlColor);
}

void cCardBack::DrawPostmark(CDC* dc, const quillo::cBackLayout& layout) const {
  const CRect& ring = layout.postmark;
  CPen outer(PS_SOLID, kPostmarkRing, quillo::kPostmarkColor);
  CPen inner(PS_SOLID, 1, quillo::kPostmarkColor);
  CPen* oldPen = dc->SelectObject(&outer);
  CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
  dc->Ellipse(&ring);
  dc->SelectObject(&inner);
  CRect innerRing = ring;
  innerRing.DeflateRect(kPostmarkInset, kPostmarkInset);
  dc->Ellipse(&innerRing);
  // The cancellation waves run from the ring across the stamp.
  dc->SelectObject(&outer);
  const int left = ring.right - kPostmarkInset;
  const int right = layout.stamp.right + kPostmarkInset;
  const int middle = ring.CenterPoint().y;
  for (int wave = 0; wave < kWaveCount; ++wave) {
    const int y = middle + (wave - kWaveCount / 2) * kWaveSpacing;
    std::vector<POINT> points;
    for (int x = left; x <= right; x += 2)
      points.push_back({x, y + int(std::lround(kWaveHeight * std::sin((x - left) * 2 * kPi / kWaveLength)))});
    dc->Polyline(points.data(), int(points.size()));
  }
  dc->SelectObject(oldPen);
  dc->SelectObject(HGDIOBJ(oldBrush->GetSafeHandle()));

  CFont* oldFont = dc->SelectObject(const_cast<CFont*>(&m_systemFont));
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(quillo::kPostmarkColor);
  CRect top(innerRing.left, innerRing.top, innerRing.right, innerRing.CenterPoint().y);
  CRect bottom(innerRing.left, innerRing.CenterPoint().y, innerRing.right, innerRing.bottom);
  dc->DrawText(PostmarkDate(), &top, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
  dc->DrawText(PostmarkTime(), &bottom, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  dc->SelectObject(oldFont);
}

void cCardBack::DrawCard(CDC* dc, const CRect& card, BOOL printing) {
  DrawPaper(dc, card);
  const quillo::cBackLayout layout = quillo::LayoutBack(card);
  CPen rule(PS_SOLID, 1, quillo::kRuleColor);
  CPen* oldPen = dc->SelectObject(&rule);
  dc->MoveTo(layout.dividerTop);
  dc->LineTo(layout.dividerBottom);

  BITMAP stamp = {};
  if (m_stamp.GetSafeHandle() && m_stamp.GetBitmap(&stamp)) {
    // At its own size, in the stamp's corner: stretching would blend the key colour into the perforation.
    CDC memory;
    memory.CreateCompatibleDC(dc);
    HGDIOBJ old = memory.SelectObject(m_stamp.GetSafeHandle());
    TransparentBlt(dc->GetSafeHdc(), layout.stamp.right - stamp.bmWidth, layout.stamp.top, stamp.bmWidth,
                   stamp.bmHeight, memory.GetSafeHdc(), 0, 0, stamp.bmWidth, stamp.bmHeight, quillo::kButtonKeyColor);
    memory.SelectObject(old);
  }
  DrawPostmark(dc, layout);

  dc->SetBkMode(TRANSPARENT);
  const CString* fields[] = {&m_recipientText, &m_senderText, &m_subjectText};
  for (int line = 0; line < 3; ++line) {
    const CRect& place = layout.lines[line];
    dc->SelectObject(&rule);
    dc->MoveTo(place.left, place.bottom);
    dc->LineTo(place.right, place.bottom);
    CString label;
    label.LoadString(kLineLabels[line]);
    CFont* oldFont = dc->SelectObject(&m_systemFont);
    dc->SetTextColor(quillo::kLabelColor);
    CRect labelRect(place.left, place.top, place.right, place.bottom - kFieldRise);
    dc->DrawText(label, &labelRect, DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    dc->SelectObject(oldFont);
    if (printing) {
      CRect field = FieldRect(place, kLineLabels[line], dc);
      oldFont = dc->SelectObject(&m_arialFont);
      dc->SetTextColor(quillo::kInkColor);
      dc->DrawText(*fields[line], &field, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
      dc->SelectObject(oldFont);
    }
  }
  if (printing) {
    CFont* oldFont = dc->SelectObject(&m_arialFont);
    dc->SetTextColor(quillo::kInkColor);
    CRect message = layout.message;
    dc->DrawText(m_messageText, &message, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    dc->SelectObject(oldFont);
  }
  dc->SelectObject(oldPen);
}
