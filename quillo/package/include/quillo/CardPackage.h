// The card package and attachment writers of the postcard program (Win32 layer over the portable core in
// package/core). The card window's send and save commands call BuildPackageFromFront with the front picture
// they rendered, or ReserveTempFile and FillAttachmentDesc for the card-picture format. Failures return 0 or
// an empty path and, when asked, show a message from the resource library (AfxGetResourceHandle).
#pragma once

#include <windows.h>
#include <mapi.h>

#include <ctime>
#include <string>

namespace quillo {

// Fixed names, looked up in the running program's directory.
constexpr char kPlayerStubName[] = "NXPLAY.BIN";
constexpr char kViewerFile1Name[] = "picw13.bin";
constexpr char kViewerFile2Name[] = "picn1113.bin";
constexpr char kDefaultPackageName[] = "NXPLAY.EXE";  // in the current directory, when no output is given
constexpr char kTempPrefix[] = "NXN";
constexpr char kPackageExtension[] = ".EXE";
constexpr char kPictureExtension[] = ".JPG";

// The card picture: front above back, saved as JPEG with the imaging library's quality factor 25.
constexpr int kCardPictureWidth = 630;
constexpr int kCardPictureHeight = 846;
constexpr int kCardPictureBackTop = 423;
constexpr int kAttachmentJpegQualityFactor = 25;

}  // namespace quillo

// Builds one card package: the player stub, the parts present and the 1756-byte trailer. cardKind 1 or 2
// needs a video path. outputPath NULL means "NXPLAY.EXE" in the current directory, stubName NULL
// "NXPLAY.BIN" (copied from the program's directory, else as given). created is the card's own time stamp.
// The package is built beside the output and moved over it only when complete. Returns 1 or 0.
int WriteCardPackage(LPCSTR picturePath, LPCSTR videoPath, LPCSTR soundPath, int cardKind, LPCSTR subject,
                     LPCSTR message, LPCSTR sender, LPCSTR recipients, LPCSTR outputPath, LPCSTR stubName,
                     time_t created, int compress, int includeViewerFiles, int showErrors, LPCSTR linkLabel,
                     LPCSTR linkAddress);

// Appends sourcePath at the end of the open package, adding each byte to *checksum; with compress, the
// source first goes through the external "compress.exe". Returns the bytes appended, 0 on failure (then the
// package and *checksum are as before).
DWORD AppendPackageItem(LPCSTR sourcePath, HANDLE package, int compress, BYTE* checksum);

// True when the open file carries the player marker wholly inside one of its 65534-byte blocks.
BOOL FindPlayerMarker(HANDLE file);

namespace quillo {

// A new empty file with the prefix "NXN" in the folder named by TMP (else the system's temporary folder).
// Empty when none can be made.
std::string ReserveTempFile();

// True when the path's extension is ".AVI" or ".IVS", in any case.
bool IsVideoFile(const std::string& path);

// When desc and both of its name buffers (MAX_PATH characters each) are present: the temporary path into
// lpszPathName, and its base name followed by extension (".EXE" or ".JPG") into lpszFileName.
void FillAttachmentDesc(MapiFileDesc* desc, const std::string& tempPath, const char* extension);

// What the card-package attachment needs from the open card, with its front already rendered.
struct CardPackageRequest {
  std::string frontPicture;  // JPEG of the front (a temporary file; deleted by the call in every case)
  std::string mediaFile;     // the front's media file: the picture, or the video
  std::string soundFile;     // the recorded sound; empty when the card has none
  std::string subject, message, sender, recipients;
  time_t created = 0;        // the card's time stamp, taken when its back was made
  bool pictureFront = true;  // the card's picture-front flag: the viewer support files go in
  std::string linkLabel, linkAddress;  // the "Link Label" and "Link Address" preferences
};

// Builds the card-package attachment in a new "NXN" temporary file: kind 2 when the media is a video, else
// 3; messages shown. Returns the package's path (the caller deletes the file after use) and fills desc;
// empty on failure, with no temporary file left behind.
std::string BuildPackageFromFront(const CardPackageRequest& request, MapiFileDesc* desc);

}  // namespace quillo
