// cCardBack: the card's back, a modeless child dialog of the card window made the first time the card is turned
// over (or before sending). It holds the four texts in edit controls with their limits (message 765, from 128,
// subject 200 characters, to unlimited), the card's time stamp (taken when the back is made and never changed:
// it is the package's `created`), the recipient table behind the "to" field (names joined by the resource
// library's separator and a space), the stamp and the postmark, bitmap buttons with hints, and two fonts of 16
// pixels: "System" for its labels and postmark, "Arial" for the texts.
#pragma once
#include <ctime>

#include "CardPanel.h"
#include "RecipientTable.h"

class cCardBack : public cCardPanel {
 public:
  enum { kMessageLimit = 765, kSenderLimit = 128, kSubjectLimit = 200 };

  // recipients: the "to" text to start with; with the greeting option the message starts as the greeting
  // text formatted with the sender's name (the "Sender Name" preference).
  cCardBack(LPCSTR recipients, BOOL greeting);
  BOOL CreateBack(cCardDialog* card);

  // Takes the controls' current contents into the texts below.
  void TakeTexts();
  const CString& GetMessageText() const { return m_messageText; }
  const CString& GetSenderText() const { return m_senderText; }
  const CString& GetSubjectText() const { return m_subjectText; }
  const CString& GetRecipientText() const { return m_recipientText; }
  time_t GetTimeStamp() const { return m_timeStamp; }

  // The recipients, and the separator of their names in the "to" field (without its space).
  cRecipientTable& Recipients() { return m_recipients; }
  static CString RecipientSeparator();
  // Whether the "to" text (as last taken) is other than the table's names, so that the table is to be rebuilt.
  BOOL IsRecipientTextEdited() const;
  // The "to" field shows the table's names.
  void ShowRecipients();
  void FocusRecipients();
  // Puts a greeting on the card: it replaces a message still empty or still the first greeting, and goes
  // above any other message.
  void ApplyGreeting(LPCSTR greeting);
  // The greeting texts of the resource library, formatted with the sender's name.
  static std::vector<CString> LoadGreetings(LPCSTR sender);
  // The postmark's two lines: the date and the time of the time stamp.
  CString PostmarkDate() const;
  CString PostmarkTime() const;

  void DrawCard(CDC* dc, const CRect& card, BOOL printing) override;

 protected:
  std::vector<ButtonDef> Buttons() const override;
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  DECLARE_MESSAGE_MAP()

 private:
  void CreateEdit(CEdit& edit, UINT id, const CRect& rect, DWORD style, int limit, CFont& font);
  CRect FieldRect(const CRect& line, UINT labelId, CDC* dc) const;
  void DrawPostmark(CDC* dc, const quillo::cBackLayout& layout) const;

  CString m_messageText, m_senderText, m_subjectText, m_recipientText;
  CString m_firstGreeting;
  cRecipientTable m_recipients;
  time_t m_timeStamp;
  BOOL m_bGreeting;
  CEdit m_message, m_to, m_from, m_subject;
  CFont m_systemFont, m_arialFont;
  CBrush m_background;
  CBitmap m_stamp;
};
