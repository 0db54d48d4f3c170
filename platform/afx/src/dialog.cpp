// CDialog (modal and modeless, from resource or in-memory templates) and the data-exchange functions.
#include <cstdio>
#include <cerrno>
#include <cstdlib>
#include "state.h"
#include "winstate.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_lpszTemplateName(NULL), m_nIDHelp(0), m_lpDialogTemplate(NULL), m_pParentWnd(NULL), m_bModal(FALSE),
      m_hWndModalFrame(NULL), m_hWndModalOwner(NULL) {}

CDialog::CDialog(LPCSTR templateName, CWnd* parent) : CDialog() {
  m_lpszTemplateName = templateName;
  m_pParentWnd = parent;
}

CDialog::CDialog(UINT templateId, CWnd* parent) : CDialog(MAKEINTRESOURCEA(templateId), parent) { m_nIDHelp = templateId; }

CDialog::~CDialog() {
  // A modeless dialog still open is destroyed with its object.
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

INT_PTR CALLBACK AfxDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  CDialog* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(wnd));
  if (!dialog) return TRUE;
  try {
    return dialog->OnInitDialog();
  } catch (...) {
    MSG current = {wnd, message, wParam, lParam, 0, {0, 0}};
    afxstate::ReportAtBoundary(current);
    // A dialog that could not be set up does not run.
    if (dialog->IsModal())
      dialog->EndDialog(-1);
    else
      ::DestroyWindow(wnd);
    return FALSE;
  }
}

LPCDLGTEMPLATEA CDialog::FindTemplate(HINSTANCE* module) const {
  *module = AfxGetResourceHandle();
  if (m_lpDialogTemplate) return m_lpDialogTemplate;
  if (!m_lpszTemplateName) return NULL;
  *module = AfxFindResourceHandle(m_lpszTemplateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
  HRSRC found = ::FindResourceA(*module, m_lpszTemplateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
  if (!found) return NULL;
  return static_cast<LPCDLGTEMPLATEA>(::LockResource(::LoadResource(*module, found)));
}

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent) {
  m_lpszTemplateName = templateName;
  HINSTANCE module;
  LPCDLGTEMPLATEA t = FindTemplate(&module);
  if (!t) AfxThrowResourceException();
  return CreateIndirect(t, parent, module);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent) {
  return CreateIndirect(dialogTemplate, parent, AfxGetResourceHandle());
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent, HINSTANCE module) {
  m_pParentWnd = parent;
  m_bModal = FALSE;
  HWND owner = parent ? parent->m_hWnd : AfxGetSafeHwnd(AfxGetMainWnd());
  return CreateFromTemplate(dialogTemplate, owner, module);
}

BOOL CDialog::CreateFromTemplate(LPCDLGTEMPLATEA dialogTemplate, HWND owner, HINSTANCE module) {
  // The template's module serves what the template names (icons, bitmaps, window classes of its controls).
  AfxHookWindowCreate(this);
  HWND hwnd = ::CreateDialogIndirectParamA(module, dialogTemplate, owner, &AfxDlgProc, 0);
  AfxUnhookWindowCreate();
  return hwnd != NULL;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent) {
  m_lpDialogTemplate = dialogTemplate;
  if (parent) m_pParentWnd = parent;
  return TRUE;
}

namespace {
// The framework frame among owner and the windows that own it, or null.
CFrameWnd* FrameOwning(HWND owner) {
  for (HWND h = owner; h; h = ::GetWindow(h, GW_OWNER)) {
    CWnd* w = CWnd::FromHandlePermanent(h);
    if (w && w->IsFrameWnd()) return static_cast<CFrameWnd*>(w)->GetTopLevelFrame();
    if (!w && (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) break;
  }
  return NULL;
}
}  // namespace

HWND CDialog::PreModal() {
  if (CWinApp* app = AfxGetApp()) app->EnableModeless(FALSE);
  HWND owner = AfxGetSafeHwnd(CWnd::GetSafeOwner(m_pParentWnd));
  CFrameWnd* frame = FrameOwning(owner);
  m_hWndModalFrame = AfxGetSafeHwnd(frame);
  if (frame) frame->BeginModalState();
  // The owner itself (a frame, or a dialog that opened this one) takes no input meanwhile.
  m_hWndModalOwner = owner && ::IsWindowEnabled(owner) ? owner : NULL;
  if (m_hWndModalOwner) ::EnableWindow(m_hWndModalOwner, FALSE);
  return owner;
}

void CDialog::PostModal() {
  if (m_hWndModalOwner) ::EnableWindow(m_hWndModalOwner, TRUE);
  if (CFrameWnd* frame = static_cast<CFrameWnd*>(CWnd::FromHandlePermanent(m_hWndModalFrame))) frame->EndModalState();
  m_hWndModalOwner = m_hWndModalFrame = NULL;
  if (CWinApp* app = AfxGetApp()) app->EnableModeless(TRUE);
}

INT_PTR CDialog::DoModal() {
  HINSTANCE module;
  LPCDLGTEMPLATEA t = FindTemplate(&module);
  if (!t) return -1;
  HWND owner = PreModal();
  m_bModal = TRUE;
  m_bContinueModal = TRUE;  // OnInitDialog may end the dialog before its loop runs
  m_nModalResult = -1;
  INT_PTR result = -1;
  if (CreateFromTemplate(t, owner, module)) {
    if (m_bContinueModal) {
      DWORD flags = MLF_SHOWONIDLE;
      if (GetStyle() & DS_NOIDLEMSG) flags |= MLF_NOIDLEMSG;
      RunModalLoop(flags);
    }
    result = m_nModalResult;
  }
  // The owner is enabled before the dialog goes, so that activation returns to it and nowhere else.
  PostModal();
  if (m_hWnd) DestroyWindow();
  m_bModal = FALSE;
  return result;
}

void CDialog::EndDialog(int result) {
  if (m_bModal)
    EndModalLoop(result);
  else
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  // The dialog's keyboard interface (Tab, arrows, Enter, Escape, mnemonics) for its own controls.
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
  if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
  return ::IsDialogMessageA(m_hWnd, msg);
}

BOOL CDialog::OnInitDialog() {
  if (!UpdateData(FALSE)) return FALSE;
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::GotoDlgCtrl(CWnd* control) { SendMessage(WM_NEXTDLGCTL, WPARAM(control->m_hWnd), 1); }

// ---------------------------------------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog), m_hWndLastControl(NULL), m_bEditLastControl(FALSE) {}

HWND CDataExchange::PrepareCtrl(int id) {
  HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
  if (!control) AfxThrowNotSupportedException();  // the template lacks a control the dialog exchanges
  m_hWndLastControl = control;
  m_bEditLastControl = FALSE;
  return control;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
  HWND control = PrepareCtrl(id);
  m_bEditLastControl = TRUE;
  return control;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_hWndLastControl) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

namespace {
CString TextOf(HWND control) {
  CString text;
  CWnd::FromHandle(control)->GetWindowText(text);
  return text;
}

void Prompt(CDataExchange* dx, UINT id) {
  AfxMessageBox(id, MB_ICONEXCLAMATION);
  dx->Fail();
}

void PromptRange(CDataExchange* dx, UINT id, LPCSTR low, LPCSTR high) {
  CString text;
  AfxFormatString2(text, id, low, high);
  AfxMessageBox(text, MB_ICONEXCLAMATION, id);
  dx->Fail();
}

// Whole text as a signed or unsigned integer: surrounding blanks allowed, nothing else.
bool ParseInteger(LPCSTR text, bool isSigned, long long& value) {
  while (*text == ' ' || *text == '\t') ++text;
  if (!*text || (!isSigned && *text == '-')) return false;
  char* end = NULL;
  errno = 0;
  value = strtoll(text, &end, 10);
  if (end == text || errno) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end) return false;
  return isSigned ? value >= -2147483648LL && value <= 2147483647LL : value >= 0 && value <= 4294967295LL;
}

template <class T>
void ExchangeInteger(CDataExchange* dx, int id, T& value, bool isSigned, UINT errorId) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate) {
    long long v;
    if (!ParseInteger(TextOf(control), isSigned, v)) Prompt(dx, errorId);
    value = T(v);
  } else {
    char text[32];
    if (isSigned)
      snprintf(text, sizeof text, "%ld", long(value));
    else
      snprintf(text, sizeof text, "%lu", (unsigned long)(value));
    ::SetWindowTextA(control, text);
  }
}
}  // namespace

void AFXAPI DDX_Text(CDataExchange* dx, int id, CString& value) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate)
    value = TextOf(control);
  else
    ::SetWindowTextA(control, value);
}

void AFXAPI DDX_Text(CDataExchange* dx, int id, int& value) { ExchangeInteger(dx, id, value, true, AFX_IDP_PARSE_INT); }
void AFXAPI DDX_Text(CDataExchange* dx, int id, long& value) { ExchangeInteger(dx, id, value, true, AFX_IDP_PARSE_INT); }
void AFXAPI DDX_Text(CDataExchange* dx, int id, UINT& value) { ExchangeInteger(dx, id, value, false, AFX_IDP_PARSE_UINT); }
void AFXAPI DDX_Text(CDataExchange* dx, int id, DWORD& value) { ExchangeInteger(dx, id, value, false, AFX_IDP_PARSE_UINT); }

void AFXAPI DDX_Text(CDataExchange* dx, int id, double& value) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate) {
    CString text = TextOf(control);
    char* end = NULL;
    double v = strtod(text, &end);
    while (end && (*end == ' ' || *end == '\t')) ++end;
    if (text.IsEmpty() || !end || *end) Prompt(dx, AFX_IDP_PARSE_REAL);
    value = v;
  } else {
    char text[64];
    snprintf(text, sizeof text, "%.*g", 15, value);
    ::SetWindowTextA(control, text);
  }
}

void AFXAPI DDX_Check(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate)
    value = int(::SendMessageA(control, BM_GETCHECK, 0, 0));
  else
    ::SendMessageA(control, BM_SETCHECK, WPARAM(value), 0);
}

void AFXAPI DDX_Radio(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate) value = -1;
  // The group runs from the first button to the next control with WS_GROUP.
  int index = 0;
  for (HWND h = control; h; h = ::GetWindow(h, GW_HWNDNEXT), ++index) {
    if (h != control && (::GetWindowLongA(h, GWL_STYLE) & WS_GROUP)) break;
    if (!(::SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
    if (dx->m_bSaveAndValidate) {
      if (::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
    } else {
      ::SendMessageA(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

void AFXAPI DDX_LBIndex(CDataExchange* dx, int id, int& index) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate)
    index = int(::SendMessageA(control, LB_GETCURSEL, 0, 0));
  else
    ::SendMessageA(control, LB_SETCURSEL, WPARAM(index), 0);
}

void AFXAPI DDX_LBString(CDataExchange* dx, int id, CString& value) {
  HWND control = dx->PrepareCtrl(id);
  CListBox* box = static_cast<CListBox*>(CWnd::FromHandle(control));
  if (dx->m_bSaveAndValidate) {
    int sel = box->GetCurSel();
    if (sel >= 0)
      box->GetText(sel, value);
    else
      value.Empty();
  } else if (box->SelectString(-1, value) == LB_ERR) {
    box->SetCurSel(-1);
  }
}

void AFXAPI DDX_CBIndex(CDataExchange* dx, int id, int& index) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate)
    index = int(::SendMessageA(control, CB_GETCURSEL, 0, 0));
  else
    ::SendMessageA(control, CB_SETCURSEL, WPARAM(index), 0);
}

void AFXAPI DDX_CBString(CDataExchange* dx, int id, CString& value) {
  HWND control = dx->PrepareCtrl(id);
  CComboBox* box = static_cast<CComboBox*>(CWnd::FromHandle(control));
  if (dx->m_bSaveAndValidate) {
    // Drop-down lists have no edit text of their own: take the selected entry.
    if ((box->GetStyle() & 0x3) == CBS_DROPDOWNLIST) {
      int sel = box->GetCurSel();
      if (sel >= 0)
        box->GetLBText(sel, value);
      else
        value.Empty();
    } else {
      value = TextOf(control);
    }
  } else if (box->SelectString(-1, value) == CB_ERR) {
    if ((box->GetStyle() & 0x3) != CBS_DROPDOWNLIST) box->SetWindowText(value);
  }
}

void AFXAPI DDX_Slider(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  const UINT kGetPos = WM_USER, kSetPos = WM_USER + 5;  // TBM_GETPOS, TBM_SETPOS
  if (dx->m_bSaveAndValidate)
    value = int(::SendMessageA(control, kGetPos, 0, 0));
  else
    ::SendMessageA(control, kSetPos, TRUE, value);
}

void AFXAPI DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;
  HWND h = dx->PrepareCtrl(id);
  if (!control.SubclassWindow(h)) AfxThrowNotSupportedException();
}

void AFXAPI DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars) {
  if (!dx->m_bSaveAndValidate) {
    if (dx->m_hWndLastControl && dx->m_bEditLastControl) ::SendMessageA(dx->m_hWndLastControl, EM_LIMITTEXT, maxChars, 0);
    return;
  }
  if (value.GetLength() > maxChars) {
    char n[16];
    snprintf(n, sizeof n, "%d", maxChars);
    CString text;
    AfxFormatString1(text, AFX_IDP_PARSE_STRING_SIZE, n);
    AfxMessageBox(text, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
    dx->Fail();
  }
}

void AFXAPI DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) { DDV_MinMaxLong(dx, value, minValue, maxValue); }

void AFXAPI DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue) {
  if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
  char low[16], high[16];
  snprintf(low, sizeof low, "%ld", minValue);
  snprintf(high, sizeof high, "%ld", maxValue);
  PromptRange(dx, AFX_IDP_PARSE_INT_RANGE, low, high);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue) {
  if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
  char low[16], high[16];
  snprintf(low, sizeof low, "%u", minValue);
  snprintf(high, sizeof high, "%u", maxValue);
  PromptRange(dx, AFX_IDP_PARSE_INT_RANGE, low, high);
}

void AFXAPI DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue) {
  if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
  char low[32], high[32];
  snprintf(low, sizeof low, "%g", minValue);
  snprintf(high, sizeof high, "%g", maxValue);
  PromptRange(dx, AFX_IDP_PARSE_REAL_RANGE, low, high);
}
