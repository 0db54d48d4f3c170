// cPreferencesDialog: the card's preferences as the user sets them: the sender's name, how the card goes out
// (by mail or into the outbox) and in which format (the self-playing package or the card picture), the
// questions asked before sending, and the outbox warning with its limit. It reads every preference when it
// opens and writes the seven it shows on OK. Opened by the card's Preferences command.
#pragma once
#include <afxcmn.h>
#include <afxwin.h>

class cPreferencesDialog : public CDialog {
 public:
  // cardHasVideoOrSound: the picture format is offered only for a card with neither.
  cPreferencesDialog(BOOL cardHasVideoOrSound, CWnd* parent = NULL);

  enum { kMinOutboxLimit = 1, kMaxOutboxLimit = 9999 };

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;

 private:
  BOOL m_bCardHasVideoOrSound;
  CString m_sender;
  int m_service = 0;
  int m_format = 0;
  int m_promptFormat = 0;
  int m_promptCompression = 0;
  int m_warnOutboxFull = 0;
  int m_outboxLimit = 0;
  CSpinButtonCtrl m_limitSpin;
};
