// Documents, templates and the application's document manager.
#include <algorithm>
#include <cstdio>
#include <memory>
#include "safefile/safefile.h"
#include "winstate.h"
#include <mapi.h>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CDocManager, CObject)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
  ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
  ON_COMMAND(ID_FILE_SAVE, OnFileSave)
  ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() : m_pDocTemplate(NULL), m_bModified(FALSE), m_bAutoDelete(TRUE), m_bEmbedded(FALSE) {}

CDocument::~CDocument() {
  // Views still attached lose their document.
  for (POSITION pos = m_viewList.GetHeadPosition(); pos;) static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = NULL;
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR title) {
  m_strTitle = title;
  for (POSITION pos = GetFirstViewPosition(); pos;) {
    CFrameWnd* frame = GetNextView(pos)->GetParentFrame();
    if (frame) frame->OnUpdateFrameTitle(TRUE);
  }
}

void CDocument::SetPathName(LPCSTR path, BOOL addToMRU) {
  char full[MAX_PATH];
  if (!AfxFullPath(full, path)) lstrcpynA(full, path, MAX_PATH);
  m_strPathName = full;
  LPCSTR name = strrchr(full, '\\');
  SetTitle(name ? name + 1 : full);
  if (addToMRU && AfxGetApp()) AfxGetApp()->AddToRecentFileList(full);
}

void CDocument::AddView(CView* view) {
  m_viewList.AddTail(view);
  view->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* view) {
  POSITION pos = m_viewList.Find(view);
  if (!pos) return;
  m_viewList.RemoveAt(pos);
  view->m_pDocument = NULL;
  OnChangedViewList();
}

void CDocument::OnChangedViewList() {
  if (m_viewList.IsEmpty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  for (POSITION pos = GetFirstViewPosition(); pos;) {
    CFrameWnd* frame = GetNextView(pos)->GetParentFrame();
    if (frame) frame->OnUpdateFrameTitle(TRUE);
  }
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject) {
  for (POSITION pos = GetFirstViewPosition(); pos;) {
    CView* view = GetNextView(pos);
    if (view != sender) view->OnUpdate(sender, hint, hintObject);
  }
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

namespace {
// A file written under a temporary name beside its target (platform/safefile) and moved over the target by
// Close(); Abort(), a failed Close() or destruction without Close() leave the target as it was and remove
// the temporary.
class ReplacingFile : public CFile {
 public:
  explicit ReplacingFile(LPCSTR target) : m_pending(target) {}
  ~ReplacingFile() override {
    if (m_hFile != INVALID_HANDLE_VALUE) CFile::Abort();  // closed before the temporary is removed
  }

  BOOL Open(CFileException* error) {
    if (m_pending.temporary().empty() || !m_pending.Close()) {
      if (error) {
        error->m_cause = CauseOf(m_pending.error());
        error->m_lOsError = -1;
        error->m_strFileName = m_pending.target().c_str();
      }
      return FALSE;
    }
    if (!CFile::Open(m_pending.temporary().c_str(), modeWrite | shareExclusive, error)) {
      if (error) error->m_strFileName = m_pending.target().c_str();
      return FALSE;
    }
    m_strFileName = m_pending.target().c_str();  // failures name the document, not the temporary
    return TRUE;
  }
  void Close() override {
    CFile::Close();
    if (!m_pending.Commit())
      AfxThrowFileException(CauseOf(m_pending.error()), -1, m_pending.target().c_str());
  }
  void Abort() override {
    CFile::Abort();
    m_pending.Discard();
  }

 private:
  int CauseOf(safefile::Error error) const {
    switch (error) {
      case safefile::Error::kCreate: {
        // No temporary beside the target: its folder is missing, or may not be written.
        CString folder(m_pending.target().c_str());
        folder = folder.Left(folder.ReverseFind('\\') + 1);
        return ::GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES ? CFileException::badPath
                                                                        : CFileException::accessDenied;
      }
      case safefile::Error::kTargetLocked: return CFileException::accessDenied;
      default: return CFileException::generic;
    }
  }

  safefile::PendingFile m_pending;
};
}  // namespace

CFile* CDocument::GetFile(LPCSTR fileName, UINT openFlags, CFileException* error) {
  if (openFlags & CFile::modeCreate) {
    char full[MAX_PATH];
    if (!AfxFullPath(full, fileName)) lstrcpynA(full, fileName, MAX_PATH);
    std::unique_ptr<ReplacingFile> file(new ReplacingFile(full));
    return file->Open(error) ? file.release() : NULL;
  }
  std::unique_ptr<CFile> file(new CFile);
  return file->Open(fileName, openFlags, error) ? file.release() : NULL;
}

void CDocument::ReleaseFile(CFile* file, BOOL abort) {
  std::unique_ptr<CFile> owned(file);  // deleted even when closing throws
  if (abort)
    owned->Abort();
  else
    owned->Close();
}

namespace {
// Loads or stores doc through its GetFile's file for path; false (after telling the user) when that failed.
// A load empties the document first and again after a failure; a store reaches the file only when whole.
BOOL SerializeThroughFile(CDocument& doc, LPCSTR path, BOOL storing) {
  UINT failure = storing ? AFX_IDP_FAILED_TO_SAVE_DOC : AFX_IDP_FAILED_TO_OPEN_DOC;
  UINT flags = storing ? CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive
                       : CFile::modeRead | CFile::shareDenyWrite;
  CFileException error;
  CFile* file = doc.GetFile(path, flags, &error);
  if (!file) {
    doc.ReportSaveLoadException(path, &error, storing, failure);
    return FALSE;
  }
  if (!storing) {
    doc.DeleteContents();
    doc.SetModifiedFlag(TRUE);  // dirty while loading
  }
  try {
    {
      CArchive ar(file, UINT(storing ? CArchive::store : CArchive::load) | CArchive::bNoFlushOnDelete);
      ar.m_pDocument = &doc;
      doc.Serialize(ar);
      ar.Close();
    }
    CFile* done = file;
    file = NULL;
    doc.ReleaseFile(done, FALSE);  // a store replaces the old file only now
  } catch (...) {
    CException* e = afxstate::CurrentExceptionAsFramework();
    if (file) doc.ReleaseFile(file, TRUE);
    if (!storing) doc.DeleteContents();
    doc.ReportSaveLoadException(path, e, storing, failure);
    e->Delete();
    return FALSE;
  }
  doc.SetModifiedFlag(FALSE);
  return TRUE;
}
}  // namespace

BOOL CDocument::OnOpenDocument(LPCSTR path) { return SerializeThroughFile(*this, path, FALSE); }
BOOL CDocument::OnSaveDocument(LPCSTR path) { return SerializeThroughFile(*this, path, TRUE); }

void CDocument::ReportSaveLoadException(LPCSTR, CException* e, BOOL, UINT defaultPromptId) {
  if (e && e->IsKindOf(RUNTIME_CLASS(CUserException))) return;  // already told
  if (e)
    e->ReportError(MB_ICONEXCLAMATION, defaultPromptId);
  else
    AfxMessageBox(defaultPromptId, MB_ICONEXCLAMATION);
}

void CDocument::OnCloseDocument() {
  BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;  // the frames' views going away must not delete us meanwhile
  while (!m_viewList.IsEmpty()) {
    CView* view = static_cast<CView*>(m_viewList.GetHead());
    CFrameWnd* frame = view->GetParentFrame();
    if (frame) {
      PreCloseFrame(frame);
      frame->DestroyWindow();
    } else {
      view->DestroyWindow();
    }
    if (!m_viewList.IsEmpty() && m_viewList.GetHead() == view) RemoveView(view);  // a view that stayed
  }
  m_bAutoDelete = autoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame) {
  // Only the last frame on the document asks to save it.
  for (POSITION pos = GetFirstViewPosition(); pos;) {
    CFrameWnd* other = GetNextView(pos)->GetParentFrame();
    if (other && other != frame) return TRUE;
  }
  return SaveModified();
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
  CString prompt;
  AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name);
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    default: return TRUE;
  }
}

BOOL CDocument::DoFileSave() {
  DWORD attributes = ::GetFileAttributesA(m_strPathName);
  if (m_strPathName.IsEmpty() || (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)))
    return DoSave(NULL);
  return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCSTR path, BOOL replace) {
  CString name = path ? CString(path) : CString();
  if (name.IsEmpty()) {
    name = m_strPathName;
    if (name.IsEmpty()) name = m_strTitle;
    CWinApp* app = AfxGetApp();
    if (!app || !app->DoPromptFileName(name, replace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                       OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT, FALSE, m_pDocTemplate))
      return FALSE;
  }
  CWaitCursor wait;
  if (!OnSaveDocument(name)) return FALSE;
  if (replace) SetPathName(name);
  return TRUE;
}

void CDocument::OnFileClose() {
  if (!SaveModified()) return;
  OnCloseDocument();
}
void CDocument::OnFileSave() { DoFileSave(); }
void CDocument::OnFileSaveAs() { DoSave(NULL); }

namespace {

// Simple MAPI for one call: loaded when asked for, let go after.
class MailLibrary {
 public:
  MailLibrary() : m_library(::LoadLibraryA("MAPI32.DLL")), m_send(NULL) {
    if (m_library) m_send = reinterpret_cast<LPMAPISENDMAIL>(::GetProcAddress(m_library, "MAPISendMail"));
  }
  ~MailLibrary() {
    if (m_library) ::FreeLibrary(m_library);
  }
  MailLibrary(const MailLibrary&) = delete;
  MailLibrary& operator=(const MailLibrary&) = delete;
  BOOL Loaded() const { return m_library != NULL; }
  LPMAPISENDMAIL Send() const { return m_send; }

 private:
  HMODULE m_library;
  LPMAPISENDMAIL m_send;
};

}  // namespace

void CDocument::OnFileSendMail() {
  MailLibrary mail;
  if (!mail.Loaded()) {
    AfxMessageBox(AFX_IDP_FAILED_MAPI_LOAD);
    return;
  }
  if (!mail.Send()) {
    AfxMessageBox(AFX_IDP_INVALID_MAPI_DLL);
    return;
  }
  CString path = m_strPathName;
  CString temporary;
  if (IsModified() || path.IsEmpty()) {
    // The mail carries the document as it is now, written for it; the document itself stays as it was.
    char folder[MAX_PATH], name[MAX_PATH];
    DWORD n = ::GetTempPathA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH || !::GetTempFileNameA(folder, "mai", 0, name)) {
      AfxMessageBox(AFX_IDP_FAILED_TO_SAVE_DOC);
      return;
    }
    temporary = name;
    BOOL modified = IsModified();
    BOOL saved = OnSaveDocument(temporary);
    SetModifiedFlag(modified);
    if (!saved) {
      ::DeleteFileA(temporary);
      return;
    }
    path = temporary;
  }
  int slash = std::max(m_strPathName.ReverseFind('\\'), m_strPathName.ReverseFind('/'));
  CString display = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName.Mid(slash + 1);
  MapiFileDesc file = {};
  file.nPosition = ULONG(-1);
  file.lpszPathName = const_cast<LPSTR>(LPCSTR(path));
  file.lpszFileName = const_cast<LPSTR>(LPCSTR(display));
  MapiMessage message = {};
  message.nFileCount = 1;
  message.lpFiles = &file;
  CWnd* main = AfxGetMainWnd();
  CFrameWnd* frame = main ? main->GetTopLevelFrame() : NULL;
  if (frame) frame->BeginModalState();
  ULONG result = mail.Send()(0, ULONG_PTR(main ? main->m_hWnd : NULL), &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);
  if (frame) frame->EndModalState();
  if (!temporary.IsEmpty()) ::DeleteFileA(temporary);
  if (result != SUCCESS_SUCCESS && result != MAPI_USER_ABORT && result != MAPI_E_LOGIN_FAILURE)
    AfxMessageBox(AFX_IDP_FAILED_MAPI_SEND);
}

BOOL CDocument::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  if (CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo)) return TRUE;
  return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(id, code, extra, handlerInfo);
}

// ---------------------------------------------------------------------------------------------

CDocTemplate::CDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass) {}

CDocTemplate::~CDocTemplate() {
  for (HMENU menu : {m_hMenuInPlace, m_hMenuEmbedding, m_hMenuInPlaceServer})
    if (menu) ::DestroyMenu(menu);
}

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const {
  text.Empty();
  int start = 0;
  for (int i = 0; i < int(index); ++i) {
    int next = m_strDocStrings.Find('\n', start);
    if (next < 0) return FALSE;
    start = next + 1;
  }
  int end = m_strDocStrings.Find('\n', start);
  text = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
  return !text.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* doc) { doc->m_pDocTemplate = this; }
void CDocTemplate::RemoveDocument(CDocument* doc) { doc->m_pDocTemplate = NULL; }

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCSTR path, CDocument*& match) {
  match = NULL;
  for (POSITION pos = GetFirstDocPosition(); pos;) {
    CDocument* doc = GetNextDoc(pos);
    if (!doc->GetPathName().IsEmpty() && AfxComparePath(doc->GetPathName(), path)) {
      match = doc;
      return yesAlreadyOpen;
    }
  }
  CString ext;
  if (GetDocString(ext, filterExt) && !ext.IsEmpty()) {
    // The filter may list several extensions separated by ';' ("*.a;*.b" or ".a").
    CString name(path);
    int dot = name.ReverseFind('.');
    int slash = name.ReverseFind('\\');
    CString fileExt = dot > slash ? name.Mid(dot) : CString();
    int start = 0;
    while (start <= ext.GetLength()) {
      int end = ext.Find(';', start);
      CString one = end < 0 ? ext.Mid(start) : ext.Mid(start, end - start);
      one.TrimLeft();
      one.TrimRight();
      if (one.Left(1) == "*") one = one.Mid(1);
      if (!one.IsEmpty() && !fileExt.IsEmpty() && one.CompareNoCase(fileExt) == 0) return yesAttemptNative;
      if (end < 0) break;
      start = end + 1;
    }
  }
  return yesAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument() {
  if (!m_pDocClass) AfxThrowNotSupportedException();
  CObject* object = m_pDocClass->CreateObject();
  CDocument* doc = dynamic_cast<CDocument*>(object);
  if (!doc) {
    delete object;
    AfxThrowNotSupportedException();
  }
  AddDocument(doc);
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
  CCreateContext context;
  context.m_pCurrentFrame = other;
  context.m_pCurrentDoc = doc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  if (!m_pFrameClass) AfxThrowNotSupportedException();
  CObject* object = m_pFrameClass->CreateObject();
  CFrameWnd* frame = dynamic_cast<CFrameWnd*>(object);
  if (!frame) {
    delete object;
    AfxThrowNotSupportedException();
  }
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, &context)) return NULL;
  return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible) {
  frame->InitialUpdateFrame(doc, makeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
  for (POSITION pos = GetFirstDocPosition(); pos;)
    if (!GetNextDoc(pos)->SaveModified()) return FALSE;
  return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
  while (POSITION pos = GetFirstDocPosition()) {
    CDocument* doc = GetNextDoc(pos);
    doc->OnCloseDocument();
    if (GetFirstDocPosition() && GetNextDoc(pos = GetFirstDocPosition()) == doc) {
      RemoveDocument(doc);  // a document that does not delete itself leaves the list anyway
    }
  }
}

// ---------------------------------------------------------------------------------------------

CMultiDocTemplate::CMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                     CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, docClass, frameClass, viewClass), m_hMenuShared(NULL), m_hAccelTable(NULL),
      m_nUntitledCount(0) {
  LoadTemplate();
}

CMultiDocTemplate::~CMultiDocTemplate() {
  if (m_hMenuShared) ::DestroyMenu(m_hMenuShared);
}

void CMultiDocTemplate::LoadTemplate() {
  CDocTemplate::LoadTemplate();
  LPCSTR name = MAKEINTRESOURCEA(m_nIDResource);
  if (!m_hMenuShared) {
    HINSTANCE module = AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_MENU));
    m_hMenuShared = ::LoadMenuA(module, name);
  }
  if (!m_hAccelTable) {
    HINSTANCE module = AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_ACCELERATOR));
    m_hAccelTable = ::LoadAcceleratorsA(module, name);
  }
}

void CMultiDocTemplate::AddDocument(CDocument* doc) {
  CDocTemplate::AddDocument(doc);
  m_docList.AddTail(doc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* doc) {
  CDocTemplate::RemoveDocument(doc);
  if (POSITION pos = m_docList.Find(doc)) m_docList.RemoveAt(pos);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* doc) {
  CString name;
  if (!GetDocString(name, docName) && !name.LoadString(AFX_IDS_UNTITLED)) name = "Untitled";
  char number[16];
  snprintf(number, sizeof number, "%u", ++m_nUntitledCount);
  doc->SetTitle(name + number);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible) {
  CDocument* doc = CreateNewDocument();
  BOOL autoDelete = doc->m_bAutoDelete;
  doc->m_bAutoDelete = FALSE;  // a frame that fails must not take the document with it
  CFrameWnd* frame = CreateNewFrame(doc, NULL);
  doc->m_bAutoDelete = autoDelete;
  if (!frame) {
    AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
    delete doc;
    return NULL;
  }
  if (CMDIChildWnd* child = dynamic_cast<CMDIChildWnd*>(frame)) {
    child->m_hMenuShared = m_hMenuShared;
    child->m_hAccelTable = m_hAccelTable;
  }
  if (!path) {
    SetDefaultTitle(doc);
    if (!doc->OnNewDocument()) {
      frame->DestroyWindow();
      return NULL;
    }
  } else {
    CWaitCursor wait;
    if (!doc->OnOpenDocument(path)) {
      frame->DestroyWindow();  // its view was the document's last: the document goes with it
      return NULL;
    }
    doc->SetPathName(path);
  }
  InitialUpdateFrame(frame, doc, makeVisible);
  return doc;
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                       CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, docClass, frameClass, viewClass), m_pOnlyDoc(NULL) {
  LoadTemplate();
}

CSingleDocTemplate::~CSingleDocTemplate() = default;

void CSingleDocTemplate::AddDocument(CDocument* doc) {
  CDocTemplate::AddDocument(doc);
  m_pOnlyDoc = doc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* doc) {
  CDocTemplate::RemoveDocument(doc);
  if (m_pOnlyDoc == doc) m_pOnlyDoc = NULL;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* doc) {
  CString name;
  if (!GetDocString(name, docName) && !name.LoadString(AFX_IDS_UNTITLED)) name = "Untitled";
  doc->SetTitle(name);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible) {
  CDocument* doc = m_pOnlyDoc;
  CFrameWnd* frame = NULL;
  bool created = false;
  if (doc) {
    if (!doc->SaveModified()) return NULL;
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = pos ? doc->GetNextView(pos) : NULL;
    frame = view ? view->GetParentFrame() : NULL;
  } else {
    doc = CreateNewDocument();
    created = true;
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    frame = CreateNewFrame(doc, NULL);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
      delete doc;
      return NULL;
    }
    if (!AfxGetApp()->m_pMainWnd) AfxGetApp()->m_pMainWnd = frame;
  }
  BOOL ok = path ? doc->OnOpenDocument(path) : doc->OnNewDocument();
  if (!ok) {
    if (created) frame->DestroyWindow();
    return NULL;
  }
  if (path)
    doc->SetPathName(path);
  else
    SetDefaultTitle(doc);
  InitialUpdateFrame(frame, doc, makeVisible);
  return doc;
}

// ---------------------------------------------------------------------------------------------

CString AFXAPI AfxTemplateFilter(const CDocTemplate* docTemplate) {
  CString name, ext;
  if (!docTemplate->GetDocString(name, CDocTemplate::filterName) || !docTemplate->GetDocString(ext, CDocTemplate::filterExt))
    return CString();
  CString pattern;
  int start = 0;
  while (start <= ext.GetLength()) {
    int end = ext.Find(';', start);
    CString one = end < 0 ? ext.Mid(start) : ext.Mid(start, end - start);
    one.TrimLeft();
    one.TrimRight();
    if (!one.IsEmpty()) {
      if (one[0] == '.') one = "*" + one;
      if (!pattern.IsEmpty()) pattern += ';';
      pattern += one;
    }
    if (end < 0) break;
    start = end + 1;
  }
  return name + "|" + pattern + "|";
}

CDocManager::CDocManager() = default;

CDocManager::~CDocManager() {
  while (!m_templateList.IsEmpty()) delete static_cast<CDocTemplate*>(m_templateList.RemoveHead());
}

void CDocManager::AddDocTemplate(CDocTemplate* docTemplate) {
  docTemplate->LoadTemplate();
  m_templateList.AddTail(docTemplate);
}

CDocument* CDocManager::OpenDocumentFile(LPCSTR path) {
  CDocTemplate* best = NULL;
  CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
  CDocument* open = NULL;
  char full[MAX_PATH];
  if (!AfxFullPath(full, path)) lstrcpynA(full, path, MAX_PATH);
  for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
    CDocTemplate* t = GetNextDocTemplate(pos);
    CDocument* match = NULL;
    CDocTemplate::Confidence c = t->MatchDocType(full, match);
    if (c > bestMatch) {
      bestMatch = c;
      best = t;
      open = match;
    }
    if (c == CDocTemplate::yesAlreadyOpen) break;
  }
  if (bestMatch == CDocTemplate::yesAlreadyOpen && open) {
    // Activate the first frame of the open document instead of opening it again.
    POSITION pos = open->GetFirstViewPosition();
    if (pos) {
      CView* view = open->GetNextView(pos);
      if (CFrameWnd* frame = view->GetParentFrame()) {
        frame->ActivateFrame();
        if (CFrameWnd* top = frame->GetTopLevelFrame())
          if (top != frame) top->ActivateFrame();
      }
    }
    return open;
  }
  if (!best) {
    AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC);
    return NULL;
  }
  return best->OpenDocumentFile(full);
}

BOOL CDocManager::SaveAllModified() {
  for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
    if (!GetNextDocTemplate(pos)->SaveAllModified()) return FALSE;
  return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL endSession) {
  for (POSITION pos = GetFirstDocTemplatePosition(); pos;) GetNextDocTemplate(pos)->CloseAllDocuments(endSession);
}

int CDocManager::GetOpenDocumentCount() {
  int n = 0;
  for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
    CDocTemplate* t = GetNextDocTemplate(pos);
    for (POSITION d = t->GetFirstDocPosition(); d; t->GetNextDoc(d)) ++n;
  }
  return n;
}

void CDocManager::OnFileNew() {
  if (m_templateList.IsEmpty()) AfxThrowNotSupportedException();
  CDocTemplate* t = static_cast<CDocTemplate*>(m_templateList.GetHead());
  if (m_templateList.GetCount() > 1) {
    // Several kinds of document: the user picks one from the templates' file-new names.
    class TypeDialog : public CDialog {
     public:
      TypeDialog(CPtrList& list) : CDialog(AFX_IDD_NEWTYPEDLG), m_list(list), m_chosen(NULL) {}
      BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        CListBox* box = static_cast<CListBox*>(GetDlgItem(AFX_IDC_LISTBOX));
        for (POSITION pos = m_list.GetHeadPosition(); pos;) {
          CDocTemplate* t = static_cast<CDocTemplate*>(m_list.GetNext(pos));
          CString name;
          if (t->GetDocString(name, CDocTemplate::fileNewName)) box->SetItemData(box->AddString(name), DWORD_PTR(t));
        }
        box->SetCurSel(0);
        return TRUE;
      }
      void OnOK() override {
        CListBox* box = static_cast<CListBox*>(GetDlgItem(AFX_IDC_LISTBOX));
        int sel = box->GetCurSel();
        m_chosen = sel >= 0 ? reinterpret_cast<CDocTemplate*>(box->GetItemData(sel)) : NULL;
        CDialog::OnOK();
      }
      CPtrList& m_list;
      CDocTemplate* m_chosen;
    } dialog(m_templateList);
    if (dialog.DoModal() != IDOK || !dialog.m_chosen) return;
    t = dialog.m_chosen;
  }
  t->OpenDocumentFile(NULL);
}

void CDocManager::OnFileOpen() {
  CString name;
  if (!DoPromptFileName(name, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, NULL)) return;
  AfxGetApp()->OpenDocumentFile(name);
}
