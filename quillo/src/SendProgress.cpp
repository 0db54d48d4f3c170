// cSendProgress: the stages of a send and their bar.
#include "SendProgress.h"

#include "quillo/QuilloIds.h"

BOOL cSendProgress::CreateProgress(CWnd* owner) {
  if (!Create(IDD_SEND_PROGRESS, owner)) return FALSE;
  CenterWindow(owner);
  ShowWindow(SW_SHOWNA);
  SetStage(kPreparing);
  return TRUE;
}

BOOL cSendProgress::OnInitDialog() {
  CDialog::OnInitDialog();
  m_bar.SubclassDlgItem(IDC_PROGRESS_BAR, this);
  m_bar.SetRange(0, kStages);
  return TRUE;
}

void cSendProgress::OnCancel() {}
void cSendProgress::OnOK() {}

void cSendProgress::SetStage(Stage stage) {
  m_stage = stage;
  if (!m_hWnd) return;
  CString text;
  text.LoadString(IDS_PROGRESS_STAGE_FIRST + stage);
  SetDlgItemText(IDC_PROGRESS_TEXT, text);
  m_bar.SetPos(stage + 1);
  UpdateWindow();
}
