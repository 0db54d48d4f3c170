// The recording mail client's contract with the tests: where it writes what it received, what it answers, and
// the keys of the record (one "key=value" line per field; a key alone means the caller passed a null string).
#pragma once

namespace mailrecord {

// Environment variables of the calling process, read at each MAPISendMail call.
const char kRecordPathVariable[] = "ORV_MAIL_RECORD";   // file the record is appended to
const char kResultVariable[] = "ORV_MAIL_RESULT";       // decimal result to return; 0 when unset

// The recorder's name as a mail client under HKLM\Software\Clients\Mail.
const char kClientName[] = "Orvane Mail Recorder";
const char kDllName[] = "mailrecorder.dll";

// Record keys, in the order written. Recipients and files repeat once per entry.
const char kCall[] = "call";                // marks the start of one call
const char kFlags[] = "flags";              // decimal
const char kUiParam[] = "uiparam";          // the window handle as a decimal number
const char kOwnerEnabled[] = "ownerenabled";  // 1 or 0: whether that window accepted input during the call
const char kCapture[] = "capture";          // the window holding the mouse capture during the call, decimal
const char kSubject[] = "subject";
const char kNoteText[] = "notetext";
const char kRecipientCount[] = "recipients";
const char kRecipient[] = "recipient";      // class, then name and address on their own lines
const char kRecipientName[] = "recipientname";
const char kRecipientAddress[] = "recipientaddress";
const char kFileCount[] = "files";
const char kFilePosition[] = "fileposition";  // decimal, 4294967295 for "no position"
const char kFilePath[] = "filepath";
const char kFileName[] = "filename";

}  // namespace mailrecord
