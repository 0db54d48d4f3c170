// Sending the card: the steps of the Send command, the confirmation dialog and the fly-away animation.
#include "Send.h"

#include "CardBack.h"
#include "CardDialog.h"
#include "CardFront.h"
#include "Outbox.h"
#include "Preferences.h"
#include "SendProgress.h"
#include "VideoCompression.h"
#include "quillo/QuilloIds.h"

namespace {

const int kFlyInset = 30;       // the outline shrinks this much on each side per step
const int kFlyRight = 60;       // and moves this far right
const int kFlyUp = 50;          // and this far up
const int kFlySteps = 30;
const DWORD kFlyStepMs = 50;
const char kLineBreaks[] = "\r\n\r\n";

void ShowMessage(UINT textId, LPCSTR insert = NULL, UINT icon = MB_ICONEXCLAMATION) {
  CString text;
  if (insert)
    AfxFormatString1(text, textId, insert);
  else
    text.LoadString(textId);
  AfxMessageBox(text, MB_OK | icon);
}

// Takes and dispatches whatever paint, frame paint and background erasing waits, so the screen is clean
// before long work.
void DispatchPendingPaints() {
  MSG msg;
  for (UINT message : {UINT(WM_PAINT), UINT(WM_NCPAINT), UINT(WM_ERASEBKGND)})
    while (PeekMessageA(&msg, NULL, message, message, PM_REMOVE)) DispatchMessageA(&msg);
}

// The card's status line shows a text while it lives (both sides), and is cleared when it ends.
class StatusText {
 public:
  StatusText(CWnd& card, UINT textId) : m_card(card) {
    m_text.LoadString(textId);
    m_card.SendMessage(WM_CARD_STATUS, 0, reinterpret_cast<LPARAM>(LPCSTR(m_text)));
  }
  ~StatusText() {
    if (::IsWindow(m_card.GetSafeHwnd())) m_card.SendMessage(WM_CARD_STATUS, 0, 0);
  }

 private:
  CWnd& m_card;
  CString m_text;
};

}  // namespace

cDeliveryConfirmDialog::cDeliveryConfirmDialog(int service, int format, CWnd* parent)
    : CDialog(IDD_DELIVERY_CONFIRM, parent), m_service(service), m_format(format) {}

CString cDeliveryConfirmDialog::ConfirmationText(int service, int format) {
  const BOOL mail = service == cPreferences::kServiceMail;
  const BOOL package = format == cPreferences::kFormatPackage;
  const UINT textId = mail ? (package ? IDS_CONFIRM_MAIL_PACKAGE : IDS_CONFIRM_MAIL_PICTURE)
                           : (package ? IDS_CONFIRM_FILE_PACKAGE : IDS_CONFIRM_FILE_PICTURE);
  CString text, closing;
  text.LoadString(textId);
  closing.LoadString(IDS_CONFIRM_CLOSING);
  return text + kLineBreaks + closing;
}

BOOL cDeliveryConfirmDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_CONFIRM_TEXT, ConfirmationText(m_service, m_format));
  return TRUE;
}

void cDeliveryConfirmDialog::OnOK() {
  if (IsDlgButtonChecked(IDC_CONFIRM_DONT_ASK)) cPreferences::SetPromptDeliveryFormat(FALSE);
  CDialog::OnOK();
}

void FlyAway(CWnd& window) {
  cCardDialog::PlayCardSound(QUILLO_SOUND_SEND, FALSE);
  CRect outline;
  window.GetWindowRect(&outline);
  outline.DeflateRect(kFlyInset, kFlyInset);
  window.ShowWindow(SW_HIDE);
  DispatchPendingPaints();
  HDC screen = GetDC(NULL);
  const int oldMode = SetROP2(screen, R2_NOT);
  HGDIOBJ oldBrush = SelectObject(screen, GetStockObject(NULL_BRUSH));
  for (int step = 0; step < kFlySteps && !outline.IsRectEmpty(); ++step) {
    // Drawn inverted, so that drawing it again takes it away.
    Rectangle(screen, outline.left, outline.top, outline.right, outline.bottom);
    GdiFlush();
    Sleep(kFlyStepMs);
    Rectangle(screen, outline.left, outline.top, outline.right, outline.bottom);
    outline.DeflateRect(kFlyInset, kFlyInset);
    outline.OffsetRect(kFlyRight, -kFlyUp);
    DispatchPendingPaints();
    if (outline.bottom < 0) break;
  }
  SelectObject(screen, oldBrush);
  SetROP2(screen, oldMode);
  ReleaseDC(NULL, screen);
  window.ShowWindow(SW_SHOW);
}

BOOL SendCard(cCardDialog& card) {
  cCardFront* front = card.GetFront();
  if (!front) return FALSE;
  // 1. A card goes with a picture.
  if (front->Editor().IsEmpty()) {
    CString text;
    text.LoadString(IDS_NEED_PICTURE);
    if (AfxMessageBox(text, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK) card.ChoosePicture();
    return FALSE;
  }
  // 2. The back, made by turning the card to it the first time, and what both sides hold.
  if (!card.GetBack() && card.IsFrontShowing()) card.Flip();
  cCardBack* back = card.EnsureBack();
  if (!back) return FALSE;
  back->TakeTexts();
  // 3. The status line announces the send.
  StatusText status(card, IDS_SEND_STATUS);
  // 4. What is about to happen, when the user wants to be asked.
  const BOOL hasVideoOrSound = !card.GetVideoPath().IsEmpty() || card.HasSound();
  if (cPreferences::PromptDeliveryFormat()) {
    cDeliveryConfirmDialog confirm(cPreferences::DeliveryService(), cPreferences::DeliveryFormat(hasVideoOrSound),
                                   &card);
    if (confirm.DoModal() != IDOK) return FALSE;
  }
  // 5. The delivery as it stands now; the screen is made clean before the work.
  const int service = cPreferences::DeliveryService();
  const int format = cPreferences::DeliveryFormat(hasVideoOrSound);
  DispatchPendingPaints();
  const BOOL byMail = service == cPreferences::kServiceMail;
  // 6. Mail needs recipients.
  if (byMail) {
    if (!card.GetMail().UpdateRecipients()) return FALSE;  // the user was told
    if (back->Recipients().GetCount() == 0) {
      if (card.IsFrontShowing()) card.Flip();
      ShowMessage(IDS_NO_RECIPIENTS, NULL, MB_ICONINFORMATION);
      back->FocusRecipients();
      return FALSE;
    }
  }
  // 7. An uncompressed video may be made smaller first.
  if (!card.GetVideoPath().IsEmpty() && cPreferences::PromptVideoCompression()) {
    CString recompressed;
    if (RecompressVideoForSending(&card, card.GetVideoPath(), &recompressed)) card.UseTemporaryVideo(recompressed);
  }
  // 8. - 11.
  cSendProgress progress;
  progress.CreateProgress(&card);
  const BOOL asPackage = format == cPreferences::kFormatPackage;
  const BOOL sent = byMail ? card.GetMail().MailCard(asPackage, &progress) : SaveCardToFile(card, asPackage, &progress);
  if (sent) {
    card.SetModified(FALSE);
    progress.ShowWindow(SW_HIDE);
    FlyAway(card);
    if (byMail)
      ShowMessage(IDS_CARD_SENT, NULL, MB_ICONINFORMATION);
    else
      ShowMessage(IDS_CARD_SAVED, card.GetSavedPath(), MB_ICONINFORMATION);
  }
  progress.DestroyWindow();
  return sent;
}
