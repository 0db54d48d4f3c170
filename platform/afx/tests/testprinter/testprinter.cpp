// The tests' file printer: Wine's PostScript driver on a port that is a file of the prefix.
#include "testprinter.h"

#include <windows.h>
#include <winspool.h>
#include <fstream>
#include <sstream>
#include <vector>

namespace orvtest {

const char kFilePrinterName[] = "Orvane File Printer";

namespace {
const char kDriverEnvironment[] = "Windows NT x86";
const char kDriverModule[] = "wineps.drv";  // the driver and its configuration module
const char kOutputName[] = "orvane_printer.ps";
const char kDescriptionName[] = "orvane_printer.ppd";
const char kPageComment[] = "%%Page:";
// Wine's own generic printer description, a resource of its spooler library.
const char kDescriptionType[] = "PPDFILE";
const int kDescriptionId = 1;

std::string TempPath(const char* name) {
  char dir[MAX_PATH];
  DWORD n = GetTempPathA(MAX_PATH, dir);
  return std::string(dir, n) + name;
}

// The host's path of a file of the prefix: a Wine printer port names a file of the host.
bool UnixPath(const std::string& windowsPath, std::string* unixPath) {
  typedef char*(CDECL * ToUnix)(LPCWSTR);
  ToUnix toUnix = reinterpret_cast<ToUnix>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
  if (!toUnix) return false;  // not Wine: a real system brings real printers
  std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* result = toUnix(wide.c_str());
  if (!result) return false;
  *unixPath = result;
  HeapFree(GetProcessHeap(), 0, result);
  return true;
}

bool WriteDescription(const std::string& path, std::string* error) {
  HMODULE spooler = LoadLibraryA("winspool.drv");
  HRSRC found = spooler ? FindResourceA(spooler, MAKEINTRESOURCEA(kDescriptionId), kDescriptionType) : NULL;
  const char* data = found ? static_cast<const char*>(LockResource(LoadResource(spooler, found))) : NULL;
  if (!data) {
    *error = "the spooler has no generic printer description";
    return false;
  }
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(data, SizeofResource(spooler, found));
  if (!out) *error = "cannot write " + path;
  return bool(out);
}

std::string LastError(const char* what) {
  std::ostringstream text;
  text << what << " failed with " << GetLastError();
  return text.str();
}
}  // namespace

std::string FilePrinterOutput() { return TempPath(kOutputName); }

bool InstallFilePrinter(std::string* error) {
  std::string port;
  if (!UnixPath(FilePrinterOutput(), &port)) {
    *error = "no host path for the printer's output file";
    return false;
  }
  HANDLE printer = NULL;
  PRINTER_DEFAULTSA access = {NULL, NULL, PRINTER_ALL_ACCESS};
  if (OpenPrinterA(const_cast<char*>(kFilePrinterName), &printer, &access)) {
    // Made by an earlier run: its port must name this prefix's output file.
    DWORD needed = 0;
    GetPrinterA(printer, 2, NULL, 0, &needed);
    std::vector<BYTE> buffer(needed);
    PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
    bool ok = needed && GetPrinterA(printer, 2, buffer.data(), needed, &needed);
    if (ok && port != info->pPortName) {
      info->pPortName = const_cast<char*>(port.c_str());
      info->pSecurityDescriptor = NULL;
      ok = SetPrinterA(printer, 2, buffer.data(), 0);
    }
    ClosePrinter(printer);
    if (!ok) {
      *error = LastError("updating the printer");
      return false;
    }
  } else {
    std::string description = TempPath(kDescriptionName);
    if (!WriteDescription(description, error)) return false;
    DRIVER_INFO_3A driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kFilePrinterName);
    driver.pEnvironment = const_cast<char*>(kDriverEnvironment);
    driver.pDriverPath = const_cast<char*>(kDriverModule);
    driver.pDataFile = const_cast<char*>(description.c_str());
    driver.pConfigFile = const_cast<char*>(kDriverModule);
    driver.pDefaultDataType = const_cast<char*>("RAW");
    if (!AddPrinterDriverExA(NULL, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY)) {
      *error = LastError("adding the PostScript driver");
      return false;
    }
    PRINTER_INFO_2A info = {};
    info.pPrinterName = const_cast<char*>(kFilePrinterName);
    info.pPortName = const_cast<char*>(port.c_str());
    info.pDriverName = const_cast<char*>(kFilePrinterName);
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    printer = AddPrinterA(NULL, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) {
      *error = LastError("adding the printer");
      return false;
    }
    ClosePrinter(printer);
  }
  if (!SetDefaultPrinterA(kFilePrinterName)) {
    *error = LastError("making the printer the default");
    return false;
  }
  return true;
}

std::string ReadFilePrinterOutput() {
  std::ifstream in(FilePrinterOutput().c_str(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void RemoveFilePrinterOutput() { DeleteFileA(FilePrinterOutput().c_str()); }

int CountPostScriptPages(const std::string& job) {
  int pages = 0;
  for (size_t at = job.find(kPageComment); at != std::string::npos; at = job.find(kPageComment, at + 1)) ++pages;
  return pages;
}

}  // namespace orvtest
