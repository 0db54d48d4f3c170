// The LEAD-based module's save sequence.
#include "lead_save.h"
#include <windows.h>
#include "lead_rules.h"

namespace nxlead {

namespace {

const int kTiffFormat = 3;
const int32_t kFirstPage = 1;
const int32_t kThumbnailPage = 2;
const int kDefaultQualityFactor = 0;  // the thumbnail page is saved at the toolkit's default quality
const char kTempPrefix[] = "nxl";

const ToolkitCalls kToolkit = {orvlSaveFile, orvlSaveBitmap, orvlResampleBitmap, orvlGetFileOption,
                               orvlSetFileOption};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  if (slash == 0) return path.substr(0, 1);
  return path.substr(0, slash);
}

// Sets the page number of the calling thread's file options; the previous options are kept to restore.
int SetPage(const ToolkitCalls& calls, int32_t page) {
  ORVLFILEOPTIONS options = {};
  options.uStructSize = sizeof(options);
  int rc = calls.getFileOption(&options);
  if (rc != ORVL_SUCCESS) return rc;
  options.PageNumber = page;
  return calls.setFileOption(&options);
}

int SaveThumbnailPage(const ToolkitCalls& calls, const SaveRequest& request, const char* path, ORVLBITMAP* bmp) {
  const Size stamp = ThumbnailSize(request.width, request.height, kThumbnailPageBox, kThumbnailPageBox);
  int rc = calls.resample(bmp, static_cast<int>(stamp.width), static_cast<int>(stamp.height));
  if (rc != ORVL_SUCCESS) return rc;
  rc = SetPage(calls, kThumbnailPage);
  if (rc == ORVL_SUCCESS) rc = calls.save(path, bmp, kTiffFormat, ThumbnailPageBits(request.bits), kDefaultQualityFactor);
  const int restored = SetPage(calls, kFirstPage);
  return rc == ORVL_SUCCESS ? restored : rc;
}

}  // namespace

const ToolkitCalls& Toolkit() { return kToolkit; }

tagIMGFILERR SaveBitmap(const ToolkitCalls& calls, const SaveRequest& request, ORVLBITMAP* bmp) {
  if (!bmp || request.width == 0 || request.height == 0) return IMGFILERR_FAILED;
  char temp[MAX_PATH];
  if (!GetTempFileNameA(FolderOf(request.path).c_str(), kTempPrefix, 0, temp)) return IMGFILERR_WRITE;
  int rc = calls.saveFile(temp, bmp, request.format, request.bits, QualityFactor(request.quality),
                          SaveFlags(request.bits, request.format));
  if (rc == ORVL_SUCCESS && request.format == kTiffFormat) rc = SaveThumbnailPage(calls, request, temp, bmp);
  tagIMGFILERR result = MapLeadResult(rc);
  if (result == IMGFILERR_OK && !MoveFileExA(temp, request.path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const DWORD error = GetLastError();
    result = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ? IMGFILERR_OPEN : IMGFILERR_WRITE;
  }
  if (result != IMGFILERR_OK) DeleteFileA(temp);
  return result;
}

}  // namespace nxlead
