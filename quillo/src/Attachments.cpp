// Rendering the card for delivery: the front picture of a package at the media's own size, the card picture at
// 630 x 846, both saved as JPEG with the imaging toolkit's quality factor 25.
#include "Attachments.h"

#include <media/LeadBitmap.h>

#include "CardBack.h"
#include "CardDialog.h"
#include "CardFront.h"
#include "Preferences.h"
#include "quillo/CardPackage.h"
#include "quillo/QuilloIds.h"

namespace {

const int kColorBits = 24;

// A 24-bit drawing surface of a fixed size whose picture can be saved as a JPEG.
class Canvas {
 public:
  Canvas(int width, int height) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = kColorBits;
    m_format = format;
    m_bitmap = CreateDIBSection(NULL, &m_format, DIB_RGB_COLORS, &m_bits, NULL, 0);
    if (m_bitmap && m_dc.CreateCompatibleDC(NULL)) m_old = m_dc.SelectObject(m_bitmap);
  }
  ~Canvas() {
    if (m_old) m_dc.SelectObject(m_old);
    if (m_bitmap) DeleteObject(m_bitmap);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool ok() const { return m_old != NULL; }
  CDC* dc() { return &m_dc; }
  // Saves what was drawn as a JPEG with the toolkit's quality factor; false on failure.
  bool SaveJpeg(const std::string& path) {
    GdiFlush();
    CLeadBitmap picture;
    bool saved = picture.ConvertFromDIB(&m_format, m_bits) == NXE_NONE &&
                 picture.SaveFile(path.c_str(), ORVL_FMT_JPEG, kColorBits, quillo::kAttachmentJpegQualityFactor, 0) ==
                     NXE_NONE;
    picture.Free();
    return saved;
  }

 private:
  BITMAPINFO m_format = {};
  void* m_bits = nullptr;
  HBITMAP m_bitmap = NULL;
  CDC m_dc;
  HGDIOBJ m_old = NULL;
};

void ReportNotMade(UINT textId) {
  CString text;
  text.LoadString(textId);
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

// The back with the controls' texts taken in; null after telling the user when it cannot be made.
cCardBack* BackWithTexts(cCardDialog& card) {
  cCardBack* back = card.EnsureBack();
  if (back) back->TakeTexts();
  return back;
}

}  // namespace

std::string BuildPackageAttachment(cCardDialog& card, MapiFileDesc* desc) {
  cCardFront* front = card.GetFront();
  cCardBack* back = BackWithTexts(card);
  if (!front || !back) return std::string();
  const CSize size = front->Editor().GetPictureSize();
  std::string picture;
  if (size.cx > 0 && size.cy > 0) {
    Canvas canvas(size.cx, size.cy);
    picture = quillo::ReserveTempFile();
    if (picture.empty() || !canvas.ok() || !front->DrawMedia(canvas.dc()) || !canvas.SaveJpeg(picture)) {
      if (!picture.empty()) DeleteFileA(picture.c_str());
      picture.clear();
    }
  }
  if (picture.empty()) {
    ReportNotMade(IDS_FRONT_NOT_RENDERED);
    return std::string();
  }
  quillo::CardPackageRequest request;
  request.frontPicture = picture;
  request.mediaFile = LPCSTR(card.GetVideoPath().IsEmpty() ? card.GetMediaPath() : card.GetVideoPath());
  if (card.HasSound()) request.soundFile = LPCSTR(card.GetSoundFile());
  request.subject = LPCSTR(back->GetSubjectText());
  request.message = LPCSTR(back->GetMessageText());
  request.sender = LPCSTR(back->GetSenderText());
  request.recipients = LPCSTR(back->GetRecipientText());
  request.created = back->GetTimeStamp();
  request.pictureFront = (card.GetFlags() & kCardPictureFront) != 0;
  request.linkLabel = LPCSTR(cPreferences::LinkLabel());
  request.linkAddress = LPCSTR(cPreferences::LinkAddress());
  return quillo::BuildPackageFromFront(request, desc);
}

std::string BuildPictureAttachment(cCardDialog& card, MapiFileDesc* desc) {
  cCardFront* front = card.GetFront();
  cCardBack* back = BackWithTexts(card);
  if (!front || !back) return std::string();
  Canvas canvas(quillo::kCardPictureWidth, quillo::kCardPictureHeight);
  if (!canvas.ok()) {
    ReportNotMade(IDS_PICTURE_NOT_MADE);
    return std::string();
  }
  const CRect half(0, 0, quillo::kCardPictureWidth, quillo::kCardPictureBackTop);
  front->DrawCard(canvas.dc(), half, TRUE);
  canvas.dc()->SetViewportOrg(0, quillo::kCardPictureBackTop);
  back->DrawCard(canvas.dc(), half, TRUE);
  canvas.dc()->SetViewportOrg(0, 0);
  const std::string path = quillo::ReserveTempFile();
  if (path.empty() || !canvas.SaveJpeg(path)) {
    if (!path.empty()) DeleteFileA(path.c_str());
    ReportNotMade(IDS_PICTURE_NOT_MADE);
    return std::string();
  }
  quillo::FillAttachmentDesc(desc, path, quillo::kPictureExtension);
  return path;
}
