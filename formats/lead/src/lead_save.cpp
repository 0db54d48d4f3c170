// The LEAD-based module's save sequence.
#include "lead_save.h"
#include "lead_rules.h"
#include "safefile/safefile.h"

namespace nxlead {

namespace {

const int kTiffFormat = 3;
const int32_t kFirstPage = 1;
const int32_t kThumbnailPage = 2;
const int kDefaultQualityFactor = 0;  // the thumbnail page is saved at the toolkit's default quality

const ToolkitCalls kToolkit = {orvlSaveFile, orvlSaveBitmap, orvlResampleBitmap, orvlGetFileOption,
                               orvlSetFileOption};

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
  // The toolkit writes the pages by name into the pending file's temporary, which replaces the target only
  // when both worked; otherwise it goes.
  safefile::PendingFile pending(request.path);
  if (!pending.Close()) return IMGFILERR_WRITE;
  const char* temp = pending.temporary().c_str();
  int rc = calls.saveFile(temp, bmp, request.format, request.bits, QualityFactor(request.quality),
                          SaveFlags(request.bits, request.format));
  if (rc == ORVL_SUCCESS && request.format == kTiffFormat) rc = SaveThumbnailPage(calls, request, temp, bmp);
  const tagIMGFILERR result = MapLeadResult(rc);
  if (result != IMGFILERR_OK) return result;
  if (pending.Commit()) return IMGFILERR_OK;
  return pending.error() == safefile::Error::kTargetLocked ? IMGFILERR_OPEN : IMGFILERR_WRITE;
}

}  // namespace nxlead
