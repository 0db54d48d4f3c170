// A Simple MAPI mail client for tests: each call writes everything it was handed to a record file and answers
// what the test asked for, without showing anything. MAPISendMail, MAPILogon, MAPILogoff, MAPIResolveName and
// MAPIAddress; MAPIFreeBuffer takes back the blocks the last two hand out.
#include <windows.h>
#include <mapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "mail_record.h"

namespace {

const DWORD kVariableSize = 4096;
const char kListSeparator = ';';
const char kAddressPrefix[] = "SMTP:";
const BYTE kEntryId[] = {'R', 'E', 'C', '1'};

std::string Variable(const char* name) {
  std::vector<char> value(kVariableSize);
  const DWORD length = GetEnvironmentVariableA(name, value.data(), kVariableSize);
  return length > 0 && length < kVariableSize ? std::string(value.data(), length) : std::string();
}

ULONG NumberVariable(const char* name, ULONG fallback) {
  const std::string value = Variable(name);
  return value.empty() ? fallback : std::strtoul(value.c_str(), nullptr, 10);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    const size_t end = text.find(separator, start);
    pieces.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return pieces;
}

// One call's lines, appended to the record file when the call ends.
class Record {
 public:
  explicit Record(const char* function) : m_path(Variable(mailrecord::kRecordPathVariable)) {
    Text(mailrecord::kCall, function);
  }
  bool ok() const { return !m_path.empty(); }
  // Line breaks and the percent sign in the text are written as %0D, %0A and %25, so that each field is one line.
  void Text(const char* key, const char* text) {
    m_lines += key;
    if (text) {
      m_lines += '=';
      for (const char* c = text; *c; ++c) {
        if (*c == '\r' || *c == '\n' || *c == '%') {
          char escaped[4];
          std::snprintf(escaped, sizeof escaped, "%%%02X", unsigned(static_cast<unsigned char>(*c)));
          m_lines += escaped;
        } else {
          m_lines += *c;
        }
      }
    }
    m_lines += "\n";
  }
  void Number(const char* key, unsigned long value) { Text(key, std::to_string(value).c_str()); }
  void Recipient(const MapiRecipDesc& recipient) {
    Number(mailrecord::kRecipient, recipient.ulRecipClass);
    Text(mailrecord::kRecipientName, recipient.lpszName);
    Text(mailrecord::kRecipientAddress, recipient.lpszAddress);
    Number(mailrecord::kRecipientEntryId, recipient.ulEIDSize);
  }
  // Writes the call out; false when the record file cannot be written.
  bool Write() {
    std::FILE* out = std::fopen(m_path.c_str(), "a");
    if (!out) return false;
    std::fputs(m_lines.c_str(), out);
    return std::fclose(out) == 0;
  }

 private:
  std::string m_path;
  std::string m_lines;
};

// The blocks handed out through MAPIResolveName and MAPIAddress: one allocation each, the recipient records
// first and their texts and identifiers after them.
std::set<void*>& Outstanding() {
  static std::set<void*> blocks;
  return blocks;
}

lpMapiRecipDesc AllocateRecipients(const std::vector<std::string>& names) {
  size_t size = names.size() * sizeof(MapiRecipDesc);
  for (const std::string& name : names) size += 2 * name.size() + sizeof kAddressPrefix + 1 + sizeof kEntryId;
  BYTE* block = static_cast<BYTE*>(std::calloc(1, size ? size : 1));
  if (!block) return nullptr;
  Outstanding().insert(block);
  lpMapiRecipDesc recipients = reinterpret_cast<lpMapiRecipDesc>(block);
  char* text = reinterpret_cast<char*>(block + names.size() * sizeof(MapiRecipDesc));
  for (size_t i = 0; i < names.size(); ++i) {
    MapiRecipDesc& r = recipients[i];
    r.ulRecipClass = MAPI_TO;
    r.lpszName = text;
    std::strcpy(text, names[i].c_str());
    text += names[i].size() + 1;
    r.lpszAddress = text;
    std::strcpy(text, (kAddressPrefix + names[i]).c_str());
    text += std::strlen(text) + 1;
    r.ulEIDSize = sizeof kEntryId;
    r.lpEntryID = text;
    std::memcpy(text, kEntryId, sizeof kEntryId);
    text += sizeof kEntryId;
  }
  return recipients;
}

// Waits the time the test asked for, answering the thread's messages as a mail client's dialog would.
void Hold() {
  const ULONG hold = NumberVariable(mailrecord::kHoldVariable, 0);
  const DWORD until = GetTickCount() + hold;
  while (hold && int(until - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

std::string FileNameOf(const MapiFileDesc& file) {
  if (file.lpszFileName && *file.lpszFileName) return file.lpszFileName;
  const std::string path = file.lpszPathName ? file.lpszPathName : "";
  return path.substr(path.find_last_of("\\/") + 1);
}

}  // namespace

extern "C" ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR uiParam, lpMapiMessage message, FLAGS flags, ULONG) {
  Record record("MAPISendMail");
  if (!record.ok()) return MAPI_E_FAILURE;
  HWND owner = reinterpret_cast<HWND>(uiParam);
  record.Number(mailrecord::kFlags, flags);
  record.Number(mailrecord::kUiParam, static_cast<unsigned long>(uiParam));
  record.Number(mailrecord::kOwnerEnabled, owner && IsWindowEnabled(owner) ? 1 : 0);
  record.Number(mailrecord::kCapture, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(GetCapture())));
  record.Number(mailrecord::kSessionKey, static_cast<unsigned long>(session));
  if (message) {
    record.Text(mailrecord::kSubject, message->lpszSubject);
    record.Text(mailrecord::kNoteText, message->lpszNoteText);
    record.Number(mailrecord::kRecipientCount, message->nRecipCount);
    for (ULONG i = 0; message->lpRecips && i < message->nRecipCount; ++i) record.Recipient(message->lpRecips[i]);
    record.Number(mailrecord::kFileCount, message->nFileCount);
    const std::string copies = Variable(mailrecord::kAttachmentFolderVariable);
    for (ULONG i = 0; message->lpFiles && i < message->nFileCount; ++i) {
      const MapiFileDesc& file = message->lpFiles[i];
      record.Number(mailrecord::kFilePosition, file.nPosition);
      record.Text(mailrecord::kFilePath, file.lpszPathName);
      record.Text(mailrecord::kFileName, file.lpszFileName);
      if (!copies.empty() && file.lpszPathName)
        CopyFileA(file.lpszPathName, (copies + "\\" + FileNameOf(file)).c_str(), FALSE);
    }
  }
  Hold();
  if (!record.Write()) return MAPI_E_FAILURE;
  return NumberVariable(mailrecord::kResultVariable, SUCCESS_SUCCESS);
}

extern "C" ULONG WINAPI MAPILogon(ULONG_PTR uiParam, LPSTR profile, LPSTR, FLAGS flags, ULONG, LPLHANDLE session) {
  Record record("MAPILogon");
  if (!record.ok()) return MAPI_E_FAILURE;
  record.Number(mailrecord::kUiParam, static_cast<unsigned long>(uiParam));
  record.Text(mailrecord::kProfile, profile);
  record.Number(mailrecord::kFlags, flags);
  // This call takes the first of the results asked for and leaves the others to the next calls.
  const std::vector<std::string> results = Split(Variable(mailrecord::kLogonResultsVariable), ',');
  ULONG result = results.empty() ? SUCCESS_SUCCESS : std::strtoul(results.front().c_str(), nullptr, 10);
  std::string rest;
  for (size_t i = 1; i < results.size(); ++i) rest += (rest.empty() ? "" : ",") + results[i];
  SetEnvironmentVariableA(mailrecord::kLogonResultsVariable, rest.empty() ? NULL : rest.c_str());
  if (result == SUCCESS_SUCCESS && session) *session = mailrecord::kSession;
  record.Number(mailrecord::kResult, result);
  return record.Write() ? result : MAPI_E_FAILURE;
}

extern "C" ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR uiParam, FLAGS flags, ULONG) {
  Record record("MAPILogoff");
  if (!record.ok()) return MAPI_E_FAILURE;
  record.Number(mailrecord::kSessionKey, static_cast<unsigned long>(session));
  record.Number(mailrecord::kUiParam, static_cast<unsigned long>(uiParam));
  record.Number(mailrecord::kFlags, flags);
  const ULONG result = session == mailrecord::kSession ? SUCCESS_SUCCESS : MAPI_E_INVALID_SESSION;
  record.Number(mailrecord::kResult, result);
  return record.Write() ? result : MAPI_E_FAILURE;
}

extern "C" ULONG WINAPI MAPIResolveName(LHANDLE session, ULONG_PTR uiParam, LPSTR name, FLAGS flags, ULONG,
                                        lpMapiRecipDesc* recipient) {
  Record record("MAPIResolveName");
  if (!record.ok() || !recipient) return MAPI_E_FAILURE;
  record.Number(mailrecord::kSessionKey, static_cast<unsigned long>(session));
  record.Number(mailrecord::kUiParam, static_cast<unsigned long>(uiParam));
  record.Text(mailrecord::kName, name);
  record.Number(mailrecord::kFlags, flags);
  ULONG result = SUCCESS_SUCCESS;
  *recipient = nullptr;
  for (const std::string& unknown : Split(Variable(mailrecord::kUnknownNamesVariable), kListSeparator))
    if (name && unknown == name) result = MAPI_E_UNKNOWN_RECIPIENT;
  if (!name || !*name) result = MAPI_E_UNKNOWN_RECIPIENT;
  if (result == SUCCESS_SUCCESS) {
    *recipient = AllocateRecipients({name});
    if (!*recipient) result = MAPI_E_INSUFFICIENT_MEMORY;
  }
  record.Number(mailrecord::kResult, result);
  return record.Write() ? result : MAPI_E_FAILURE;
}

extern "C" ULONG WINAPI MAPIAddress(LHANDLE session, ULONG_PTR uiParam, LPSTR, ULONG editFields, LPSTR, ULONG count,
                                    lpMapiRecipDesc recipients, FLAGS flags, ULONG, LPULONG newCount,
                                    lpMapiRecipDesc* newRecipients) {
  Record record("MAPIAddress");
  if (!record.ok() || !newCount || !newRecipients) return MAPI_E_FAILURE;
  record.Number(mailrecord::kSessionKey, static_cast<unsigned long>(session));
  record.Number(mailrecord::kUiParam, static_cast<unsigned long>(uiParam));
  record.Number(mailrecord::kEditFields, editFields);
  record.Number(mailrecord::kFlags, flags);
  record.Number(mailrecord::kRecipientCount, count);
  for (ULONG i = 0; recipients && i < count; ++i) record.Recipient(recipients[i]);
  ULONG result = NumberVariable(mailrecord::kAddressResultVariable, SUCCESS_SUCCESS);
  *newCount = 0;
  *newRecipients = nullptr;
  if (result == SUCCESS_SUCCESS) {
    const std::vector<std::string> names = Split(Variable(mailrecord::kAddressBookVariable), kListSeparator);
    *newRecipients = AllocateRecipients(names);
    if (*newRecipients)
      *newCount = ULONG(names.size());
    else
      result = MAPI_E_INSUFFICIENT_MEMORY;
  }
  record.Number(mailrecord::kReturned, *newCount);
  record.Number(mailrecord::kResult, result);
  return record.Write() ? result : MAPI_E_FAILURE;
}

extern "C" ULONG WINAPI MAPIFreeBuffer(LPVOID buffer) {
  Record record("MAPIFreeBuffer");
  const bool known = Outstanding().erase(buffer) != 0;
  if (known) std::free(buffer);
  record.Number(mailrecord::kKnownBuffer, known ? 1 : 0);
  record.Number(mailrecord::kOutstanding, static_cast<unsigned long>(Outstanding().size()));
  if (record.ok()) record.Write();
  return known || !buffer ? SUCCESS_SUCCESS : MAPI_E_FAILURE;
}
