// WriteCardPackage, AppendPackageItem and FindPlayerMarker: the file operations around the portable core
// (stub copy, temporary names, the external compressor, message boxes).
#include "quillo/CardPackage.h"

#include <afxwin.h>

#include <cstdint>
#include <cstdio>

#include "cardpackage/stream.h"
#include "cardpackage/trailer.h"
#include "quillo/QuilloIds.h"
#include "safefile/safefile.h"

namespace {

using namespace cardpackage;

// The compressor is polled this often until it ends.
const DWORD kCompressorPollMs = 50;
// The hidden compressor's window is placed off every screen.
const DWORD kCompressorWindowPosition = 100000;
// Offsets in the trailer are 32-bit: no part may end beyond this.
const uint64_t kLargestPackageEnd = 0xFFFFFFFFull;

class FileSource : public ByteSource {
 public:
  explicit FileSource(HANDLE file) : file_(file) {}
  long Read(void* buffer, size_t size) override {
    DWORD got = 0;
    if (!ReadFile(file_, buffer, DWORD(size), &got, NULL)) return -1;
    return long(got);
  }

 private:
  HANDLE file_;
};

// Writes at the file's current position, which AppendPackageItem sets to the end.
class FileSink : public ByteSink {
 public:
  explicit FileSink(HANDLE file) : file_(file) {}
  size_t Write(const void* data, size_t size) override {
    DWORD stored = 0;
    if (!WriteFile(file_, data, DWORD(size), &stored, NULL)) return 0;
    return stored;
  }
  bool Truncate(uint64_t size) override {
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(size);
    return SetFilePointerEx(file_, at, NULL, FILE_BEGIN) && SetEndOfFile(file_);
  }
  uint64_t Size() override {
    LARGE_INTEGER size;
    return GetFileSizeEx(file_, &size) ? uint64_t(size.QuadPart) : 0;
  }

 private:
  HANDLE file_;
};

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != NULL; }
  BOOL Close() {
    BOOL ok = TRUE;
    if (valid()) ok = CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

std::string ProgramDirectory() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  std::string dir(path, n);
  const size_t slash = dir.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : dir.substr(0, slash + 1);
}

const char* OrEmpty(LPCSTR text) { return text ? text : ""; }
bool Given(LPCSTR path) { return path && *path; }

void ShowError(bool show, UINT id, const std::string& name) {
  if (!show) return;
  CString text;
  AfxFormatString1(text, id, name.c_str());
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

// Runs the external compressor on source into a new temporary file and waits for it. Empty when it could
// not be started.
std::string RunCompressor(LPCSTR source) {
  const std::string output = quillo::ReserveTempFile();
  if (output.empty()) return output;
  // Paths are quoted so that names with blanks reach the compressor as one argument each.
  std::string command = "compress.exe \"" + std::string(source) + "\" \"" + output + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEPOSITION;
  startup.wShowWindow = SW_HIDE;
  startup.dwX = startup.dwY = kCompressorWindowPosition;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS,
                      NULL, NULL, &startup, &process)) {
    DeleteFileA(output.c_str());
    return std::string();
  }
  CloseHandle(process.hThread);
  DWORD code = STILL_ACTIVE;
  while (GetExitCodeProcess(process.hProcess, &code) && code == STILL_ACTIVE) Sleep(kCompressorPollMs);
  CloseHandle(process.hProcess);
  return output;
}

bool SeekToEnd(HANDLE file, uint64_t* position) {
  LARGE_INTEGER zero = {}, at;
  if (!SetFilePointerEx(file, zero, &at, FILE_END)) return false;
  *position = uint64_t(at.QuadPart);
  return true;
}

PartRange AppendAt(LPCSTR source, HANDLE package, int compress, BYTE* checksum) {
  const DWORD length = AppendPackageItem(source, package, compress, checksum);
  uint64_t end = 0;
  SeekToEnd(package, &end);
  return PartRange{uint32_t(end - length), length};
}

}  // namespace

BOOL FindPlayerMarker(HANDLE file) {
  LARGE_INTEGER zero = {};
  if (!SetFilePointerEx(file, zero, NULL, FILE_BEGIN)) return FALSE;
  FileSource source(file);
  return cardpackage::FindPlayerMarker(source) ? TRUE : FALSE;
}

DWORD AppendPackageItem(LPCSTR sourcePath, HANDLE package, int compress, BYTE* checksum) {
  if (!Given(sourcePath)) return 0;
  std::string compressed;
  if (compress) {
    compressed = RunCompressor(sourcePath);
    if (compressed.empty()) return 0;
    sourcePath = compressed.c_str();
  }
  DWORD appended = 0;
  {
    Handle source(CreateFileA(sourcePath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, NULL));
    LARGE_INTEGER size;
    uint64_t start = 0;
    if (source.valid() && GetFileSizeEx(source.get(), &size) && SeekToEnd(package, &start) &&
        start + uint64_t(size.QuadPart) <= kLargestPackageEnd) {
      FileSource in(source.get());
      FileSink out(package);
      appended = DWORD(AppendPart(in, uint64_t(size.QuadPart), out, checksum));
    }
  }
  if (!compressed.empty()) DeleteFileA(compressed.c_str());
  return appended;
}

int WriteCardPackage(LPCSTR picturePath, LPCSTR videoPath, LPCSTR soundPath, int cardKind, LPCSTR subject,
                     LPCSTR message, LPCSTR sender, LPCSTR recipients, LPCSTR outputPath, LPCSTR stubName,
                     time_t created, int compress, int includeViewerFiles, int showErrors, LPCSTR linkLabel,
                     LPCSTR linkAddress) {
  if (!Given(picturePath) || cardKind < kKindNone || cardKind > kLastCardKind) return 0;
  if ((cardKind == kKindVideoOnly || cardKind == kKindVideoAndPicture) && !Given(videoPath)) return 0;
  const std::string output = Given(outputPath) ? outputPath : quillo::kDefaultPackageName;
  const std::string stub = Given(stubName) ? stubName : quillo::kPlayerStubName;
  const std::string programDir = ProgramDirectory();
  const bool show = showErrors != 0;

  // The package grows under a temporary name beside the output, so a failure never costs a file there; the
  // temporary goes away with `pending` unless it is committed.
  safefile::PendingFile pending(output);
  const std::string& temp = pending.temporary();
  if (temp.empty() || !pending.Close()) {
    ShowError(show, IDS_PACKAGE_NOT_OPENED, output);
    return 0;
  }
  if (!CopyFileA((programDir + stub).c_str(), temp.c_str(), FALSE) && !CopyFileA(stub.c_str(), temp.c_str(), FALSE)) {
    ShowError(show, IDS_PACKAGE_STUB_MISSING, stub);
    return 0;
  }
  // A stub installed read-only would otherwise make every package fail to open.
  SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);

  Handle package(CreateFileA(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, NULL));
  if (!package.valid()) {
    ShowError(show, IDS_PACKAGE_NOT_OPENED, output);
    return 0;
  }
  if (!FindPlayerMarker(package.get())) {
    package.Close();
    ShowError(show, IDS_PACKAGE_STUB_INVALID, stub);
    return 0;
  }

  PackageTrailer trailer;
  trailer.cardKind = uint16_t(cardKind);
  BYTE checksum = 0;
  SetPart(&trailer, kPicturePart, AppendAt(picturePath, package.get(), compress, &checksum));
  if (includeViewerFiles) {
    SetPart(&trailer, kViewerFile1Part,
            AppendAt((programDir + quillo::kViewerFile1Name).c_str(), package.get(), compress, &checksum));
    SetPart(&trailer, kViewerFile2Part,
            AppendAt((programDir + quillo::kViewerFile2Name).c_str(), package.get(), compress, &checksum));
  }
  if (Given(videoPath)) SetPart(&trailer, kVideoPart, AppendAt(videoPath, package.get(), compress, &checksum));
  if (Given(soundPath)) SetPart(&trailer, kSoundPart, AppendAt(soundPath, package.get(), compress, &checksum));

  trailer.compressed = uint8_t(compress);
  trailer.checksum = checksum;
  trailer.messageText = OrEmpty(message);
  trailer.senderText = OrEmpty(sender);
  trailer.recipientText = OrEmpty(recipients);
  trailer.subjectText = OrEmpty(subject);
  if (const std::tm* local = std::localtime(&created)) trailer.created = CreatedFromBrokenDownTime(*local);
  trailer.linkLabel = OrEmpty(linkLabel);
  trailer.linkAddress = OrEmpty(linkAddress);
  uint8_t bytes[kTrailerSize];
  EncodeTrailer(trailer, bytes);

  uint64_t end = 0;
  DWORD written = 0;
  const bool finished = SeekToEnd(package.get(), &end) &&
                        WriteFile(package.get(), bytes, DWORD(kTrailerSize), &written, NULL) &&
                        written == kTrailerSize;
  if (!package.Close() || !finished || !pending.Commit()) {
    ShowError(show, IDS_PACKAGE_NOT_WRITTEN, output);
    return 0;
  }
  return 1;
}
