// The base document and view of the components: the document sends itself by mail (through the framework's
// mail sending) or as a postcard (a JPEG copy handed to the postcard program); the view gives its document
// as a cNXComponentDoc. The Gallery, Enhancer and Browser documents and views derive from these.
#pragma once
#include "afxwin.h"
#include "framework/NXFrameIds.h"

namespace nxframework {

// The temporary copy's name for a document at documentPath with the wanted extension (".jpg"): in tempDir
// (ending in a backslash) under the document's file name, or, for a document without an extension, a
// unique name made there (its ".TMP" replaced; the file the system made for it is removed). Empty when no
// name can be had.
CString TempCopyName(LPCSTR tempDir, LPCSTR documentPath, LPCSTR extension);
// The postcard program: "Path" under the user's Quillo "Location" key as a short path, else "Path" in
// section "Quillo" of nexlumen.ini in the Windows folder; empty when neither names one.
CString FindPostcardProgram();
// Starts program with picture's short path ("<program> <picture>"); false when it is missing or does not
// start.
BOOL StartPostcardProgram(const CString& program, LPCSTR picture);

}  // namespace nxframework

class cNXComponentDoc : public CDocument {
  DECLARE_DYNCREATE(cNXComponentDoc)
 public:
  cNXComponentDoc();
  ~cNXComponentDoc() override;

  // The document's temporary copy with the wanted extension: its name (TempCopyName) filled by
  // WriteTempCopy; empty when there is none (the file is gone again).
  CString MakeTempCopy(LPCSTR extension);

 protected:
  // Writes the document to path as a file of extension's kind. The base copies the document's own file when
  // it is of that kind (same extension); subclasses convert.
  virtual BOOL WriteTempCopy(LPCSTR path, LPCSTR extension);
  // The extension a mailed copy gets: the document's own, ".jpg" without one.
  CString MailExtension() const;

  afx_msg void OnSendMail();
  afx_msg void OnSendPostcard();
  afx_msg void OnUpdateSend(CCmdUI* ui);
  DECLARE_MESSAGE_MAP()
};

// Subclasses draw (OnDraw).
class cNXComponentView : public CScrollView {
  DECLARE_DYNAMIC(cNXComponentView)
 public:
  cNXComponentDoc* GetDocument() const;

 protected:
  cNXComponentView();
};
