// The card's preferences under the program's profile section "Preferences": every read goes to the registry.
// So far the values the card itself needs: the sender's name, the folder pictures are first chosen from, and
// the link stored in each package. Used by the card window, its back and the attachment builders.
#pragma once
#include <afxwin.h>

class cPreferences {
 public:
  // "Sender Name"; the logged-on user's name when there is none. Written back after every read.
  static CString SenderName();
  // "Image Directory"; empty when there is none.
  static CString ImageDirectory();
  // "Link Label" and "Link Address"; texts of the resource library when there are none.
  static CString LinkLabel();
  static CString LinkAddress();
};
