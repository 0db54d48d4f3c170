// CDialog (modal and modeless, from resource or in-memory templates) and the data-exchange functions.
#include <cstdio>
#include <cerrno>
#include <cstdlib>
#include "winstate.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_lpszTemplateName(NULL), m_nIDHelp(0), m_lpDialogTemplate(NULL), m_pParentWnd(NULL), m_bModal(FALSE) {}

CDialog::CDialog(LPCSTR templateName, CWnd* parent) : CDialog() {
  m_lpszTemplateName = templateName;
  m_pParentWnd = parent;
}

CDialog::CDialog(UINT templateId, CWnd* parent) : CDialog(MAKEINTRESOURCEA(templateId), parent) { m_nIDHelp = templateId; }

CDialog::~CDialog() {
  // A modeless dialog still open is destroyed with its object.
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

INT_PTR CALLBACK AfxDlgProc(HWND wnd, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  CDialog* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(wnd));
  if (!dialog) return TRUE;
  try {
    return dialog->OnInitDialog();
  } catch (CException* e) {
    e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
    e->Delete();
    dialog->EndDialog(-1);
    return FALSE;
  }
}

LPCDLGTEMPLATEA CDialog::FindTemplate(HGLOBAL* resource) const {
  *resource = NULL;
  if (m_lpDialogTemplate) return m_lpDialogTemplate;
  if (!m_lpszTemplateName) return NULL;
  HINSTANCE module = AfxFindResourceHandle(m_lpszTemplateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
  HRSRC found = ::FindResourceA(module, m_lpszTemplateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
  if (!found) return NULL;
  *resource = ::LoadResource(module, found);
  return static_cast<LPCDLGTEMPLATEA>(::LockResource(*resource));
}

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent) {
  m_lpszTemplateName = templateName;
  HGLOBAL resource;
  LPCDLGTEMPLATEA t = FindTemplate(&resource);
  if (!t) AfxThrowResourceException();
  return CreateIndirect(t, parent);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent) {
  m_pParentWnd = parent;
  m_bModal = FALSE;
  HWND owner = parent ? parent->m_hWnd : (AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : NULL);
  AfxHookWindowCreate(this);
  HWND hwnd = ::CreateDialogIndirectParamA(AfxGetInstanceHandle(), dialogTemplate, owner, &AfxDlgProc, 0);
  AfxUnhookWindowCreate();
  return hwnd != NULL;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent) {
  m_lpDialogTemplate = dialogTemplate;
  if (parent) m_pParentWnd = parent;
  return TRUE;
}

INT_PTR CDialog::DoModal() {
  HGLOBAL resource;
  LPCDLGTEMPLATEA t = FindTemplate(&resource);
  if (!t) return -1;
  HWND topLevel = NULL;
  CWnd* owner = CWnd::GetSafeOwner(m_pParentWnd, &topLevel);
  m_bModal = TRUE;
  AfxHookWindowCreate(this);
  // The system's modal loop runs the dialog; messages still reach this object's message map.
  INT_PTR result = ::DialogBoxIndirectParamA(AfxGetInstanceHandle(), t, owner->GetSafeHwnd(), &AfxDlgProc, 0);
  AfxUnhookWindowCreate();
  m_bModal = FALSE;
  if (m_hWnd) Detach();
  return result;
}

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

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
