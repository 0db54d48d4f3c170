// The media info dialogs of NXMedia: cPictureInfoDialog, cVideoInfoDialog and cWaveInfoDialog show a
// file's name (editable, to rename it), size, date and the kind's own facts beside a thumbnail, with
// context help. The Gallery and the batch commands open them, usually through the objects' ShowProperties.
// The rename rule and the colour text are free functions so that callers and tests reach them directly.
#pragma once
#include <media/NXMedia.h>
#include <memory>

namespace nxmedia {

enum RenamePlan { RENAME_UNCHANGED, RENAME_MOVE, RENAME_INVALID };

// What renaming the file at currentPath to the edited name means: unchanged when the name (with its
// extension) is the same; otherwise a move to the same folder under the edited name without its extension
// plus the current extension (attemptedName is that name). Invalid for an empty name or one that names
// another folder or holds characters a file name cannot hold.
NXMEDIA_API RenamePlan PlanRename(LPCSTR currentPath, LPCSTR editedName, CString& newPath, CString& attemptedName);

// The colour-count phrase for a picture of the given bits per pixel from the phrase list (IDS 210).
NXMEDIA_API CString ColorsText(int bitsPerPixel, BOOL jpeg, const cStringEx& phrases);

// The thumbnail box the objects' ShowProperties make their thumbnail for, in pixels.
const int kInfoThumbnailWidth = 120;
const int kInfoThumbnailHeight = 90;

}  // namespace nxmedia

// What the three dialogs share: the name, size and date texts, the rename on OK, the thumbnail frame and
// context help. The kinds fill their own facts in InitFileInfo.
class NXMEDIA_API cMediaInfoDialog : public CDialog {
  DECLARE_DYNAMIC(cMediaInfoDialog)
 public:
  // untitled: the object has no file yet (the name shows string 203 and cannot be edited);
  // allowRename: the name may be edited to rename the file.
  cMediaInfoDialog(UINT templateId, CWnd* parent, BOOL untitled, BOOL allowRename);
  ~cMediaInfoDialog() override;

  // The picture drawn in the thumbnail frame (not owned; it must outlive the dialog).
  void SetThumbnail(CBitmap* thumbnail) { m_pThumbnail = thumbnail; }
  // The file's path, after a rename the new one.
  CString GetPath() const { return m_path; }

  virtual void InitFileInfo() = 0;
  // Renames the file to the edited name text; true when it was unchanged or the move worked.
  virtual BOOL DoFileRename();
  // Last-write time in local time as the user's short date, a space and the time; empty when not found.
  static CString PASCAL GetFileDate(LPCSTR path);

  CString m_nameText;
  CString m_sizeText;
  CString m_dateText;

 protected:
  // The object whose file is shown; a rename gives it the new path.
  virtual cMediaObject* Object() const = 0;
  // Control id and help id pairs ending in 0, 0.
  virtual const DWORD* HelpMap() const = 0;
  // Name and date texts from the path.
  void InitNameAndDate();
  // The size text from the file system or, for a path without a folder, the object's memory size.
  void InitSizeText();
  CString DimensionsText(int width, int height) const;
  CString TypeText(FileFormat format) const;

  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
  afx_msg BOOL OnHelpInfo(HELPINFO* info);
  afx_msg void OnContextMenu(CWnd* wnd, CPoint point);

  CString m_path;
  BOOL m_bUntitled;
  BOOL m_bAllowRename;
  CBitmap* m_pThumbnail;

  DECLARE_MESSAGE_MAP()
};

class NXMEDIA_API cPictureInfoDialog : public cMediaInfoDialog {
  DECLARE_DYNAMIC(cPictureInfoDialog)
 public:
  explicit cPictureInfoDialog(CWnd* parent = NULL, BOOL untitled = FALSE, BOOL allowRename = TRUE);
  ~cPictureInfoDialog() override;

  void SetImageObject(cImageObject* picture);  // not owned
  void SetImageFile(LPCSTR path);              // a picture known only by its file
  void SetImageThumbnail(CBitmap* thumbnail) { SetThumbnail(thumbnail); }
  void InitFileInfo() override;

  CString m_dimensionsText;
  CString m_typeText;
  CString m_colorsText;

 protected:
  cMediaObject* Object() const override { return m_pImage; }
  const DWORD* HelpMap() const override;
  void DoDataExchange(CDataExchange* dx) override;

  cImageObject* m_pImage;
  std::unique_ptr<cImageObject> m_ownImage;
};

class NXMEDIA_API cVideoInfoDialog : public cMediaInfoDialog {
  DECLARE_DYNAMIC(cVideoInfoDialog)
 public:
  explicit cVideoInfoDialog(CWnd* parent = NULL, BOOL untitled = FALSE, BOOL allowRename = TRUE);
  ~cVideoInfoDialog() override;

  void SetVideoObject(cVideoObject* video);  // not owned
  void SetFile(LPCSTR path);                 // a video known only by its file
  void SetTitle(LPCSTR title);               // the caption instead of the template's
  void InitFileInfo() override;

  CString m_dimensionsText;
  CString m_lengthText;
  CString m_frameRateText;
  CString m_typeText;

 protected:
  cMediaObject* Object() const override { return m_pVideo; }
  const DWORD* HelpMap() const override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;

  cVideoObject* m_pVideo;
  std::unique_ptr<cVideoObject> m_ownVideo;
  CString m_title;
};

class NXMEDIA_API cWaveInfoDialog : public cMediaInfoDialog {
  DECLARE_DYNAMIC(cWaveInfoDialog)
 public:
  explicit cWaveInfoDialog(CWnd* parent = NULL, BOOL untitled = FALSE, BOOL allowRename = TRUE);
  ~cWaveInfoDialog() override;

  void SetWaveObject(cWaveObject* sound);  // not owned
  void SetWaveFile(LPCSTR path);           // a sound known only by its file
  void InitFileInfo() override;

  CString m_formatText;
  CString m_channelsText;
  CString m_sampleRateText;
  CString m_typeText;

 protected:
  cMediaObject* Object() const override { return m_pWave; }
  const DWORD* HelpMap() const override;
  void DoDataExchange(CDataExchange* dx) override;

  cWaveObject* m_pWave;
  std::unique_ptr<cWaveObject> m_ownWave;
};
