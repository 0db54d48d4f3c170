// Recompressing the card's video: the compressor code of its video stream, the question, the save-options
// dialog over the platform's stream, and the save through our AVI classes.
#include "VideoCompression.h"

#include <vfw.h>

#include <media/AVIFile.h>
#include <media/MediaHost.h>

#include "quillo/QuilloIds.h"

namespace quillo {

namespace {

const DWORD kHandlerDib = mmioFOURCC('D', 'I', 'B', ' ');
const DWORD kHandlerI420 = mmioFOURCC('I', '4', '2', '0');
const DWORD kHandlerIyuv = mmioFOURCC('I', 'Y', 'U', 'V');

// The code with its letters in upper case: some writers store them in lower case.
DWORD UpperCode(DWORD code) {
  DWORD upper = 0;
  for (int i = 0; i < 4; ++i) {
    const char c = char((code >> (8 * i)) & 0xFF);
    upper |= DWORD(BYTE(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c)) << (8 * i);
  }
  return upper;
}

}  // namespace

UncompressedKind UncompressedKindOf(DWORD handler) {
  const DWORD code = UpperCode(handler);
  if (code == kHandlerDib) return UncompressedKind::kRgb;
  if (code == kHandlerI420 || code == kHandlerIyuv) return UncompressedKind::kYuv;
  return UncompressedKind::kNone;
}

}  // namespace quillo

namespace {

// The platform's AVI file handler, which reads a clip whatever its name's extension.
const CLSID kAviFileHandler = {0x00020000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const char kTemporaryExtension[] = "avi";

// The compressor code of the file's first video stream, or 0 when it has none.
DWORD VideoHandlerOf(LPCSTR video) {
  cAVIFile file;
  if (!file.Open(video, OF_READ, NULL)) return 0;
  std::unique_ptr<cAVIStream> stream(file.GetStream(streamtypeVIDEO, 0));
  AVISTREAMINFOA info = {};
  return stream && stream->GetInfo(&info) ? info.fccHandler : 0;
}

enum class Choice { kChosen, kCancelled, kUnavailable };

// The compression the user picks in the system's save-options dialog for the clip's video stream, shown over
// the platform's own stream of the clip. options must be freed with AVISaveOptionsFree.
Choice ChooseCompression(CWnd* owner, LPCSTR video, AVICOMPRESSOPTIONS* options) {
  AVIFileInit();
  PAVIFILE file = NULL;
  PAVISTREAM stream = NULL;
  Choice choice = Choice::kUnavailable;
  CLSID handler = kAviFileHandler;
  if (AVIFileOpenA(&file, video, OF_READ | OF_SHARE_DENY_WRITE, &handler) == AVIERR_OK &&
      AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK) {
    AVICOMPRESSOPTIONS* list[1] = {options};
    const BOOL chosen = AVISaveOptions(owner ? owner->GetSafeHwnd() : NULL, ICMF_CHOOSE_KEYFRAME, 1, &stream, list);
    choice = chosen == TRUE ? Choice::kChosen : Choice::kCancelled;
  }
  if (stream) AVIStreamRelease(stream);
  if (file) AVIFileRelease(file);
  AVIFileExit();
  return choice;
}

void ReportFailure(LPCSTR video) {
  CString text;
  AfxFormatString1(text, IDS_COMPRESS_FAILED, video);
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

BOOL RecompressVideoForSending(CWnd* owner, LPCSTR video, CString* recompressed) {
  const quillo::UncompressedKind kind = quillo::UncompressedKindOf(VideoHandlerOf(video));
  if (kind == quillo::UncompressedKind::kNone) return FALSE;
  CString kindText, question;
  kindText.LoadString(kind == quillo::UncompressedKind::kRgb ? IDS_UNCOMPRESSED_RGB : IDS_UNCOMPRESSED_YUV);
  AfxFormatString1(question, IDS_COMPRESS_QUESTION, kindText);
  if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return FALSE;

  AVICOMPRESSOPTIONS options;
  memset(&options, 0, sizeof options);
  const Choice choice = ChooseCompression(owner, video, &options);
  const CString target = choice == Choice::kChosen ? nxmedia::ModuleHost().NewTemporaryFile(kTemporaryExtension)
                                                   : CString();
  BOOL saved = FALSE;
  if (!target.IsEmpty()) {
    try {
      cAVIEditFile clip;
      saved = clip.Open(video, OF_READ, NULL) && clip.SaveAs(target, &options);
    } catch (CException* e) {
      e->Delete();
    }
  }
  AVICOMPRESSOPTIONS* list[1] = {&options};
  AVISaveOptionsFree(1, list);
  if (choice == Choice::kCancelled) return FALSE;
  if (!saved) {
    if (!target.IsEmpty()) DeleteFileA(target);
    ReportFailure(video);
    return FALSE;
  }
  *recompressed = target;
  return TRUE;
}
