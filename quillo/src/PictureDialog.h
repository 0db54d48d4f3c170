// cPictureOpenDialog: the program's picture open dialog, the system's open dialog with a preview beside it of
// the picture (or the video's first frame) under the selection. Its filter offers the pictures the card reads
// and its videos; its title comes from the resource library.
#pragma once
#include <afxdlgs.h>

#include <memory>

class cPictureOpenDialog : public CFileDialog {
 public:
  explicit cPictureOpenDialog(CWnd* parent);
  ~cPictureOpenDialog() override;
  // The folder the dialog opens in (empty: the system's choice).
  void SetInitialFolder(LPCSTR folder);
  // The preview of path for a box of the size (the picture fitted into it), or null when it has none.
  static CBitmap* MakePreview(LPCSTR path, CDC* dc, CSize box);

 protected:
  static UINT_PTR CALLBACK PreviewHook(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  void ShowPreview(HWND panel, LPCSTR path);
  void DrawPreview(const DRAWITEMSTRUCT* item);

 private:
  CString m_title;
  CString m_folder;
  std::unique_ptr<CBitmap> m_preview;
  CString m_previewPath;
};
