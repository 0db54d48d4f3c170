// cSendProgress: the small window that stands over the card while it is being sent or saved, telling the stage
// of the work (preparing, building the card's file, handing it to the mail program or saving it) with a bar.
// Made by the send command and destroyed when the send ends.
#pragma once
#include <afxcmn.h>
#include <afxwin.h>

class cSendProgress : public CDialog {
 public:
  enum Stage { kPreparing, kBuilding, kHandingOver, kSaving, kStages };

  // Creates the window centred over owner and shows it at the first stage.
  BOOL CreateProgress(CWnd* owner);
  // Shows the stage's text and moves the bar on; the window is repainted at once, as the work that follows
  // keeps the message loop busy.
  void SetStage(Stage stage);
  Stage GetStage() const { return m_stage; }

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;  // the work cannot be stopped halfway through: Escape does nothing
  void OnOK() override;

 private:
  CProgressCtrl m_bar;
  Stage m_stage = kPreparing;
};
