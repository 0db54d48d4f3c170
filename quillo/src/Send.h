// The card's Send command: the picture asked for first, the back made and its texts taken, the status text,
// the delivery confirmation, the recipients checked for mail, the video's recompression offered, the
// progress window, the delivery by mail (cCardMail::MailCard) or into the outbox (SaveCardToFile), and on
// success the fly-away animation and the information box. Called by cCardDialog::Send.
#pragma once
#include <afxwin.h>

class cCardDialog;

// Runs the whole send; true when the card went out (the card is then no longer modified).
BOOL SendCard(cCardDialog& card);

// The card window flies off the screen: it hides, its outline shrinks and moves up to the right, and the
// window comes back. Plays the "Send" sound.
void FlyAway(CWnd& window);

// The confirmation shown before each send (while "Prompt Delivery Format" is set): what is about to happen,
// chosen by delivery service and format, with the common closing text; "do not ask again" clears the
// preference. Modal; IDOK goes on, IDCANCEL stops the send.
class cDeliveryConfirmDialog : public CDialog {
 public:
  cDeliveryConfirmDialog(int service, int format, CWnd* parent = NULL);
  // The text shown for a service and format (two line breaks before the closing text).
  static CString ConfirmationText(int service, int format);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  int m_service;
  int m_format;
};
