// A printer for tests under Wine, whose fresh prefixes have none: Wine's PostScript driver (wineps.drv)
// writing every job to one file, made the prefix's default printer. Test code: any module's printing tests
// link orv_testprinter and call InstallFilePrinter in their set-up.
#pragma once
#include <string>

namespace orvtest {

// The printer's name.
extern const char kFilePrinterName[];

// Makes (once per prefix) or re-points the file printer so that its jobs go to OutputPath(), and makes it
// the default printer. False, with the reason in error, when the spooler refused.
bool InstallFilePrinter(std::string* error);

// Where the printer's jobs land (a Windows path in the prefix's temporary folder).
std::string FilePrinterOutput();

// The whole output of the last job, empty when there was none; RemoveFilePrinterOutput deletes it.
std::string ReadFilePrinterOutput();
void RemoveFilePrinterOutput();

// Pages of a PostScript job: its page comments ("%%Page:").
int CountPostScriptPages(const std::string& job);

}  // namespace orvtest
