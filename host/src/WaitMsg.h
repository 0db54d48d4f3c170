// The please-wait message: a scoped object that shows a string in the one modeless wait dialog (dialog 432,
// with its looping animation) while long work runs on the user-interface thread. Objects nest: an inner one
// changes the text and the outer text comes back when it ends; the last one closes the dialog.
#pragma once
#include <afxwin.h>

class cWaitDlg : public CDialog {
 public:
  cWaitDlg();
  // Creates the modeless dialog with text; false when the dialog resource is missing.
  BOOL Open(LPCSTR text);
  void SetText(LPCSTR text);
  // Stops and closes the animation, then destroys the dialog.
  void Close();

 protected:
  BOOL OnInitDialog() override;
  CString m_strText;
};

class cWaitMsg {
 public:
  explicit cWaitMsg(UINT stringId);
  ~cWaitMsg();
  cWaitMsg(const cWaitMsg&) = delete;
  cWaitMsg& operator=(const cWaitMsg&) = delete;

  // The nesting count and the string shown now (0 when none).
  static int GetCount();
  static UINT GetCurrentId();
  // The dialog while one is shown.
  static cWaitDlg* GetDialog();

 private:
  UINT m_nPreviousId;
};
