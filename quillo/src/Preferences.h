// The card's preferences under the program's profile section "Preferences" (HKCU\Software\Nexlumen\<program>):
// every read goes to the registry. The setters write the value and, when it differs from what the program
// last set in this run and the main window exists, post WM_CARD_PREFS_CHANGED to it. Used by the card window,
// its back, the attachment builders, the delivery and the preferences dialog.
#pragma once
#include <afxwin.h>

class cPreferences {
 public:
  enum DeliveryService { kServiceMail = 0, kServiceOutbox = 1 };
  enum DeliveryFormat { kFormatPackage = 0, kFormatPicture = 1 };

  // "Sender Name"; the logged-on user's name when there is none. Written back after every read.
  static CString SenderName();
  // "Delivery Service": 0 mail, 1 the outbox; the stored values 2 and 3 read as 1.
  static int DeliveryService();
  // "Delivery Format": 0 package, 1 picture. A 1 read while the card carries a video or a sound is refused:
  // the user is told, 0 is written back and 0 is the answer.
  static int DeliveryFormat(BOOL cardHasVideoOrSound);
  static BOOL PromptDeliveryFormat();    // "Prompt Delivery Format", 1 unless set
  static BOOL PromptVideoCompression();  // "Prompt Video Compression", 1 unless set
  static BOOL WarnOutboxFull();          // "Warn Outbox Full", 0 unless set
  static int OutboxLimit();              // "Outbox Limit", 20 unless set
  // "Image Directory"; empty when there is none.
  static CString ImageDirectory();
  // "Link Label" and "Link Address"; texts of the resource library when there are none.
  static CString LinkLabel();
  static CString LinkAddress();

  static void SetSenderName(LPCSTR name);
  static void SetDeliveryService(int service);
  static void SetDeliveryFormat(int format);
  static void SetPromptDeliveryFormat(BOOL prompt);
  static void SetPromptVideoCompression(BOOL prompt);
  static void SetWarnOutboxFull(BOOL warn);
  static void SetOutboxLimit(int limit);
};
