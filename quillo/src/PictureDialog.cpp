// cPictureOpenDialog: filter, title, first folder, and the preview panel of its own template.
#include "PictureDialog.h"

#include <media/NXMedia.h>

#include "CardLayout.h"
#include "quillo/CardPackage.h"
#include "quillo/QuilloIds.h"

namespace {

const char kVideoPatterns[] = "*.avi;*.ivs";
const DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE;
const int kPreviewFrame = 1;

CString PictureFilter() {
  CString filter;
  AfxFormatString2(filter, IDS_PICTURE_FILTER, cImageObject::GetCombinedOpenFilter(), kVideoPatterns);
  return filter;
}

}  // namespace

cPictureOpenDialog::cPictureOpenDialog(CWnd* parent)
    : CFileDialog(TRUE, NULL, NULL, kDialogFlags, PictureFilter(), parent) {
  m_title.LoadString(IDS_CHOOSE_PICTURE_TITLE);
  m_ofn.lpstrTitle = m_title;
  m_ofn.hInstance = AfxGetResourceHandle();
  m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_PICTURE_PREVIEW);
  m_ofn.lpfnHook = &PreviewHook;
}

cPictureOpenDialog::~cPictureOpenDialog() = default;

void cPictureOpenDialog::SetInitialFolder(LPCSTR folder) {
  m_folder = folder ? folder : "";
  m_ofn.lpstrInitialDir = m_folder.IsEmpty() ? NULL : LPCSTR(m_folder);
}

CBitmap* cPictureOpenDialog::MakePreview(LPCSTR path, CDC* dc, CSize box) {
  std::unique_ptr<cMediaObject> media;
  if (quillo::IsVideoFile(path))
    media.reset(new cVideoObject);
  else if (cImageObject::IsSupportedFileExtension(path))
    media.reset(new cImageObject);
  else
    return NULL;
  try {
    media->SetFileName(path);
    return media->CreateThumbnail(dc, box.cx, box.cy, 0, FALSE);
  } catch (CException* e) {
    e->Delete();
    return NULL;
  }
}

UINT_PTR CALLBACK cPictureOpenDialog::PreviewHook(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // The framework's hook keeps the dialog object in the panel's user data from WM_INITDIALOG on.
  const UINT_PTR handled = CFileDialog::HookProc(wnd, message, wParam, lParam);
  auto* self = reinterpret_cast<cPictureOpenDialog*>(::GetWindowLongPtrA(wnd, DWLP_USER));
  if (!self) return handled;
  try {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_SELCHANGE) {
      char path[MAX_PATH] = "";
      if (::SendMessageA(::GetParent(wnd), CDM_GETFILEPATH, MAX_PATH, LPARAM(path)) <= 0) path[0] = 0;
      self->ShowPreview(wnd, path);
    } else if (message == WM_DRAWITEM && wParam == IDC_PREVIEW_PICTURE) {
      self->DrawPreview(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    }
  } catch (CException* e) {
    e->Delete();  // a picture that cannot be previewed shows no preview
  }
  return handled;
}

void cPictureOpenDialog::ShowPreview(HWND panel, LPCSTR path) {
  if (m_previewPath == path) return;
  m_previewPath = path;
  HWND box = ::GetDlgItem(panel, IDC_PREVIEW_PICTURE);
  CRect area;
  ::GetClientRect(box, &area);
  area.DeflateRect(kPreviewFrame, kPreviewFrame);
  HDC screen = ::GetDC(box);
  m_preview.reset(*path && (GetFileAttributesA(path) & FILE_ATTRIBUTE_DIRECTORY) == 0
                      ? MakePreview(path, CDC::FromHandle(screen), area.Size())
                      : NULL);
  ::ReleaseDC(box, screen);
  ::InvalidateRect(box, NULL, TRUE);
}

void cPictureOpenDialog::DrawPreview(const DRAWITEMSTRUCT* item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CRect area(item->rcItem);
  dc->FillSolidRect(&area, quillo::kPhotoMatColor);
  CBrush frame(quillo::kCardEdgeColor);
  dc->FrameRect(&area, &frame);
  BITMAP info = {};
  if (m_preview && m_preview->GetBitmap(&info)) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(m_preview.get());
    dc->BitBlt(area.left + (area.Width() - info.bmWidth) / 2, area.top + (area.Height() - info.bmHeight) / 2,
               info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    return;
  }
  CString none;
  none.LoadString(IDS_NO_PREVIEW);
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(quillo::kLabelColor);
  dc->DrawText(none, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
