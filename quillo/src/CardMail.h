// cCardMail: the card's mail delivery through Simple MAPI. It holds the card's mail session (MAPI32.DLL loaded at
// the first mail operation, logged off and unloaded when the card window goes), sends the card with its
// attachment, keeps the back's recipients resolved, runs the address book, and turns Simple MAPI results into
// messages and actions. Every function of the mail library is looked up by name right before it is used.
#pragma once
#include <afxwin.h>

#include "MailLibrary.h"

class cCardDialog;
class cRecipientTable;
class cSendProgress;

class cCardMail {
 public:
  explicit cCardMail(cCardDialog& card) : m_card(card) {}

  // Opens the session: the "DefaultProfile" mail profile first, then the mail client's own logon. True when
  // logged on.
  BOOL MapiLogon();
  // Closes the session and unloads the library (the card window calls it when it goes).
  void MapiLogoff();
  // True for success and the user's abort; any other result is a failure, told to the user as its rule says
  // (turning the card to its back and opening the address book where the rule asks and allowAddressBook).
  BOOL ReportMapiResult(ULONG result, BOOL allowAddressBook = TRUE);
  // Sends the card as a package (or as the card picture) to the back's recipients; true when the mail
  // client took it. The attachment file is deleted in every case.
  BOOL MailCard(BOOL asPackage, cSendProgress* progress = nullptr);
  // Lets the user choose the recipients in the mail client's address book (at most 25 are kept).
  void AddressBook();
  // Resolves the table's entry at index through the mail client; 0 on success, else the failure.
  ULONG ResolveRecipient(cRecipientTable& table, int index);
  // Rebuilds the back's recipient table from its "to" field when the field was edited; with report, a
  // recipient that could not be resolved is told to the user. False when a recipient was dropped or the
  // session could not be opened (the field then keeps its text).
  BOOL UpdateRecipients(BOOL report = TRUE);

  const cMailLibrary& Library() const { return m_library; }

 private:
  // Tells the user that the mail library lacks a function.
  void ReportInvalidLibrary();

  cCardDialog& m_card;
  cMailLibrary m_library;
};
