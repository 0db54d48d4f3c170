// Delivery to a file: the outbox folder beside the program, the Save As dialog that proposes the card's name,
// the extension of the delivery format, and the warning when the outbox holds more cards than the limit. The
// send command calls SaveCardToFile; the name helpers are plain functions for the tests.
#pragma once
#include <afxwin.h>

class cCardDialog;
class cSendProgress;

namespace quillo {

// The folder "outbox" in the running program's folder (no backslash at the end).
CString OutboxFolder();
// The text after the last backslash and before the last dot after it.
CString BaseNameOf(const CString& path);
// path with the extension of its file name (from its last dot on, if any) replaced by extension.
CString WithExtension(const CString& path, LPCSTR extension);
// How many entries (files and folders, not "." and "..") folder holds, counting no further than atMost.
int CountFolderEntries(LPCSTR folder, int atMost);

}  // namespace quillo

// Builds the card's package (asPackage) or picture, lets the user choose where it goes (first in the folder
// of the last save, else the outbox, created when missing; the name proposed from the card's media) and
// copies it there with the format's extension; true when saved. The card remembers the folder and the file.
// The temporary file is deleted whatever happens.
BOOL SaveCardToFile(cCardDialog& card, BOOL asPackage, cSendProgress* progress = nullptr);
