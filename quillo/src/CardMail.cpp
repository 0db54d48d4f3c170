// cCardMail: logon and logoff, sending the card, the recipients and the address book.
#include "CardMail.h"

#include <algorithm>
#include <vector>

#include "Attachments.h"
#include "CardBack.h"
#include "CardDialog.h"
#include "Preferences.h"
#include "QuilloSettings.h"
#include "SendProgress.h"
#include "quillo/QuilloIds.h"

namespace {

using LogonFunction = ULONG(FAR PASCAL*)(ULONG_PTR, LPSTR, LPSTR, FLAGS, ULONG, LPLHANDLE);
using LogoffFunction = ULONG(FAR PASCAL*)(LHANDLE, ULONG_PTR, FLAGS, ULONG);
using SendMailFunction = ULONG(FAR PASCAL*)(LHANDLE, ULONG_PTR, lpMapiMessage, FLAGS, ULONG);
using ResolveNameFunction = ULONG(FAR PASCAL*)(LHANDLE, ULONG_PTR, LPSTR, FLAGS, ULONG, lpMapiRecipDesc*);
using AddressFunction = ULONG(FAR PASCAL*)(LHANDLE, ULONG_PTR, LPSTR, ULONG, LPSTR, ULONG, lpMapiRecipDesc, FLAGS,
                                           ULONG, LPULONG, lpMapiRecipDesc*);
using FreeBufferFunction = ULONG(FAR PASCAL*)(LPVOID);

const char kLogonName[] = "MAPILogon";
const char kLogoffName[] = "MAPILogoff";
const char kSendMailName[] = "MAPISendMail";
const char kResolveNameName[] = "MAPIResolveName";
const char kAddressName[] = "MAPIAddress";
const char kFreeBufferName[] = "MAPIFreeBuffer";

const DWORD kProfileNameSize = 128;
const size_t kAttachmentPathSize = 2048;
const size_t kAttachmentNameSize = 1024;
const ULONG kNoPosition = ULONG(-1);  // the attachment has no place in the note text
const ULONG kAddressBookEditFields = 1;
const int kNoteInserts = 3;

template <typename Function>
Function Lookup(const cMailLibrary& library, LPCSTR name) {
  return reinterpret_cast<Function>(library.Find(name));
}

void ShowMessage(UINT textId, UINT icon = MB_ICONEXCLAMATION) {
  CString text;
  text.LoadString(textId);
  AfxMessageBox(text, MB_OK | icon);
}

// The "DefaultProfile" mail profile; empty when there is none.
CString DefaultProfile() {
  char name[kProfileNameSize] = "";
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, quillo::kMailProfilesKey, 0, NULL, 0, KEY_READ, NULL, &key, NULL) ==
      ERROR_SUCCESS) {
    DWORD size = sizeof name - 1, type = 0;
    if (RegQueryValueExA(key, quillo::kDefaultProfileValue, NULL, &type, reinterpret_cast<BYTE*>(name), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
      name[0] = '\0';
    RegCloseKey(key);
  }
  return name;
}

// The note text of a delivery format: the raw-data template with its placeholders %1 to %3 filled in.
CString NoteText(BOOL asPackage) {
  const UINT templateId = asPackage ? IDR_NOTE_PACKAGE : IDR_NOTE_PICTURE;
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(templateId), reinterpret_cast<LPCSTR>(RT_RCDATA));
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), reinterpret_cast<LPCSTR>(RT_RCDATA));
  HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!bytes) return CString();
  const DWORD size = SizeofResource(module, found);
  const CString pattern(std::string(bytes, std::find(bytes, bytes + size, '\0')).c_str());
  CString inserts[kNoteInserts];
  LPCSTR pointers[kNoteInserts];
  for (int i = 0; i < kNoteInserts; ++i) {
    inserts[i].LoadString(IDS_NOTE_INSERT_FIRST + i);
    pointers[i] = inserts[i];
  }
  CString note;
  AfxFormatStrings(note, pattern, pointers, kNoteInserts);
  return note;
}

}  // namespace

void cCardMail::ReportInvalidLibrary() { ShowMessage(IDS_MAIL_LIBRARY_INVALID); }

BOOL cCardMail::ReportMapiResult(ULONG result, BOOL allowAddressBook) {
  const quillo::MapiResultRule rule = quillo::RuleForMapiResult(result);
  if (rule.messageId) ShowMessage(rule.messageId);
  if (rule.openAddressBook && allowAddressBook) {
    if (m_card.IsFrontShowing()) m_card.Flip();
    AddressBook();
  }
  return rule.success;
}

BOOL cCardMail::MapiLogon() {
  if (m_library.IsLoggedOn()) return TRUE;
  if (!quillo::IsMailAvailable(TRUE)) return FALSE;
  CWaitCursor wait;
  if (!m_library.Load()) {
    ShowMessage(IDS_MAIL_NOT_LOADED);
    return FALSE;
  }
  LogonFunction logon = Lookup<LogonFunction>(m_library, kLogonName);
  if (!logon) {
    ReportInvalidLibrary();
    return FALSE;
  }
  CString profile = DefaultProfile();
  const ULONG_PTR owner = reinterpret_cast<ULONG_PTR>(m_card.GetSafeHwnd());
  LHANDLE session = 0;
  BOOL loggedOn = ReportMapiResult(
      logon(owner, profile.GetBuffer(kProfileNameSize), NULL, MAPI_NEW_SESSION, 0, &session), FALSE);
  profile.ReleaseBuffer();
  if (!loggedOn) {
    // The mail client asks the user which profile to use.
    session = 0;
    loggedOn = ReportMapiResult(logon(owner, NULL, NULL, MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &session), FALSE);
  }
  m_library.SetSession(loggedOn ? session : 0, loggedOn);
  return loggedOn;
}

void cCardMail::MapiLogoff() {
  if (!m_library.IsLoaded()) return;
  if (m_library.IsLoggedOn()) {
    LogoffFunction logoff = Lookup<LogoffFunction>(m_library, kLogoffName);
    if (!logoff) {
      ReportInvalidLibrary();
      return;
    }
    ReportMapiResult(logoff(m_library.GetSession(), reinterpret_cast<ULONG_PTR>(m_card.GetSafeHwnd()), 0, 0), FALSE);
  }
  m_library.Unload();
}

ULONG cCardMail::ResolveRecipient(cRecipientTable& table, int index) {
  if (!MapiLogon()) return MAPI_E_LOGIN_FAILURE;
  ResolveNameFunction resolve = Lookup<ResolveNameFunction>(m_library, kResolveNameName);
  if (!resolve) {
    ReportInvalidLibrary();
    return MAPI_E_NOT_SUPPORTED;
  }
  lpMapiRecipDesc resolved = NULL;
  const ULONG result = resolve(m_library.GetSession(), 0, table.Get(index).lpszName, 0, 0, &resolved);
  if (result == SUCCESS_SUCCESS && resolved) {
    resolved->ulRecipClass = MAPI_TO;
    table.Set(index, *resolved);
    if (FreeBufferFunction release = Lookup<FreeBufferFunction>(m_library, kFreeBufferName)) release(resolved);
  }
  return result;
}

BOOL cCardMail::UpdateRecipients(BOOL report) {
  cCardBack* back = m_card.EnsureBack();
  if (!back) return FALSE;
  back->TakeTexts();
  if (!back->IsRecipientTextEdited()) return TRUE;
  cRecipientTable& table = back->Recipients();
  const CString text = back->GetRecipientText();
  // A session that cannot be opened leaves the field as the user wrote it.
  if (table.NeedsResolving(text, back->RecipientSeparator()) && !MapiLogon()) return FALSE;
  CString prefix;
  prefix.LoadString(IDS_ADDRESS_PREFIX);
  const ULONG failure = table.Rebuild(text, back->RecipientSeparator(), prefix,
                                      [this](cRecipientTable& t, int index) { return ResolveRecipient(t, index); });
  back->ShowRecipients();
  if (failure == SUCCESS_SUCCESS) return TRUE;
  if (report) ReportMapiResult(failure);
  return FALSE;
}

void cCardMail::AddressBook() {
  cCardBack* back = m_card.EnsureBack();
  if (!back) return;
  UpdateRecipients(FALSE);
  if (!MapiLogon()) {
    back->FocusRecipients();
    return;
  }
  AddressFunction address = Lookup<AddressFunction>(m_library, kAddressName);
  if (!address) {
    ReportInvalidLibrary();
    back->FocusRecipients();
    return;
  }
  cRecipientTable& table = back->Recipients();
  ULONG count = 0;
  lpMapiRecipDesc chosen = NULL;
  const ULONG result = address(m_library.GetSession(), reinterpret_cast<ULONG_PTR>(back->GetSafeHwnd()), NULL,
                               kAddressBookEditFields, NULL, ULONG(table.GetCount()), table.Entries(), 0, 0, &count,
                               &chosen);
  back->FocusRecipients();
  if (result == MAPI_USER_ABORT) return;
  if (result != SUCCESS_SUCCESS) {
    ReportMapiResult(result, FALSE);  // the address book is what failed: it is not opened again
    return;
  }
  const int kept = int(std::min<ULONG>(count, cRecipientTable::kMaxRecipients));
  for (int i = 0; i < kept; ++i) table.Set(i, chosen[i]);
  table.Truncate(kept);
  if (count > ULONG(kept)) {
    CString number, text;
    number.Format("%d", kept);
    AfxFormatString1(text, IDS_RECIPIENTS_KEPT, number);
    AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
  }
  back->ShowRecipients();
  if (FreeBufferFunction release = Lookup<FreeBufferFunction>(m_library, kFreeBufferName))
    if (chosen) release(chosen);
}

BOOL cCardMail::MailCard(BOOL asPackage, cSendProgress* progress) {
  CWaitCursor wait;
  if (!MapiLogon()) return FALSE;
  SendMailFunction send = Lookup<SendMailFunction>(m_library, kSendMailName);
  if (!send) {
    ReportInvalidLibrary();
    return FALSE;
  }
  std::vector<char> path(kAttachmentPathSize, '\0'), name(kAttachmentNameSize, '\0');
  MapiFileDesc file = {};
  file.nPosition = kNoPosition;
  file.lpszPathName = path.data();
  file.lpszFileName = name.data();
  CString note = NoteText(asPackage);

  if (progress) progress->SetStage(cSendProgress::kBuilding);
  const std::string attachment = asPackage ? BuildPackageAttachment(m_card, &file) : BuildPictureAttachment(m_card, &file);
  if (attachment.empty()) return FALSE;  // the builder told the user why

  cCardBack* back = m_card.GetBack();
  CString subject = back->GetSubjectText();
  MapiMessage message = {};
  message.lpszSubject = subject.GetBuffer(0);
  message.lpszNoteText = note.GetBuffer(0);
  message.nRecipCount = ULONG(back->Recipients().GetCount());
  message.lpRecips = back->Recipients().Entries();
  message.nFileCount = 1;
  message.lpFiles = &file;
  if (progress) progress->SetStage(cSendProgress::kHandingOver);
  const ULONG result = send(m_library.GetSession(), reinterpret_cast<ULONG_PTR>(m_card.GetSafeHwnd()), &message, 0, 0);
  subject.ReleaseBuffer();
  note.ReleaseBuffer();
  DeleteFileA(attachment.c_str());
  return ReportMapiResult(result);
}
