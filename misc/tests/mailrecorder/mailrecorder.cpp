// A Simple MAPI mail client for tests: MAPISendMail writes everything it was handed to a record file and
// returns the result the test asked for, without showing anything.
#include <windows.h>
#include <mapi.h>
#include <cstdio>
#include <cstdlib>
#include "mail_record.h"

namespace {

const DWORD kVariableSize = MAX_PATH;

void PutText(std::FILE* out, const char* key, const char* text) {
  if (text)
    std::fprintf(out, "%s=%s\n", key, text);
  else
    std::fprintf(out, "%s\n", key);
}

void PutNumber(std::FILE* out, const char* key, unsigned long value) { std::fprintf(out, "%s=%lu\n", key, value); }

}  // namespace

extern "C" ULONG WINAPI MAPISendMail(LHANDLE, ULONG_PTR uiParam, lpMapiMessage message, FLAGS flags, ULONG) {
  char path[kVariableSize], result[kVariableSize];
  DWORD length = GetEnvironmentVariableA(mailrecord::kRecordPathVariable, path, kVariableSize);
  if (length == 0 || length >= kVariableSize) return MAPI_E_FAILURE;
  std::FILE* out = std::fopen(path, "a");
  if (!out) return MAPI_E_FAILURE;
  HWND owner = reinterpret_cast<HWND>(uiParam);
  std::fprintf(out, "%s\n", mailrecord::kCall);
  PutNumber(out, mailrecord::kFlags, flags);
  PutNumber(out, mailrecord::kUiParam, static_cast<unsigned long>(uiParam));
  PutNumber(out, mailrecord::kOwnerEnabled, owner && IsWindowEnabled(owner) ? 1 : 0);
  PutNumber(out, mailrecord::kCapture, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(GetCapture())));
  if (message) {
    PutText(out, mailrecord::kSubject, message->lpszSubject);
    PutText(out, mailrecord::kNoteText, message->lpszNoteText);
    PutNumber(out, mailrecord::kRecipientCount, message->nRecipCount);
    for (ULONG i = 0; message->lpRecips && i < message->nRecipCount; ++i) {
      PutNumber(out, mailrecord::kRecipient, message->lpRecips[i].ulRecipClass);
      PutText(out, mailrecord::kRecipientName, message->lpRecips[i].lpszName);
      PutText(out, mailrecord::kRecipientAddress, message->lpRecips[i].lpszAddress);
    }
    PutNumber(out, mailrecord::kFileCount, message->nFileCount);
    for (ULONG i = 0; message->lpFiles && i < message->nFileCount; ++i) {
      PutNumber(out, mailrecord::kFilePosition, message->lpFiles[i].nPosition);
      PutText(out, mailrecord::kFilePath, message->lpFiles[i].lpszPathName);
      PutText(out, mailrecord::kFileName, message->lpFiles[i].lpszFileName);
    }
  }
  const bool written = std::fclose(out) == 0;
  if (!written) return MAPI_E_FAILURE;
  length = GetEnvironmentVariableA(mailrecord::kResultVariable, result, kVariableSize);
  return length > 0 && length < kVariableSize ? std::strtoul(result, nullptr, 10) : SUCCESS_SUCCESS;
}
