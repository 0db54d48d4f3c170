// cCardDialog: opening and closing the card, turning it over, choosing its picture, the auxiliary pop-up and
// the card's private messages.
#include "CardDialog.h"

#include <mmsystem.h>

#include "CardBack.h"
#include "CardFront.h"
#include "GreetingPopup.h"
#include "PictureDialog.h"
#include "Preferences.h"
#include "PreferencesDialog.h"
#include "Send.h"
#include "QuilloSettings.h"
#include "WelcomeDialog.h"
#include "quillo/CardPackage.h"
#include "quillo/QuilloIds.h"

namespace {

const int kCardWidth = 640;   // the card window, frame included
const int kCardHeight = 433;  // plus a caption bar
const char kJpegEnding[] = "JPG";

CString FolderOf(const CString& path) {
  const int slash = path.ReverseFind('\\');
  return slash > 0 ? path.Left(slash) : CString();
}

void ShowMessage(UINT textId, LPCSTR insert = NULL) {
  CString text;
  if (insert)
    AfxFormatString1(text, textId, insert);
  else
    text.LoadString(textId);
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

BEGIN_MESSAGE_MAP(cCardDialog, CDialog)
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_CARD_FLIP, OnFlipMessage)
  ON_MESSAGE(WM_CARD_STATUS, OnStatusMessage)
  ON_MESSAGE(WM_CARD_PREFS_CHANGED, OnRefreshMessage)
  ON_MESSAGE(WM_CARD_SOUND_LOADED, OnSoundLoaded)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
  ON_MESSAGE(WM_CARD_SHOW_WELCOME, OnShowWelcome)
  ON_COMMAND(ID_CARD_FLIP, OnFlip)
  ON_COMMAND(ID_CARD_CHOOSE_PICTURE, OnChoosePicture)
  ON_COMMAND(ID_CARD_GREETINGS, OnGreetings)
  ON_COMMAND(ID_CARD_SEND, OnSend)
  ON_COMMAND(ID_CARD_PREFERENCES, OnPreferences)
  ON_COMMAND(ID_CARD_ADDRESS_BOOK, OnAddressBook)
  ON_COMMAND(ID_CARD_RECORD_SOUND, OnRecordSound)
  ON_COMMAND(ID_CARD_PLAY_SOUND, OnPlaySound)
  ON_UPDATE_COMMAND_UI(ID_CARD_FLIP, OnUpdateCardCommand)
  ON_UPDATE_COMMAND_UI(ID_CARD_CHOOSE_PICTURE, OnUpdateCardCommand)
  ON_UPDATE_COMMAND_UI(ID_CARD_GREETINGS, OnUpdateCardCommand)
  ON_UPDATE_COMMAND_UI(ID_CARD_SEND, OnUpdateCardCommand)
  ON_UPDATE_COMMAND_UI(ID_CARD_PREFERENCES, OnUpdateCardCommand)
  ON_UPDATE_COMMAND_UI(ID_CARD_ADDRESS_BOOK, OnUpdateCardCommand)
  ON_UPDATE_COMMAND_UI(ID_CARD_RECORD_SOUND, OnUpdateRecordSound)
  ON_UPDATE_COMMAND_UI(ID_CARD_PLAY_SOUND, OnUpdatePlaySound)
END_MESSAGE_MAP()

cCardDialog::cCardDialog(LPCSTR mediaPath, LPCSTR videoPath, LPCSTR soundPath, BOOL showSplash, CWnd* parent)
    : CDialog(IDD_CARD, parent), m_flags(kCardFrontShowing | kCardPictureFront),
      m_mediaPath(mediaPath ? mediaPath : ""), m_videoPath(videoPath ? videoPath : ""),
      m_soundInit(soundPath ? soundPath : ""), m_bShowSplash(showSplash), m_bGreeting(TRUE),
      m_auxiliaryFactory(&MakeGreetingPopup), m_hIcon(NULL), m_mail(*this) {
  NoteMediaName(m_mediaPath.IsEmpty() ? m_videoPath : m_mediaPath);
}

cCardDialog::~cCardDialog() = default;

void cCardDialog::SetModified(BOOL modified) {
  if (modified)
    m_flags |= kCardModified;
  else
    m_flags &= WORD(~kCardModified);
}

void cCardDialog::NoteMediaName(LPCSTR path) {
  const CString name(path ? path : "");
  if (name.GetLength() >= 3 && name.Right(3).CompareNoCase(kJpegEnding) == 0)
    m_flags |= kCardJpegMedia;
  else
    m_flags &= WORD(~kCardJpegMedia);
}

void cCardDialog::UseTemporaryVideo(LPCSTR path) {
  m_videoPath = path;
  m_temporaryVideos.Add(path);
}

CRect cCardDialog::CardClientRect() const {
  CRect frame(0, 0, 0, 0);
  ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
  return CRect(0, 0, kCardWidth - frame.Width(), kCardHeight + GetSystemMetrics(SM_CYCAPTION) - frame.Height());
}

void cCardDialog::PlayCardSound(LPCSTR name, BOOL wait) {
  PlaySoundA(name, AfxGetResourceHandle(), SND_RESOURCE | SND_NODEFAULT | (wait ? SND_SYNC : SND_ASYNC));
}

BOOL cCardDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDI_QUILLO) : NULL;
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  m_sound.Initialise(this);

  m_pFront.reset(new cCardFront(m_mediaPath, m_videoPath));
  if (!m_pFront->CreateFront(this)) {
    m_pFront.reset();
    ShowMessage(IDS_FRONT_NOT_CREATED);
    EndDialog(IDABORT);
    return FALSE;
  }
  if (!m_mediaPath.IsEmpty() || !m_videoPath.IsEmpty()) SetModified(TRUE);
  if (!m_soundInit.IsEmpty()) m_sound.LoadSound(m_soundInit);

  SetWindowPos(NULL, 0, 0, kCardWidth, kCardHeight + GetSystemMetrics(SM_CYCAPTION), SWP_NOMOVE | SWP_NOZORDER);
  CenterWindow();
  m_pFront->ShowWindow(SW_SHOW);
  UpdatePanels();
  PlayCardSound(QUILLO_SOUND_OPEN, FALSE);

  const BOOL splashShown = m_bShowSplash && m_splash.Show(this, WM_CARD_SHOW_WELCOME);
  if (!splashShown) PostMessage(WM_CARD_SHOW_WELCOME);
  return TRUE;
}

void cCardDialog::OnOK() {}
void cCardDialog::OnCancel() {}
void cCardDialog::OnClose() { EndDialog(IDCANCEL); }

void cCardDialog::OnDestroy() {
  m_splash.Hide();
  if (IsAuxiliaryOpen()) m_pAuxiliary->DestroyWindow();
  m_mail.MapiLogoff();
  m_sound.Shutdown();
  PlayCardSound(QUILLO_SOUND_CLOSE, TRUE);
  for (INT_PTR i = 0; i < m_temporaryVideos.GetSize(); ++i) DeleteFileA(m_temporaryVideos[i]);
  m_temporaryVideos.RemoveAll();
  if (m_hIcon) DestroyIcon(m_hIcon);
  m_hIcon = NULL;
  CDialog::OnDestroy();
}

BOOL cCardDialog::PreTranslateMessage(MSG* msg) {
  m_splash.HideOnInput(msg);
  return CDialog::PreTranslateMessage(msg);
}

cCardBack* cCardDialog::EnsureBack() {
  if (m_pBack) return m_pBack.get();
  std::unique_ptr<cCardBack> back(new cCardBack(m_recipientInit, m_bGreeting));
  if (!back->CreateBack(this)) {
    ShowMessage(IDS_BACK_NOT_CREATED);
    return nullptr;
  }
  m_pBack = std::move(back);
  UpdatePanels();
  return m_pBack.get();
}

void cCardDialog::Flip() {
  if (IsAuxiliaryOpen() || !m_pFront) return;
  if (IsFrontShowing() && !EnsureBack()) return;
  m_flags ^= kCardFrontShowing;
  PlayCardSound(QUILLO_SOUND_FLIP, FALSE);
  cCardPanel* shown = IsFrontShowing() ? static_cast<cCardPanel*>(m_pFront.get()) : m_pBack.get();
  cCardPanel* hidden = IsFrontShowing() ? static_cast<cCardPanel*>(m_pBack.get()) : m_pFront.get();
  shown->ShowWindow(SW_SHOW);
  if (hidden) hidden->ShowWindow(SW_HIDE);
  UpdatePanels();
}

void cCardDialog::ChoosePicture() {
  if (IsAuxiliaryOpen() || !m_pFront) return;
  cPictureOpenDialog dialog(this);
  dialog.SetInitialFolder(m_pictureFolder.IsEmpty() ? cPreferences::ImageDirectory() : m_pictureFolder);
  if (dialog.DoModal() != IDOK) return;
  const CString path = dialog.GetPathName();
  m_pictureFolder = FolderOf(path);
  PutOnFront(path);
}

BOOL cCardDialog::PutOnFront(LPCSTR path) {
  if (!m_pFront) return FALSE;
  if (!cMediaEditor::CanOpen(path)) {
    ShowMessage(IDS_CANNOT_OPEN_FILE, path);
    return FALSE;
  }
  try {
    m_pFront->SetMedia(path);
  } catch (CException* e) {
    e->ReportError(MB_OK | MB_ICONEXCLAMATION);
    e->Delete();
    return FALSE;
  }
  if (quillo::IsVideoFile(path)) {
    m_videoPath = path;
    m_mediaPath.Empty();
  } else {
    m_mediaPath = path;
    m_videoPath.Empty();
  }
  NoteMediaName(path);
  SetModified(TRUE);
  if (!IsFrontShowing()) Flip();
  return TRUE;
}

BOOL cCardDialog::IsAuxiliaryOpen() const { return m_pAuxiliary && ::IsWindow(m_pAuxiliary->GetSafeHwnd()); }

BOOL cCardDialog::OpenAuxiliary() {
  if (IsAuxiliaryOpen()) return TRUE;
  if (!m_auxiliaryFactory) return FALSE;
  if (IsFrontShowing()) Flip();
  if (IsFrontShowing()) return FALSE;  // the back could not be made
  m_pAuxiliary = m_auxiliaryFactory(*this);
  UpdatePanels();
  return m_pAuxiliary != nullptr;
}

void cCardDialog::UpdatePanels() {
  if (m_pFront && m_pFront->GetSafeHwnd()) m_pFront->UpdateButtons(this);
  if (m_pBack && m_pBack->GetSafeHwnd()) m_pBack->UpdateButtons(this);
}

LRESULT cCardDialog::OnKickIdle(WPARAM, LPARAM) {
  UpdatePanels();
  return FALSE;
}

LRESULT cCardDialog::OnFlipMessage(WPARAM, LPARAM) {
  Flip();
  return 0;
}

LRESULT cCardDialog::OnStatusMessage(WPARAM, LPARAM text) {
  if (m_pFront && m_pFront->GetSafeHwnd()) m_pFront->SetStatus(reinterpret_cast<LPCSTR>(text));
  if (m_pBack && m_pBack->GetSafeHwnd()) m_pBack->SetStatus(reinterpret_cast<LPCSTR>(text));
  return 0;
}

LRESULT cCardDialog::OnRefreshMessage(WPARAM, LPARAM) {
  UpdatePanels();
  return 0;
}

LRESULT cCardDialog::OnSoundLoaded(WPARAM, LPARAM) {
  const LONG length = m_sound.SoundLength();
  if (length >= 0) {
    CString seconds, text;
    seconds.Format("%.1f", length / 1000.0);
    AfxFormatString1(text, IDS_SOUND_LENGTH, seconds);
    SendMessage(WM_CARD_STATUS, 0, reinterpret_cast<LPARAM>(LPCSTR(text)));
  }
  UpdatePanels();
  return 0;
}

LRESULT cCardDialog::OnShowWelcome(WPARAM, LPARAM) {
  CWinApp* app = AfxGetApp();
  if (!app || app->GetProfileInt(quillo::kSettingsSection, quillo::kWelcomeShownValue, 0)) return 0;
  app->WriteProfileInt(quillo::kSettingsSection, quillo::kWelcomeShownValue, 1);
  // Without the splash the pages come before the card's loop was ever idle, which is when it shows the card.
  if (!IsWindowVisible()) {
    ShowWindow(SW_SHOWNORMAL);
    UpdateWindow();
  }
  cWelcomeDialog welcome(this);
  welcome.DoModal();
  return 0;
}

BOOL cCardDialog::Send() { return SendCard(*this); }

void cCardDialog::Preferences() {
  cPreferencesDialog dialog(!m_videoPath.IsEmpty() || HasSound(), this);
  dialog.DoModal();
}

void cCardDialog::OnFlip() { Flip(); }
void cCardDialog::OnChoosePicture() { ChoosePicture(); }
void cCardDialog::OnGreetings() { OpenAuxiliary(); }
void cCardDialog::OnSend() { Send(); }
void cCardDialog::OnPreferences() { Preferences(); }
void cCardDialog::OnAddressBook() { m_mail.AddressBook(); }
void cCardDialog::OnRecordSound() { m_sound.Record(); }
void cCardDialog::OnPlaySound() { m_sound.Play(); }

void cCardDialog::OnUpdateCardCommand(CCmdUI* state) { state->Enable(!IsAuxiliaryOpen()); }

void cCardDialog::OnUpdateRecordSound(CCmdUI* state) {
  state->Enable(!IsAuxiliaryOpen() && m_sound.IsRecordingOffered() && !m_sound.IsRecording());
}

void cCardDialog::OnUpdatePlaySound(CCmdUI* state) {
  state->Enable(!IsAuxiliaryOpen() && m_sound.CanPlay() && m_sound.HasSound());
}
