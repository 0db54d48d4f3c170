// cMediaEditor: loading the front's media and drawing its picture.
#include "MediaEditor.h"

#include "quillo/CardPackage.h"

namespace {

// A video object that gives its first frame as a picture, as the hand-off to the postcard program makes it.
class cCardVideo : public cVideoObject {
 public:
  cImageObject* StillFrame() { return MakePostcardPicture(); }
};

}  // namespace

BOOL cMediaEditor::CanOpen(LPCSTR path) {
  try {
    if (quillo::IsVideoFile(path))
      cVideoObject().UpdateFileInfo(path);
    else
      cImageObject().UpdateFileInfo(path);
    return TRUE;
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
}

void cMediaEditor::Load(LPCSTR path) {
  std::unique_ptr<cMediaObject> media;
  std::unique_ptr<cImageObject> still;
  if (quillo::IsVideoFile(path)) {
    std::unique_ptr<cCardVideo> video(new cCardVideo);
    video->CreateFromFile(path);
    // A clip whose first frame cannot be read still goes on the card; its front shows no picture.
    try {
      still.reset(video->StillFrame());
    } catch (CException* e) {
      e->Delete();
    }
    media = std::move(video);
  } else {
    std::unique_ptr<cImageObject> picture(new cImageObject);
    picture->CreateFromFile(path);
    media = std::move(picture);
  }
  m_media = std::move(media);
  m_still = std::move(still);
  m_display.reset();
  m_displaySize = CSize(0, 0);
}

BOOL cMediaEditor::IsVideo() const { return m_media && m_media->GetType() == DATATYPE_VIDEO; }

CString cMediaEditor::GetPath() const { return m_media ? m_media->GetFileName() : CString(); }

cImageObject* cMediaEditor::Picture() const {
  if (!m_media) return nullptr;
  if (IsVideo()) return m_still.get();
  return static_cast<cImageObject*>(m_media.get());
}

CSize cMediaEditor::GetPictureSize() const {
  cImageObject* picture = Picture();
  const CLeadBitmap* bitmap = picture ? picture->GetBitmap() : nullptr;
  return bitmap ? CSize(bitmap->Width, bitmap->Height) : CSize(0, 0);
}

BOOL cMediaEditor::DrawFitted(CDC* dc, const CRect& box) {
  cImageObject* picture = Picture();
  const CSize size = GetPictureSize();
  if (!picture || size.cx <= 0 || size.cy <= 0 || box.IsRectEmpty()) return FALSE;
  CRect fitted(0, 0, size.cx, size.cy);
  picture->AdjustToFitFrame(fitted, box);
  fitted.OffsetRect(box.left + (box.Width() - fitted.Width()) / 2, box.top + (box.Height() - fitted.Height()) / 2);
  // Large pictures are resampled once per size, which looks far better than the device's stretching.
  if (!m_display || m_displaySize != fitted.Size()) {
    std::unique_ptr<cImageObject> display(picture->CopyImage());
    display->Resize(fitted.Width(), fitted.Height(), 0);
    m_display = std::move(display);
    m_displaySize = fitted.Size();
  }
  return m_display->Draw(dc, fitted, NULL, NULL) == NXE_NONE;
}

BOOL cMediaEditor::DrawActualSize(CDC* dc, CPoint origin) {
  cImageObject* picture = Picture();
  const CSize size = GetPictureSize();
  if (!picture || size.cx <= 0 || size.cy <= 0) return FALSE;
  return picture->Draw(dc, CRect(origin, size), NULL, NULL) == NXE_NONE;
}
