// The system's message box: cMessageBox, a dialog sized to its text with a caption, a word-wrapped
// message in a fixed font and a row of up to five buttons, and NXMessageBox which runs one modally.
// Used by every module's user-interface edge (through cNXException::WarnUser and its kin).
#pragma once
#include "NXMisc.h"

// Button set flags, in creation order (left to right).
enum cMessageBoxButton {
  NXMB_YES = 1,     // result 6
  NXMB_NO = 2,      // result 7
  NXMB_OK = 4,      // result 1, after data exchange
  NXMB_CANCEL = 8,  // result 2, also Escape
  NXMB_ABORT = 16   // result 3
};

class NXMISC_API cMessageBox : public CDialog {
  DECLARE_DYNAMIC(cMessageBox)
 public:
  struct ButtonInfo {
    UINT flag;
    UINT controlId;
    int result;
  };
  cMessageBox();
  ~cMessageBox() override;  // frees the template

  // Empty caption: the application's name. Builds the in-memory template.
  virtual void InitDialog(CWnd* parent, LPCSTR caption, LPCSTR text, UINT buttons, UINT defaultButton);
  virtual int CalcNumButtons();
  virtual CRect GetMessageRect(CDC* dc);
  virtual void OnDraw(CDC* dc);
  virtual void InitFont();
  virtual CRect CalcDialogBoxRect(const CRect& textRect, int buttons);
  virtual void CreateButtons();

  // Fills the class-wide state; NXMisc calls it when it is loaded.
  static void PASCAL Initialize();
  // Releases the fonts; NXMisc calls it when it is unloaded.
  static void PASCAL Terminate();

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnPaint();
  afx_msg void OnButton(UINT id);

  DLGTEMPLATE* m_pTemplate;
  CString m_strText;
  UINT m_nButtons;
  UINT m_nDefault;
  HWND m_hDefaultButton;
  CRect m_rectText;

  static ButtonInfo s_buttons[5];
  static CRect s_buttonRect;
  static int s_nButtonSpacing;
  static int s_nButtonCount;
  static BOOL s_bFirstTime;
  static HFONT s_hMessageFont;
  static HFONT s_hButtonFont;

  DECLARE_MESSAGE_MAP()
};

// Runs a message box and returns the result of the button pressed.
NXMISC_API int NXMessageBox(CWnd* parent, LPCSTR caption, LPCSTR text, UINT buttons, UINT defaultButton);
// The same with both texts loaded from the current resource module (0 gives an empty text).
NXMISC_API int NXMessageBox(CWnd* parent, UINT captionId, UINT textId, UINT buttons, UINT defaultButton);

// The layout rules as pure functions (tests reach them without windows).
namespace nxmsgbox {
// Client size for a measured text rectangle and a number of buttons.
NXMISC_API CSize ClientSize(const CRect& textRect, int buttons);
// Number of the five known flags set in buttons.
NXMISC_API int CountButtons(UINT buttons);
}  // namespace nxmsgbox
