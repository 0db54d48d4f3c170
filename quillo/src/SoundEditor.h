// The card's sound: cSoundEditor records through the system's sound recorder object (the wave sound object,
// {00020C01-0000-0000-C000-000000000046}) embedded in a hidden OLE document of its own (cSoundDoc with the view
// CSnditemView and the item CSndItem, template resource 1124), keeps the sound as a WAV file in the temporary
// folder (wavPath), plays it, loads a sound file given on the command line, and switches the system's default
// recording format to the smallest one around a recording. Owned by the card window.
#pragma once
#include <afxole.h>
#include <afxwin.h>

#include <vector>

class cSoundEditor;

// The hidden container document. Its editor is told when it goes, however it was closed.
class cSoundDoc : public COleDocument {
  DECLARE_DYNCREATE(cSoundDoc)
 public:
  ~cSoundDoc() override;
  void SetEditor(cSoundEditor* editor) { m_pEditor = editor; }

 private:
  cSoundEditor* m_pEditor = nullptr;
};

// The hidden container's frame. It is closed by its editor only: a close request from outside (a task list
// closing every window of the program) would take the document, and the recording in it, from under the card.
class cSoundFrame : public CFrameWnd {
  DECLARE_DYNCREATE(cSoundFrame)

 protected:
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()
};

// The view the embedded recorder is shown from (never visible).
class CSnditemView : public CView {
  DECLARE_DYNCREATE(CSnditemView)
 public:
  void OnDraw(CDC*) override {}
};

// The embedded sound recorder: tells the editor when the recorder's window closes or the recorder saves.
class CSndItem : public COleClientItem {
 public:
  CSndItem(cSoundDoc* doc, cSoundEditor* editor) : COleClientItem(doc), m_pEditor(editor) {}
  void OnChange(OLE_NOTIFICATION notification, DWORD param) override;

 private:
  cSoundEditor* m_pEditor;
};

class cSoundEditor {
 public:
  cSoundEditor();
  ~cSoundEditor();
  cSoundEditor(const cSoundEditor&) = delete;
  cSoundEditor& operator=(const cSoundEditor&) = delete;

  // Starts OLE and makes the hidden document, chooses wavPath and asks the system for wave devices. The card
  // window gets WM_CARD_SOUND_LOADED when a sound arrives. False when OLE could not be started.
  BOOL Initialise(CWnd* card);
  // Ends a recording still open, closes the hidden document and deletes wavPath.
  void Shutdown();

  BOOL IsInitialised() const { return m_bInitialised; }
  BOOL CanRecord() const { return m_bCanRecord; }
  BOOL CanPlay() const { return m_bCanPlay; }
  BOOL HasSound() const { return m_bHasSound; }
  const CString& GetWavPath() const { return m_wavPath; }
  // Recording is offered when there is a wave input device and the sound recorder object is registered.
  BOOL IsRecordingOffered() const;
  BOOL IsRecording() const { return m_bRecording; }

  // Shows the sound recorder for recording (making it first); its sound is taken when its window closes.
  // False after telling the user when it cannot be shown.
  BOOL Record();
  // Plays the sound from its file, without waiting.
  void Play();
  // Stops every sound the program plays.
  static void Stop();
  // Copies the file over wavPath (read-only and similar attributes cleared); false after telling the user
  // when it cannot be copied.
  BOOL LoadSound(LPCSTR path);
  // The sound's length in milliseconds, from its header; -1 when there is none or it cannot be read.
  LONG SoundLength() const;

  // The system's default recording format ("DefaultFormat" under HKCU\Software\Microsoft\Multimedia\Audio):
  // kept aside, replaced by the last of "SystemFormats", and put back exactly as it was (a value that was
  // not there is removed again).
  void SaveDefaultFormat();
  void UseSmallFormat();
  void RestoreDefaultFormat();

  // The recorder's window closed or it saved: its sound is taken into wavPath (once per recording).
  void OnRecorderDone();
  // The hidden document is being deleted: the editor lets go of it, its frame, view and item.
  void OnContainerGone();

 private:
  BOOL CreateContainer();
  BOOL TakeRecording();
  void NoteSound();

  CWnd* m_pCard;
  CSingleDocTemplate* m_pTemplate;
  cSoundDoc* m_pDoc;
  CFrameWnd* m_pFrame;
  CSnditemView* m_pView;
  CSndItem* m_pItem;
  CString m_wavPath;
  BOOL m_bOwnsWavPath;
  BOOL m_bCanRecord;
  BOOL m_bCanPlay;
  BOOL m_bInitialised;
  BOOL m_bHasSound;
  BOOL m_bRecording;
  BOOL m_bRecorderRegistered;
  // The user's "DefaultFormat" while it is replaced: whether it is kept aside, whether it existed, its type
  // and bytes.
  BOOL m_bFormatSaved;
  BOOL m_bFormatExisted;
  DWORD m_formatType;
  std::vector<BYTE> m_savedFormat;
};
