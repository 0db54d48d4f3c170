// The media info dialogs: shared texts, the rename rule, the thumbnail frame and context help, and the
// picture, video and sound dialogs with NXMedia's ShowProperties (its host's) that open them.
#include <media/InfoDialogs.h>
#include <media/AVIFile.h>
#include <media/NXMediaIds.h>
#include <MessageBox.h>
#include <NXException.h>
#include "host.h"

namespace nxmedia {

namespace {

const char kInvalidNameCharacters[] = "\\/:*?\"<>|";

CString NameAfterLastBackslash(const CString& path) { return path.Mid(path.ReverseFind('\\') + 1); }

// The extension with its dot, or empty; a dot that starts the name (".profile") is no extension.
CString ExtensionOf(const CString& name) {
  int dot = name.ReverseFind('.');
  return dot > 0 ? name.Mid(dot) : CString();
}

CString WithoutExtension(const CString& name) {
  int dot = name.ReverseFind('.');
  return dot > 0 ? name.Left(dot) : (dot == 0 ? CString() : name);
}

}  // namespace

RenamePlan PlanRename(LPCSTR currentPath, LPCSTR editedName, CString& newPath, CString& attemptedName) {
  const CString current(currentPath ? currentPath : ""), edited(editedName ? editedName : "");
  newPath.Empty();
  const CString currentName = NameAfterLastBackslash(current);
  const CString extension = ExtensionOf(currentName);
  const CString stem = WithoutExtension(edited);
  attemptedName = stem + extension;
  if (edited == currentName) return RENAME_UNCHANGED;
  // The name edit renames in place; a name reaching another folder or device is refused.
  if (stem.IsEmpty() || stem == "." || stem == ".." || edited.FindOneOf(kInvalidNameCharacters) >= 0) return RENAME_INVALID;
  const int slash = current.ReverseFind('\\');
  newPath = (slash >= 0 ? current.Left(slash + 1) : CString()) + attemptedName;
  return RENAME_MOVE;
}

CString ColorsText(int bitsPerPixel, BOOL jpeg, const cStringEx& phrases) {
  enum { kThousands = 0, kMillions = 1, kBlackAndWhite = 2, kColors = 3, kGrays = 4, kOneColor = 5 };
  const int bits = bitsPerPixel < 0 ? 0 : (bitsPerPixel > 63 ? 63 : bitsPerPixel);
  const unsigned long long n = 1ULL << bits;
  char number[24];
  wsprintfA(number, "%I64u", n);
  int entry;
  if (n >= 1001 && n <= 999999)
    entry = kThousands;
  else if (n >= 1000001)
    entry = kMillions;
  else if (n == 2)
    entry = kBlackAndWhite;
  else if (n == 1)
    entry = kOneColor;
  else
    entry = jpeg ? kGrays : kColors;
  CString text;
  text.Format(phrases.GetSubstring(entry), number);
  return text;
}

}  // namespace nxmedia

// ---------------------------------------------------------------------------------------------

namespace {

CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

// The application's help file: the program's path with the help extension.
CString HelpFilePath() {
  char program[MAX_PATH];
  DWORD n = GetModuleFileNameA(NULL, program, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return CString();
  CString path(program);
  int dot = path.ReverseFind('.');
  if (dot > path.ReverseFind('\\')) path = path.Left(dot);
  return path + NXMEDIA_HELP_EXTENSION;
}

#define NXMEDIA_HELP_PAIR(id) id, NXMEDIA_HELP_BASE + (id)
#define NXMEDIA_COMMON_HELP                                                                                   \
  NXMEDIA_HELP_PAIR(IDC_NXMEDIA_THUMBNAIL), NXMEDIA_HELP_PAIR(IDC_NXMEDIA_NAME), NXMEDIA_HELP_PAIR(IDC_NXMEDIA_SIZE), \
      NXMEDIA_HELP_PAIR(IDC_NXMEDIA_DATE), NXMEDIA_HELP_PAIR(IDC_NXMEDIA_TYPE), NXMEDIA_HELP_PAIR(IDOK),          \
      NXMEDIA_HELP_PAIR(IDCANCEL)
const DWORD kPictureHelp[] = {NXMEDIA_COMMON_HELP, NXMEDIA_HELP_PAIR(IDC_NXMEDIA_DIMENSIONS),
                              NXMEDIA_HELP_PAIR(IDC_NXMEDIA_COLORS), 0, 0};
const DWORD kVideoHelp[] = {NXMEDIA_COMMON_HELP, NXMEDIA_HELP_PAIR(IDC_NXMEDIA_DIMENSIONS),
                            NXMEDIA_HELP_PAIR(IDC_NXMEDIA_LENGTH), NXMEDIA_HELP_PAIR(IDC_NXMEDIA_FRAME_RATE), 0, 0};
const DWORD kSoundHelp[] = {NXMEDIA_COMMON_HELP, NXMEDIA_HELP_PAIR(IDC_NXMEDIA_FORMAT),
                            NXMEDIA_HELP_PAIR(IDC_NXMEDIA_CHANNELS), NXMEDIA_HELP_PAIR(IDC_NXMEDIA_SAMPLE_RATE), 0, 0};

// A screen device context for the thumbnails ShowProperties makes.
struct ScreenDC {
  ScreenDC() : handle(GetDC(NULL)) { dc.Attach(handle); }
  ~ScreenDC() {
    dc.Detach();
    ReleaseDC(NULL, handle);
  }
  HDC handle;
  CDC dc;
};

}  // namespace

IMPLEMENT_DYNAMIC(cMediaInfoDialog, CDialog)

BEGIN_MESSAGE_MAP(cMediaInfoDialog, CDialog)
  ON_WM_DRAWITEM()
  ON_WM_HELPINFO()
  ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

cMediaInfoDialog::cMediaInfoDialog(UINT templateId, CWnd* parent, BOOL untitled, BOOL allowRename)
    : CDialog(templateId, parent), m_bUntitled(untitled), m_bAllowRename(allowRename), m_pThumbnail(NULL) {}

cMediaInfoDialog::~cMediaInfoDialog() = default;

CString PASCAL cMediaInfoDialog::GetFileDate(LPCSTR path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  if (!path || !GetFileAttributesExA(path, GetFileExInfoStandard, &attributes)) return CString();
  FILETIME local;
  SYSTEMTIME time;
  if (!FileTimeToLocalFileTime(&attributes.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &time))
    return CString();
  char date[80] = {}, clock[80] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, NULL, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, NULL, clock, sizeof clock);
  return CString(date) + " " + clock;
}

void cMediaInfoDialog::InitNameAndDate() {
  m_nameText = (m_bUntitled || (Object() && Object()->IsUntitled())) ? LoadText(IDS_NXMEDIA_UNTITLED)
                                                                       : nxmedia::NameAfterLastBackslash(m_path);
  m_dateText = GetFileDate(m_path);
}

void cMediaInfoDialog::InitSizeText() {
  unsigned long bytes = 0;
  if (m_path.Find('\\') < 0) {
    bytes = Object() ? (unsigned long)Object()->GetMemorySize() : 0;
  } else {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(m_path, GetFileExInfoStandard, &attributes)) throw new cNXException(NXERR_FILE_OPEN);
    bytes = attributes.nFileSizeLow;
  }
  m_sizeText.Format("%lu %s", bytes, (LPCSTR)LoadText(IDS_NXMEDIA_BYTES_UNIT));
}

CString cMediaInfoDialog::DimensionsText(int width, int height) const {
  if (width == 0 || height == 0) return LoadText(IDS_NXMEDIA_DIMENSIONS_UNKNOWN);
  CString text;
  text.Format("%d x %d %s", width, height, (LPCSTR)LoadText(IDS_NXMEDIA_DIMENSIONS_UNIT));
  return text;
}

CString cMediaInfoDialog::TypeText(FileFormat format) const {
  return cStringEx(IDS_NXMEDIA_TYPE_NAMES).GetSubstring(int(format));
}

BOOL cMediaInfoDialog::DoFileRename() {
  CString newPath, attempted;
  const nxmedia::RenamePlan plan = nxmedia::PlanRename(m_path, m_nameText, newPath, attempted);
  if (plan == nxmedia::RENAME_UNCHANGED) return TRUE;
  if (plan == nxmedia::RENAME_MOVE && MoveFileA(m_path, newPath)) {
    m_path = newPath;
    if (Object()) Object()->SetFileName(newPath);
    m_nameText = nxmedia::NameAfterLastBackslash(newPath);
    return TRUE;
  }
  CString message, caption = LoadText(IDS_NXMEDIA_RENAME_CAPTION);
  AfxFormatString1(message, IDS_NXMEDIA_RENAME_FAILED, attempted);
  NXMessageBox(m_hWnd ? this : CWnd::GetSafeOwner(), caption, message, NXMB_OK, NXMB_OK);
  return FALSE;
}

void cMediaInfoDialog::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Text(dx, IDC_NXMEDIA_NAME, m_nameText);
  if (!dx->m_bSaveAndValidate) {
    DDX_Text(dx, IDC_NXMEDIA_SIZE, m_sizeText);
    DDX_Text(dx, IDC_NXMEDIA_DATE, m_dateText);
  }
}

BOOL cMediaInfoDialog::OnInitDialog() {
  try {
    InitFileInfo();
  } catch (CException* e) {
    // The dialog opens with what could be read; the size line says the rest is missing.
    if (m_sizeText.IsEmpty()) m_sizeText = LoadText(IDS_NXMEDIA_INFO_UNAVAILABLE);
    e->Delete();
  }
  BOOL result = CDialog::OnInitDialog();
  if (m_bUntitled || !m_bAllowRename || m_path.IsEmpty()) {
    if (CWnd* name = GetDlgItem(IDC_NXMEDIA_NAME)) name->SendMessage(EM_SETREADONLY, TRUE);
  }
  return result;
}

void cMediaInfoDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (!m_bUntitled && m_bAllowRename && !m_path.IsEmpty() && !DoFileRename()) {
    // The dialog stays open so the name can be corrected or the change cancelled.
    if (CWnd* name = GetDlgItem(IDC_NXMEDIA_NAME)) GotoDlgCtrl(name);
    return;
  }
  EndDialog(IDOK);
}

void cMediaInfoDialog::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
  if (id != IDC_NXMEDIA_THUMBNAIL || !item) {
    CDialog::OnDrawItem(id, item);
    return;
  }
  CDC* dc = CDC::FromHandle(item->hDC);
  CRect frame(item->rcItem);
  dc->FillSolidRect(&frame, GetSysColor(COLOR_BTNFACE));
  dc->DrawEdge(&frame, EDGE_SUNKEN, BF_RECT);
  CRect inside(frame);
  inside.DeflateRect(2, 2);
  BITMAP info = {};
  if (!m_pThumbnail || !m_pThumbnail->GetSafeHandle() || !m_pThumbnail->GetBitmap(&info) || info.bmWidth <= 0)
    return;
  // A thumbnail larger than the frame is scaled down into it; a smaller one is centred unscaled.
  CRect picture(0, 0, info.bmWidth, info.bmHeight);
  if (picture.Width() > inside.Width() || picture.Height() > inside.Height())
    cMediaObject().AdjustToFitFrame(picture, CRect(0, 0, inside.Width(), inside.Height()));
  picture.OffsetRect(inside.left + (inside.Width() - picture.Width()) / 2,
                     inside.top + (inside.Height() - picture.Height()) / 2);
  CDC memory;
  if (!memory.CreateCompatibleDC(dc)) return;
  CBitmap* old = memory.SelectObject(m_pThumbnail);
  dc->SetStretchBltMode(HALFTONE);
  ::StretchBlt(dc->GetSafeHdc(), picture.left, picture.top, picture.Width(), picture.Height(), memory.GetSafeHdc(), 0,
               0, info.bmWidth, info.bmHeight, SRCCOPY);
  memory.SelectObject(old);
}

BOOL cMediaInfoDialog::OnHelpInfo(HELPINFO* info) {
  if (!info || info->iContextType != HELPINFO_WINDOW) return FALSE;
  return ::WinHelpA(static_cast<HWND>(info->hItemHandle), HelpFilePath(), HELP_WM_HELP, ULONG_PTR(HelpMap()));
}

void cMediaInfoDialog::OnContextMenu(CWnd* wnd, CPoint) {
  if (wnd) ::WinHelpA(wnd->GetSafeHwnd(), HelpFilePath(), HELP_CONTEXTMENU, ULONG_PTR(HelpMap()));
}

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(cPictureInfoDialog, cMediaInfoDialog)

cPictureInfoDialog::cPictureInfoDialog(CWnd* parent, BOOL untitled, BOOL allowRename)
    : cMediaInfoDialog(IDD_NXMEDIA_PICTURE_INFO, parent, untitled, allowRename), m_pImage(NULL) {}

cPictureInfoDialog::~cPictureInfoDialog() = default;

void cPictureInfoDialog::SetImageObject(cImageObject* picture) {
  m_ownImage.reset();
  m_pImage = picture;
}

void cPictureInfoDialog::SetImageFile(LPCSTR path) {
  m_ownImage.reset(new cImageObject);
  m_ownImage->SetFileName(path);
  m_pImage = m_ownImage.get();
}

void cPictureInfoDialog::InitFileInfo() {
  if (!m_pImage) throw new cNXException(NXERR_GENERAL);
  m_path = m_pImage->GetFileName();
  m_sizeText.Empty();
  InitNameAndDate();
  if (m_pImage->GetFileFormat() != FILEFORMAT_CLIENT) m_pImage->UpdateFileInfo(m_path);
  InitSizeText();
  m_dimensionsText = DimensionsText(m_pImage->GetWidth(), m_pImage->GetHeight());
  m_colorsText = nxmedia::ColorsText(m_pImage->GetBitsPerPixel(), m_pImage->GetFileFormat() == FILEFORMAT_JPEG,
                                     cStringEx(IDS_NXMEDIA_COLOR_PHRASES));
  m_typeText = TypeText(m_pImage->GetFileFormat());
}

void cPictureInfoDialog::DoDataExchange(CDataExchange* dx) {
  cMediaInfoDialog::DoDataExchange(dx);
  if (!dx->m_bSaveAndValidate) {
    DDX_Text(dx, IDC_NXMEDIA_DIMENSIONS, m_dimensionsText);
    DDX_Text(dx, IDC_NXMEDIA_COLORS, m_colorsText);
    DDX_Text(dx, IDC_NXMEDIA_TYPE, m_typeText);
  }
}

const DWORD* cPictureInfoDialog::HelpMap() const { return kPictureHelp; }

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(cVideoInfoDialog, cMediaInfoDialog)

cVideoInfoDialog::cVideoInfoDialog(CWnd* parent, BOOL untitled, BOOL allowRename)
    : cMediaInfoDialog(IDD_NXMEDIA_VIDEO_INFO, parent, untitled, allowRename), m_pVideo(NULL) {}

cVideoInfoDialog::~cVideoInfoDialog() = default;

void cVideoInfoDialog::SetVideoObject(cVideoObject* video) {
  m_ownVideo.reset();
  m_pVideo = video;
}

void cVideoInfoDialog::SetFile(LPCSTR path) {
  m_ownVideo.reset(new cVideoObject);
  m_ownVideo->SetFileName(path);
  m_pVideo = m_ownVideo.get();
}

void cVideoInfoDialog::SetTitle(LPCSTR title) { m_title = title ? title : ""; }

void cVideoInfoDialog::InitFileInfo() {
  if (!m_pVideo) throw new cNXException(NXERR_GENERAL);
  m_path = m_pVideo->GetFileName();
  m_sizeText.Empty();
  InitNameAndDate();
  m_pVideo->UpdateFileInfo(m_path);
  InitSizeText();
  m_dimensionsText = DimensionsText(m_pVideo->GetWidth(), m_pVideo->GetHeight());
  m_typeText = TypeText(m_pVideo->GetFileFormat());
  cAVIFile file;
  AVIFILEINFOA info = {};
  if (!file.Open(m_path, OF_READ, NULL) || !file.GetInfo(&info))
    throw new cNXException(IDS_NXMEDIA_NO_FILE_INFO, m_path, NULL, NXMediaResourceHandle());
  if (info.dwRate && info.dwScale) {
    const double framesPerSecond = double(info.dwRate) / double(info.dwScale);
    CString format;
    format.LoadString(IDS_NXMEDIA_LENGTH_FORMAT);
    m_lengthText.Format(format, double(info.dwLength) / framesPerSecond);
    format.LoadString(IDS_NXMEDIA_FRAME_RATE_FORMAT);
    m_frameRateText.Format(format, framesPerSecond);
  }
}

void cVideoInfoDialog::DoDataExchange(CDataExchange* dx) {
  cMediaInfoDialog::DoDataExchange(dx);
  if (!dx->m_bSaveAndValidate) {
    DDX_Text(dx, IDC_NXMEDIA_DIMENSIONS, m_dimensionsText);
    DDX_Text(dx, IDC_NXMEDIA_LENGTH, m_lengthText);
    DDX_Text(dx, IDC_NXMEDIA_FRAME_RATE, m_frameRateText);
    DDX_Text(dx, IDC_NXMEDIA_TYPE, m_typeText);
  }
}

BOOL cVideoInfoDialog::OnInitDialog() {
  BOOL result = cMediaInfoDialog::OnInitDialog();
  if (!m_title.IsEmpty()) SetWindowText(m_title);
  return result;
}

const DWORD* cVideoInfoDialog::HelpMap() const { return kVideoHelp; }

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(cWaveInfoDialog, cMediaInfoDialog)

cWaveInfoDialog::cWaveInfoDialog(CWnd* parent, BOOL untitled, BOOL allowRename)
    : cMediaInfoDialog(IDD_NXMEDIA_SOUND_INFO, parent, untitled, allowRename), m_pWave(NULL) {}

cWaveInfoDialog::~cWaveInfoDialog() = default;

void cWaveInfoDialog::SetWaveObject(cWaveObject* sound) {
  m_ownWave.reset();
  m_pWave = sound;
}

void cWaveInfoDialog::SetWaveFile(LPCSTR path) {
  m_ownWave.reset(new cWaveObject);
  m_ownWave->SetFileName(path);
  m_pWave = m_ownWave.get();
}

void cWaveInfoDialog::InitFileInfo() {
  if (!m_pWave) throw new cNXException(NXERR_GENERAL);
  m_path = m_pWave->GetFileName();
  m_sizeText.Empty();
  InitNameAndDate();
  m_pWave->UpdateFileInfo(m_path);
  InitSizeText();
  m_typeText = TypeText(FILEFORMAT_WAVE);
  const cStringEx formats(IDS_NXMEDIA_SOUND_FORMATS);
  if (m_pWave->GetFormatTag() == WAVE_FORMAT_PCM)
    m_formatText = formats.GetSubstring(0);
  else
    m_formatText.Format(formats.GetSubstring(1), unsigned(m_pWave->GetFormatTag()));
  const cStringEx channels(IDS_NXMEDIA_CHANNEL_NAMES);
  const WORD count = m_pWave->GetChannels();
  if (count == 1 || count == 2)
    m_channelsText = channels.GetSubstring(count - 1);
  else
    m_channelsText.Format(channels.GetSubstring(2), int(count));
  CString format;
  format.LoadString(IDS_NXMEDIA_SAMPLE_RATE_FORMAT);
  m_sampleRateText.Format(format, (unsigned long)m_pWave->GetSampleFrequency());
}

void cWaveInfoDialog::DoDataExchange(CDataExchange* dx) {
  cMediaInfoDialog::DoDataExchange(dx);
  if (!dx->m_bSaveAndValidate) {
    DDX_Text(dx, IDC_NXMEDIA_FORMAT, m_formatText);
    DDX_Text(dx, IDC_NXMEDIA_CHANNELS, m_channelsText);
    DDX_Text(dx, IDC_NXMEDIA_SAMPLE_RATE, m_sampleRateText);
    DDX_Text(dx, IDC_NXMEDIA_TYPE, m_typeText);
  }
}

const DWORD* cWaveInfoDialog::HelpMap() const { return kSoundHelp; }

// ---------------------------------------------------------------------------------------------
// The objects' properties (NXMedia's host): the kind's dialog over the object with a thumbnail of it.

void NXMediaHost::ShowProperties(cImageObject& object) {
  ScreenDC screen;
  std::unique_ptr<CBitmap> thumbnail(
      object.CreateThumbnail(&screen.dc, nxmedia::kInfoThumbnailWidth, nxmedia::kInfoThumbnailHeight, 0, FALSE));
  if (!thumbnail)
    thumbnail.reset(
        object.GetDefaultThumbnail(&screen.dc, nxmedia::kInfoThumbnailWidth, nxmedia::kInfoThumbnailHeight, FALSE));
  cPictureInfoDialog dialog(CWnd::GetSafeOwner(), object.IsUntitled(), TRUE);
  dialog.SetImageObject(&object);
  dialog.SetImageThumbnail(thumbnail.get());
  dialog.DoModal();
}

void NXMediaHost::ShowProperties(cVideoObject& object) {
  ScreenDC screen;
  std::unique_ptr<CBitmap> thumbnail(
      object.CreateThumbnail(&screen.dc, nxmedia::kInfoThumbnailWidth, nxmedia::kInfoThumbnailHeight, 0, FALSE));
  cVideoInfoDialog dialog(CWnd::GetSafeOwner(), object.IsUntitled(), TRUE);
  dialog.SetVideoObject(&object);
  dialog.SetThumbnail(thumbnail.get());
  dialog.DoModal();
}

void NXMediaHost::ShowProperties(cWaveObject& object) {
  ScreenDC screen;
  std::unique_ptr<CBitmap> thumbnail(
      object.CreateThumbnail(&screen.dc, nxmedia::kInfoThumbnailWidth, nxmedia::kInfoThumbnailHeight, 0, FALSE));
  cWaveInfoDialog dialog(CWnd::GetSafeOwner(), object.IsUntitled(), TRUE);
  dialog.SetWaveObject(&object);
  dialog.SetThumbnail(thumbnail.get());
  dialog.DoModal();
}
