// cPreferencesDialog: reading the preferences into the dialog and writing them back.
#include "PreferencesDialog.h"

#include "CardBack.h"
#include "MailLibrary.h"
#include "Preferences.h"
#include "quillo/QuilloIds.h"

cPreferencesDialog::cPreferencesDialog(BOOL cardHasVideoOrSound, CWnd* parent)
    : CDialog(IDD_PREFERENCES, parent), m_bCardHasVideoOrSound(cardHasVideoOrSound) {}

BOOL cPreferencesDialog::OnInitDialog() {
  m_sender = cPreferences::SenderName();
  m_service = cPreferences::DeliveryService();
  m_format = cPreferences::DeliveryFormat(m_bCardHasVideoOrSound);
  m_promptFormat = cPreferences::PromptDeliveryFormat();
  m_promptCompression = cPreferences::PromptVideoCompression();
  m_warnOutboxFull = cPreferences::WarnOutboxFull();
  m_outboxLimit = cPreferences::OutboxLimit();
  const BOOL mail = quillo::IsMailAvailable(FALSE);
  if (!mail) {
    m_service = cPreferences::kServiceOutbox;
    cPreferences::SetDeliveryService(m_service);
  }
  CDialog::OnInitDialog();
  static_cast<CEdit*>(GetDlgItem(IDC_PREF_SENDER))->LimitText(cCardBack::kSenderLimit);
  GetDlgItem(IDC_PREF_SERVICE_MAIL)->EnableWindow(mail);
  GetDlgItem(IDC_PREF_FORMAT_PICTURE)->EnableWindow(!m_bCardHasVideoOrSound);
  m_limitSpin.SubclassDlgItem(IDC_PREF_OUTBOX_SPIN, this);
  m_limitSpin.SetRange(kMinOutboxLimit, kMaxOutboxLimit);
  return TRUE;
}

void cPreferencesDialog::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Text(dx, IDC_PREF_SENDER, m_sender);
  DDX_Radio(dx, IDC_PREF_SERVICE_MAIL, m_service);
  DDX_Radio(dx, IDC_PREF_FORMAT_PACKAGE, m_format);
  DDX_Check(dx, IDC_PREF_PROMPT_FORMAT, m_promptFormat);
  DDX_Check(dx, IDC_PREF_PROMPT_COMPRESSION, m_promptCompression);
  DDX_Check(dx, IDC_PREF_WARN_OUTBOX, m_warnOutboxFull);
  DDX_Text(dx, IDC_PREF_OUTBOX_LIMIT, m_outboxLimit);
  DDV_MinMaxInt(dx, m_outboxLimit, kMinOutboxLimit, kMaxOutboxLimit);
}

void cPreferencesDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  cPreferences::SetSenderName(m_sender);
  cPreferences::SetOutboxLimit(m_outboxLimit);
  cPreferences::SetDeliveryFormat(m_format);
  cPreferences::SetDeliveryService(m_service);
  cPreferences::SetPromptDeliveryFormat(m_promptFormat);
  cPreferences::SetWarnOutboxFull(m_warnOutboxFull);
  cPreferences::SetPromptVideoCompression(m_promptCompression);
  EndDialog(IDOK);
}
