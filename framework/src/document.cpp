// cNXComponentDoc: sending the document by mail or as a postcard; cNXComponentView.
#include <shlwapi.h>
#include "framework/NXComponentDoc.h"

namespace nxframework {

namespace {
const char kTempPrefix[] = "nx";
const char kTempExtension[] = ".TMP";
const DWORD kPostcardCreationFlags = CREATE_SEPARATE_WOW_VDM;  // 0x800

CString ShortPath(LPCSTR path) {
  char shortPath[MAX_PATH];
  DWORD n = GetShortPathNameA(path, shortPath, MAX_PATH);
  return n > 0 && n < MAX_PATH ? CString(shortPath) : CString(path);
}
}  // namespace

CString TempCopyName(LPCSTR tempDir, LPCSTR documentPath, LPCSTR extension) {
  LPCSTR name = documentPath ? ::PathFindFileNameA(documentPath) : "";
  LPCSTR dot = ::PathFindExtensionA(name);
  if (*name && *dot) return CString(tempDir) + CString(name, int(dot - name)) + extension;
  char unique[MAX_PATH];
  if (!GetTempFileNameA(tempDir, kTempPrefix, 0, unique)) return CString();
  // The system made the file to keep the name; the copy takes the name with its own extension.
  DeleteFileA(unique);
  CString result(unique);
  int at = result.GetLength() - int(sizeof kTempExtension - 1);
  if (at > 0 && result.Mid(at).CompareNoCase(kTempExtension) == 0) result = result.Left(at);
  return result + extension;
}

CString FindPostcardProgram() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, NX_QUILLO_LOCATION_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    char path[MAX_PATH] = "";
    DWORD size = sizeof path - 1, type = 0;
    LONG rc = RegQueryValueExA(key, NX_LOCATION_PATH_VALUE, NULL, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    if (rc == ERROR_SUCCESS && type == REG_SZ && path[0]) return ShortPath(path);
  }
  char path[MAX_PATH] = "";
  GetPrivateProfileStringA(NX_QUILLO_INI_SECTION, NX_LOCATION_PATH_VALUE, "", path, MAX_PATH, NX_SHARED_PROFILE_FILE);
  return path;
}

BOOL StartPostcardProgram(const CString& program, LPCSTR picture) {
  if (program.IsEmpty() || GetFileAttributesA(program) == INVALID_FILE_ATTRIBUTES) return FALSE;
  CString commandLine;
  commandLine.Format("%s %s", LPCSTR(program), LPCSTR(ShortPath(picture)));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(NULL, commandLine.GetBuffer(0), NULL, NULL, FALSE, kPostcardCreationFlags, NULL, NULL,
                      &startup, &process))
    return FALSE;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return TRUE;
}

}  // namespace nxframework

IMPLEMENT_DYNCREATE(cNXComponentDoc, CDocument)

BEGIN_MESSAGE_MAP(cNXComponentDoc, CDocument)
  ON_COMMAND(ID_NX_SENDMAIL, OnSendMail)
  ON_COMMAND(ID_NX_SENDPOSTCARD, OnSendPostcard)
  ON_UPDATE_COMMAND_UI(ID_NX_SENDMAIL, OnUpdateSend)
  ON_UPDATE_COMMAND_UI(ID_NX_SENDPOSTCARD, OnUpdateSend)
END_MESSAGE_MAP()

namespace {
const char kPostcardExtension[] = ".jpg";
}

cNXComponentDoc::cNXComponentDoc() = default;
cNXComponentDoc::~cNXComponentDoc() = default;

CString cNXComponentDoc::MailExtension() const {
  LPCSTR dot = ::PathFindExtensionA(::PathFindFileNameA(m_strPathName));
  return *dot ? CString(dot) : CString(kPostcardExtension);
}

BOOL cNXComponentDoc::WriteTempCopy(LPCSTR path, LPCSTR extension) {
  if (m_strPathName.IsEmpty() || MailExtension().CompareNoCase(extension) != 0) return FALSE;
  return CopyFileA(m_strPathName, path, FALSE);
}

CString cNXComponentDoc::MakeTempCopy(LPCSTR extension) {
  char tempDir[MAX_PATH];
  DWORD n = GetTempPathA(MAX_PATH, tempDir);
  if (n == 0 || n >= MAX_PATH) return CString();
  CString path = nxframework::TempCopyName(tempDir, m_strPathName, extension);
  if (path.IsEmpty()) return path;
  if (WriteTempCopy(path, extension)) return path;
  DeleteFileA(path);
  return CString();
}

void cNXComponentDoc::OnSendMail() {
  CWaitCursor wait;
  CString copy = MakeTempCopy(MailExtension());
  if (copy.IsEmpty()) return;
  // The mail goes out with the copy as the document's file, unchanged as far as the sending knows.
  CString path = m_strPathName;
  BOOL modified = IsModified();
  m_strPathName = copy;
  SetModifiedFlag(FALSE);
  OnFileSendMail();
  m_strPathName = path;
  SetModifiedFlag(modified);
  DeleteFileA(copy);
}

void cNXComponentDoc::OnSendPostcard() {
  CString copy = MakeTempCopy(kPostcardExtension);
  if (copy.IsEmpty()) return;
  CString program = nxframework::FindPostcardProgram();
  if (nxframework::StartPostcardProgram(program, copy)) return;
  DeleteFileA(copy);
  CString format, message;
  format.LoadString(IDS_NX_NOPOSTCARD);
  message.Format(format, LPCSTR(program), NX_WEB_ADDRESS, NX_SALES_ADDRESS);
  AfxMessageBox(message, MB_ICONINFORMATION | MB_OK);
}

void cNXComponentDoc::OnUpdateSend(CCmdUI* ui) { ui->Enable(TRUE); }

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(cNXComponentView, CScrollView)

cNXComponentView::cNXComponentView() = default;

cNXComponentDoc* cNXComponentView::GetDocument() const { return static_cast<cNXComponentDoc*>(m_pDocument); }
