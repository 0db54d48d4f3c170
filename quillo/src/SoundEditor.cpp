// cSoundEditor: the hidden container of the sound recorder, the card's WAV file, playing it and the default
// recording format.
#include "SoundEditor.h"

#include <mmsystem.h>

#include <avi/error.h>
#include <avi/wav.h>
#include <safefile/safefile.h>

#include "QuilloSettings.h"
#include "quillo/QuilloIds.h"

IMPLEMENT_DYNCREATE(cSoundDoc, COleDocument)
IMPLEMENT_DYNCREATE(cSoundFrame, CFrameWnd)
IMPLEMENT_DYNCREATE(CSnditemView, CView)

BEGIN_MESSAGE_MAP(cSoundFrame, CFrameWnd)
  ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

// The system's wave sound object (the sound recorder).
const CLSID kSoundRecorder = {0x00020C01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const char kSoundRecorderKey[] = "CLSID\\{00020C01-0000-0000-C000-000000000046}";
const char* const kServerKeys[] = {"LocalServer32", "InprocServer32"};
const char kContainerName[] = "Quillo";  // what the recorder calls the program that holds it
const char kSoundPrefix[] = "snd";
const char kSoundExtension[] = ".wav";
const char kFallbackSoundFile[] = "temp.wav";
const int kTemporaryNumbers = 0xFFFF;  // as many as the system's own temporary names
const char kFormatSeparator = ',';
const LONG kMillisecondsPerSecond = 1000;

void ShowMessage(UINT textId, LPCSTR insert = NULL) {
  CString text;
  if (insert)
    AfxFormatString1(text, textId, insert);
  else
    text.LoadString(textId);
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

BOOL IsRecorderRegistered() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kSoundRecorderKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return FALSE;
  BOOL found = FALSE;
  for (const char* server : kServerKeys) {
    HKEY serverKey;
    if (RegOpenKeyExA(key, server, 0, KEY_READ, &serverKey) == ERROR_SUCCESS) {
      RegCloseKey(serverKey);
      found = TRUE;
    }
  }
  RegCloseKey(key);
  return found;
}

// A new empty file snd<n>.wav in the system's temporary folder; empty when none can be made.
CString NewSoundFile() {
  char folder[MAX_PATH];
  const DWORD n = GetTempPathA(MAX_PATH, folder);
  if (!n || n >= MAX_PATH) return CString();
  return safefile::CreateNumberedFile(std::string(folder) + kSoundPrefix, kSoundExtension, 1, kTemporaryNumbers)
      .c_str();
}

}  // namespace

cSoundDoc::~cSoundDoc() {
  if (m_pEditor) m_pEditor->OnContainerGone();
}

void cSoundFrame::OnClose() {}

void CSndItem::OnChange(OLE_NOTIFICATION notification, DWORD param) {
  COleClientItem::OnChange(notification, param);
  // The recorder hides its window when the user is done (it is still running then, so its sound can be
  // asked for); a recorder that only reports that it closed is asked all the same.
  if ((notification == OLE_CHANGED_STATE && param == loadedState) || notification == OLE_CLOSED)
    m_pEditor->OnRecorderDone();
}

cSoundEditor::cSoundEditor()
    : m_pCard(NULL), m_pTemplate(NULL), m_pDoc(NULL), m_pFrame(NULL), m_pView(NULL), m_pItem(NULL),
      m_bOwnsWavPath(FALSE), m_bCanRecord(FALSE), m_bCanPlay(FALSE), m_bInitialised(FALSE), m_bHasSound(FALSE),
      m_bRecording(FALSE), m_bRecorderRegistered(FALSE), m_bFormatSaved(FALSE), m_bFormatExisted(FALSE),
      m_formatType(REG_NONE) {}

cSoundEditor::~cSoundEditor() { Shutdown(); }

BOOL cSoundEditor::Initialise(CWnd* card) {
  m_pCard = card;
  if (!AfxOleInit()) return FALSE;
  CreateContainer();
  m_wavPath = NewSoundFile();
  m_bOwnsWavPath = !m_wavPath.IsEmpty();
  if (!m_bOwnsWavPath) {
    ShowMessage(IDS_SOUND_NO_TEMPORARY_FILE);
    m_wavPath = kFallbackSoundFile;
  }
  m_bCanRecord = waveInGetNumDevs() > 0;
  m_bCanPlay = waveOutGetNumDevs() > 0;
  m_bRecorderRegistered = IsRecorderRegistered();
  m_bInitialised = TRUE;
  return TRUE;
}

BOOL cSoundEditor::CreateContainer() {
  m_pTemplate = new CSingleDocTemplate(IDR_SOUND_CONTAINER, RUNTIME_CLASS(cSoundDoc), RUNTIME_CLASS(cSoundFrame),
                                       RUNTIME_CLASS(CSnditemView));
  try {
    cSoundDoc* doc = static_cast<cSoundDoc*>(m_pTemplate->CreateNewDocument());
    CFrameWnd* frame = m_pTemplate->CreateNewFrame(doc, NULL);
    if (!frame || !doc->OnNewDocument()) {
      if (frame) frame->DestroyWindow();  // its view was the document's last: the document goes with it
      else delete doc;
      return FALSE;
    }
    doc->SetTitle(kContainerName);
    m_pTemplate->InitialUpdateFrame(frame, doc, FALSE);
    POSITION pos = doc->GetFirstViewPosition();
    m_pView = pos ? dynamic_cast<CSnditemView*>(doc->GetNextView(pos)) : NULL;
    doc->SetEditor(this);
    m_pDoc = doc;
    m_pFrame = frame;
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return m_pView != NULL;
}

void cSoundEditor::Shutdown() {
  if (!m_bInitialised) return;
  Stop();
  m_bRecording = FALSE;
  if (m_pItem) {
    CSndItem* item = m_pItem;
    m_pItem = NULL;
    item->Delete();
  }
  if (m_pDoc) m_pDoc->OnCloseDocument();  // closes the frame and deletes the document
  m_pDoc = NULL;
  m_pFrame = NULL;
  m_pView = NULL;
  delete m_pTemplate;
  m_pTemplate = NULL;
  RestoreDefaultFormat();
  if (m_bOwnsWavPath) DeleteFileA(m_wavPath);
  m_bHasSound = FALSE;
  m_bInitialised = FALSE;
}

BOOL cSoundEditor::IsRecordingOffered() const {
  return m_bInitialised && m_bCanRecord && m_bRecorderRegistered && m_pView;
}

BOOL cSoundEditor::Record() {
  if (!IsRecordingOffered()) return FALSE;
  if (m_bRecording) return TRUE;
  if (!m_pItem) {
    CSndItem* item = new CSndItem(m_pDoc, this);
    if (!item->CreateNewItem(kSoundRecorder, OLERENDER_NONE)) {
      item->Delete();
      ShowMessage(IDS_SOUND_RECORDER_FAILED);
      return FALSE;
    }
    BSTR name = AfxAllocSysString(kContainerName);
    item->GetOleObject()->SetHostNames(name, name);
    SysFreeString(name);
    m_pItem = item;
  }
  SaveDefaultFormat();
  UseSmallFormat();
  m_bRecording = TRUE;
  if (!m_pItem->DoVerb(OLEIVERB_OPEN, m_pView)) {  // it has told the user why
    m_bRecording = FALSE;
    RestoreDefaultFormat();
    return FALSE;
  }
  return TRUE;
}

void cSoundEditor::OnRecorderDone() {
  if (!m_bRecording) return;
  m_bRecording = FALSE;
  if (TakeRecording())
    NoteSound();
  else
    ShowMessage(IDS_SOUND_NOT_RECORDED);
  RestoreDefaultFormat();
}

void cSoundEditor::OnContainerGone() {
  m_pDoc = NULL;
  m_pFrame = NULL;
  m_pView = NULL;
  m_pItem = NULL;  // the document releases its items
  if (m_bRecording) {
    m_bRecording = FALSE;
    RestoreDefaultFormat();
  }
}

BOOL cSoundEditor::TakeRecording() {
  LPOLEOBJECT object = m_pItem ? m_pItem->GetOleObject() : NULL;
  IDataObject* data = NULL;
  if (!object || FAILED(object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data)))) return FALSE;
  FORMATETC format = {CF_WAVE, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium = {};
  const HRESULT hr = data->GetData(&format, &medium);
  data->Release();
  if (FAILED(hr)) return FALSE;
  BOOL written = FALSE;
  const SIZE_T size = medium.tymed == TYMED_HGLOBAL ? GlobalSize(medium.hGlobal) : 0;
  const BYTE* bytes = size ? static_cast<const BYTE*>(GlobalLock(medium.hGlobal)) : NULL;
  if (bytes) {
    try {
      avi::ParseWaveHeader(bytes, size);  // a sound, not whatever else the object handed over
      written = safefile::WriteWholeFile(LPCSTR(m_wavPath), bytes, size);
    } catch (const avi::Error&) {
    }
    GlobalUnlock(medium.hGlobal);
  }
  ReleaseStgMedium(&medium);
  return written;
}

void cSoundEditor::NoteSound() {
  m_bHasSound = TRUE;
  if (m_pCard && ::IsWindow(m_pCard->GetSafeHwnd())) m_pCard->PostMessage(WM_CARD_SOUND_LOADED);
}

void cSoundEditor::Play() {
  if (m_bInitialised && m_bHasSound) PlaySoundA(m_wavPath, NULL, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

void cSoundEditor::Stop() { PlaySoundA(NULL, NULL, 0); }

BOOL cSoundEditor::LoadSound(LPCSTR path) {
  if (!m_bInitialised || !CopyFileA(path, m_wavPath, FALSE)) {
    ShowMessage(IDS_SOUND_NOT_LOADED, path);
    return FALSE;
  }
  SetFileAttributesA(m_wavPath, FILE_ATTRIBUTE_NORMAL);
  NoteSound();
  return TRUE;
}

LONG cSoundEditor::SoundLength() const {
  if (!m_bHasSound) return -1;
  try {
    const avi::WaveHeader header = avi::ReadWaveHeader(LPCSTR(m_wavPath));
    if (!header.format.avgBytesPerSec) return -1;
    return LONG(ULONGLONG(header.dataSize) * kMillisecondsPerSecond / header.format.avgBytesPerSec);
  } catch (const avi::Error&) {
    return -1;
  }
}

void cSoundEditor::SaveDefaultFormat() {
  if (m_bFormatSaved) return;  // the user's own format is kept aside already
  HKEY key;
  m_bFormatExisted = FALSE;
  m_savedFormat.clear();
  if (RegOpenKeyExA(HKEY_CURRENT_USER, quillo::kAudioSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    DWORD size = 0;
    if (RegQueryValueExA(key, quillo::kDefaultFormatValue, NULL, &m_formatType, NULL, &size) == ERROR_SUCCESS) {
      m_savedFormat.resize(size);
      m_bFormatExisted = RegQueryValueExA(key, quillo::kDefaultFormatValue, NULL, &m_formatType,
                                          m_savedFormat.data(), &size) == ERROR_SUCCESS;
      m_savedFormat.resize(size);
    }
    RegCloseKey(key);
  }
  m_bFormatSaved = TRUE;
}

void cSoundEditor::UseSmallFormat() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, quillo::kAudioSettingsKey, 0, KEY_READ | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  char formats[1024] = "";
  DWORD size = sizeof formats - 1, type = 0;
  if (RegQueryValueExA(key, quillo::kSystemFormatsValue, NULL, &type, reinterpret_cast<BYTE*>(formats), &size) ==
          ERROR_SUCCESS &&
      type == REG_SZ) {
    const CString list(formats);
    const int comma = list.ReverseFind(kFormatSeparator);
    if (comma >= 0) {
      const CString smallest = list.Mid(comma + 1);
      RegSetValueExA(key, quillo::kDefaultFormatValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(LPCSTR(smallest)),
                     DWORD(smallest.GetLength() + 1));
    }
  }
  RegCloseKey(key);
}

void cSoundEditor::RestoreDefaultFormat() {
  if (!m_bFormatSaved) return;
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, quillo::kAudioSettingsKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) ==
      ERROR_SUCCESS) {
    if (m_bFormatExisted)
      RegSetValueExA(key, quillo::kDefaultFormatValue, 0, m_formatType, m_savedFormat.data(),
                     DWORD(m_savedFormat.size()));
    else
      RegDeleteValueA(key, quillo::kDefaultFormatValue);
    RegCloseKey(key);
  }
  m_bFormatSaved = FALSE;
  m_savedFormat.clear();
}
