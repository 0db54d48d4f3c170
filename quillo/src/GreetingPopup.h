// cGreetingPopup: the card's auxiliary pop-up, a small window over the back that offers the resource
// library's greetings (formatted with the sender's name) and puts the one chosen on the card. While it is
// open the card is neither turned over nor given a new picture.
#pragma once
#include <afxwin.h>

#include <memory>

class cCardDialog;

class cGreetingPopup : public CDialog {
 public:
  explicit cGreetingPopup(cCardDialog& card) : CDialog(), m_card(card) {}
  BOOL CreatePopup();

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;      // puts the chosen greeting on the card and closes
  void OnCancel() override;  // closes
  afx_msg void OnChoose();
  DECLARE_MESSAGE_MAP()

 private:
  cCardDialog& m_card;
  CListBox m_list;
};

// The card's auxiliary pop-up factory: a greeting pop-up over the card's back, or null.
std::unique_ptr<CWnd> MakeGreetingPopup(cCardDialog& card);
