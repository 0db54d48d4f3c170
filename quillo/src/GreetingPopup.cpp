// cGreetingPopup: the greetings list over the back.
#include "GreetingPopup.h"

#include "CardBack.h"
#include "CardDialog.h"
#include "quillo/QuilloIds.h"

BEGIN_MESSAGE_MAP(cGreetingPopup, CDialog)
  ON_LBN_DBLCLK(IDC_GREETING_LIST, OnChoose)
END_MESSAGE_MAP()

std::unique_ptr<CWnd> MakeGreetingPopup(cCardDialog& card) {
  std::unique_ptr<cGreetingPopup> popup(new cGreetingPopup(card));
  if (!popup->CreatePopup()) return nullptr;
  return std::unique_ptr<CWnd>(popup.release());
}

BOOL cGreetingPopup::CreatePopup() { return Create(IDD_GREETINGS, &m_card); }

BOOL cGreetingPopup::OnInitDialog() {
  CDialog::OnInitDialog();
  m_list.SubclassDlgItem(IDC_GREETING_LIST, this);
  cCardBack* back = m_card.GetBack();
  if (back) back->TakeTexts();
  for (const CString& greeting : cCardBack::LoadGreetings(back ? LPCSTR(back->GetSenderText()) : "")) {
    CString shown = greeting;
    shown.Replace("\r\n", " ");
    while (shown.Replace("  ", " ")) {
    }
    m_list.AddString(shown);
  }
  m_list.SetCurSel(0);
  // Over the back's message, where the greeting goes.
  CRect card, popup;
  m_card.GetWindowRect(&card);
  GetWindowRect(&popup);
  SetWindowPos(NULL, card.left + (card.Width() - popup.Width()) / 3, card.top + (card.Height() - popup.Height()) / 2,
               0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(SW_SHOW);
  m_list.SetFocus();
  return FALSE;
}

void cGreetingPopup::OnChoose() { OnOK(); }

void cGreetingPopup::OnOK() {
  const int chosen = m_list.GetCurSel();
  cCardBack* back = m_card.GetBack();
  if (chosen >= 0 && back) {
    const std::vector<CString> greetings = cCardBack::LoadGreetings(back->GetSenderText());
    if (chosen < int(greetings.size())) back->ApplyGreeting(greetings[size_t(chosen)]);
  }
  DestroyWindow();
}

void cGreetingPopup::OnCancel() { DestroyWindow(); }
