// The recording mail client's contract with the tests: where it writes what it received, what it answers, and
// the keys of the record (one "key=value" line per field; a key alone means the caller passed a null string;
// line breaks and the percent sign in a value are written as %0D, %0A and %25).
#pragma once

namespace mailrecord {

// Environment variables of the calling process, read at each call.
const char kRecordPathVariable[] = "ORV_MAIL_RECORD";   // file the record is appended to
const char kResultVariable[] = "ORV_MAIL_RESULT";       // decimal result of MAPISendMail; 0 when unset
// Results of the MAPILogon calls to come, separated by commas; each call takes the first and leaves the
// rest. 0 when unset or used up.
const char kLogonResultsVariable[] = "ORV_MAIL_LOGON_RESULTS";
// The recipients MAPIAddress hands back, names separated by ';' (the address is "SMTP:" and the name), and
// its result (0 when unset).
const char kAddressBookVariable[] = "ORV_MAIL_ADDRESS_BOOK";
const char kAddressResultVariable[] = "ORV_MAIL_ADDRESS_RESULT";
// Names MAPIResolveName does not know (separated by ';'): it answers MAPI_E_UNKNOWN_RECIPIENT for them and
// resolves any other name to itself with the address "SMTP:" + name and a 4-byte entry identifier.
const char kUnknownNamesVariable[] = "ORV_MAIL_UNKNOWN";
// A folder into which MAPISendMail copies each attachment under its display name, as a mail client reads
// the file during the call (the sender deletes it afterwards).
const char kAttachmentFolderVariable[] = "ORV_MAIL_ATTACHMENTS";
// Milliseconds MAPISendMail takes, answering its thread's messages meanwhile, as a client's dialog does.
const char kHoldVariable[] = "ORV_MAIL_HOLD_MS";

// The recorder's name as a mail client under HKLM\Software\Clients\Mail.
const char kClientName[] = "Orvane Mail Recorder";
const char kDllName[] = "mailrecorder.dll";
// The session handle MAPILogon hands out.
const unsigned long kSession = 0x5E55;

// Record keys, in the order written. Recipients and files repeat once per entry.
const char kCall[] = "call";                // marks the start of one call; its value names the function
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
const char kRecipientEntryId[] = "recipiententryid";  // the entry identifier's size in bytes
const char kFileCount[] = "files";
const char kFilePosition[] = "fileposition";  // decimal, 4294967295 for "no position"
const char kFilePath[] = "filepath";
const char kFileName[] = "filename";
const char kSessionKey[] = "session";       // decimal
const char kProfile[] = "profile";          // MAPILogon's profile name
const char kName[] = "name";                // MAPIResolveName's name
const char kEditFields[] = "editfields";    // MAPIAddress's number of edit fields
const char kReturned[] = "returned";        // how many recipients MAPIAddress handed back
const char kKnownBuffer[] = "known";        // MAPIFreeBuffer: 1 when the block was one this client handed out
const char kOutstanding[] = "outstanding";  // MAPIFreeBuffer: blocks handed out and not yet freed, after it
const char kResult[] = "result";            // what the call answered (MAPISendMail writes none)

}  // namespace mailrecord
