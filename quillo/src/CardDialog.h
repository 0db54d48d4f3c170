// cCardDialog: the card window, a modal dialog and the postcard program's main window. It owns the card's front
// (made at opening) and back (made the first time the card is turned over, or before sending), keeps the card's
// flags, media, video, sound and folders, turns the card over, puts a chosen picture on the front, plays the
// card's sounds ("Open", "Flip", "Close" from the resource library) and shows the splash screen. It holds the
// card's mail session (cCardMail) and its sound (cSoundEditor), and takes the delivery commands: send,
// preferences, address book, recording and playing the sound.
#pragma once
#include <afxwin.h>

#include <functional>
#include <memory>

#include "CardMail.h"
#include "SoundEditor.h"
#include "Splash.h"

class cCardFront;
class cCardBack;

// Bits of the card's flags word.
enum : WORD {
  kCardFrontShowing = 0x0001,  // the front is showing (set at start)
  kCardPictureFront = 0x0002,  // the card has a picture front (always, in this program)
  kCardJpegMedia = 0x0004,     // the front media's file name ends in "JPG"
  kCardModified = 0x0008,      // changed since the last successful delivery
};

class cCardDialog : public CDialog {
 public:
  // Makes the card's auxiliary pop-up over the back; null when it cannot be made.
  using AuxiliaryFactory = std::function<std::unique_ptr<CWnd>(cCardDialog& card)>;

  // The media, video and sound files as the command line gives them (empty: none). The greeting pop-up is
  // registered here as the card's auxiliary pop-up.
  cCardDialog(LPCSTR mediaPath, LPCSTR videoPath, LPCSTR soundPath, BOOL showSplash, CWnd* parent = NULL);
  ~cCardDialog() override;

  WORD GetFlags() const { return m_flags; }
  BOOL IsFrontShowing() const { return (m_flags & kCardFrontShowing) != 0; }
  BOOL IsModified() const { return (m_flags & kCardModified) != 0; }
  void SetModified(BOOL modified);
  // The front's picture file (empty when the front is a video) and the card's video file (empty: none).
  const CString& GetMediaPath() const { return m_mediaPath; }
  const CString& GetVideoPath() const { return m_videoPath; }
  // The card's video becomes a temporary file made for sending it (a recompressed copy), which the card
  // deletes when it closes; the front keeps showing the clip it was given.
  void UseTemporaryVideo(LPCSTR path);
  // The card's sound: the sound recorder's file, once a sound was recorded or loaded.
  CString GetSoundFile() const { return HasSound() ? m_sound.GetWavPath() : CString(); }
  BOOL HasSound() const { return m_sound.HasSound(); }
  cSoundEditor& GetSoundEditor() { return m_sound; }
  cCardMail& GetMail() { return m_mail; }
  // The folder of the last save in this session and the file the card was last saved to.
  const CString& GetSaveFolder() const { return m_saveFolder; }
  void SetSaveFolder(LPCSTR folder) { m_saveFolder = folder; }
  const CString& GetSavedPath() const { return m_savedPath; }
  void SetSavedPath(LPCSTR path) { m_savedPath = path; }
  // The text the back's "to" field starts with when the back is made.
  void SetRecipientInit(LPCSTR recipients) { m_recipientInit = recipients ? recipients : ""; }
  const CString& GetPictureFolder() const { return m_pictureFolder; }
  BOOL IsSplashShowing() const { return m_splash.IsShowing(); }

  cCardFront* GetFront() const { return m_pFront.get(); }
  cCardBack* GetBack() const { return m_pBack.get(); }
  // The back, made on first use; null after telling the user when it cannot be made.
  cCardBack* EnsureBack();

  // Turns the card over (nothing while the auxiliary pop-up is open).
  void Flip();
  // Lets the user choose a picture or video for the front (nothing while the auxiliary pop-up is open).
  void ChoosePicture();
  // Puts the file on the front, turning the card to its front, and marks the card modified; false after
  // telling the user when the file does not open as a picture or video.
  BOOL PutOnFront(LPCSTR path);
  // Sends the card by mail or saves it into the outbox, as the preferences say; true when it went.
  BOOL Send();
  // Shows the preferences dialog.
  void Preferences();

  void SetAuxiliaryFactory(AuxiliaryFactory factory) { m_auxiliaryFactory = std::move(factory); }
  // Opens the auxiliary pop-up over the back (turning the card to its back first); false when it cannot.
  BOOL OpenAuxiliary();
  BOOL IsAuxiliaryOpen() const;
  CWnd* GetAuxiliary() const { return IsAuxiliaryOpen() ? m_pAuxiliary.get() : nullptr; }

  // Plays one of the card's sound resources ("Open", "Flip", ...), waiting for its end when wait is set.
  static void PlayCardSound(LPCSTR name, BOOL wait);
  // The client area the card window has once sized (640 x 433 pixels plus a caption bar, frame included).
  CRect CardClientRect() const;

 protected:
  BOOL OnInitDialog() override;
  // Enter and Escape do not close the card: a card is closed from its caption.
  void OnOK() override;
  void OnCancel() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg LRESULT OnFlipMessage(WPARAM, LPARAM);
  afx_msg LRESULT OnStatusMessage(WPARAM, LPARAM text);
  afx_msg LRESULT OnRefreshMessage(WPARAM, LPARAM);
  afx_msg LRESULT OnSoundLoaded(WPARAM, LPARAM);
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM);
  afx_msg LRESULT OnShowWelcome(WPARAM, LPARAM);
  afx_msg void OnFlip();
  afx_msg void OnChoosePicture();
  afx_msg void OnGreetings();
  afx_msg void OnSend();
  afx_msg void OnPreferences();
  afx_msg void OnAddressBook();
  afx_msg void OnRecordSound();
  afx_msg void OnPlaySound();
  afx_msg void OnUpdateCardCommand(CCmdUI* state);
  afx_msg void OnUpdateRecordSound(CCmdUI* state);
  afx_msg void OnUpdatePlaySound(CCmdUI* state);
  DECLARE_MESSAGE_MAP()

 private:
  void UpdatePanels();
  void NoteMediaName(LPCSTR path);

  std::unique_ptr<cCardFront> m_pFront;
  std::unique_ptr<cCardBack> m_pBack;
  WORD m_flags;
  CString m_mediaPath;
  CString m_recipientInit;
  CString m_videoPath;
  CString m_soundInit;
  CString m_pictureFolder;
  CString m_saveFolder;
  CString m_savedPath;
  CStringArray m_temporaryVideos;  // recompressed copies made for sending, deleted when the card closes
  BOOL m_bShowSplash;
  BOOL m_bGreeting;
  cSplashWnd m_splash;
  AuxiliaryFactory m_auxiliaryFactory;
  std::unique_ptr<CWnd> m_pAuxiliary;
  HICON m_hIcon;
  cSoundEditor m_sound;
  cCardMail m_mail;
};
