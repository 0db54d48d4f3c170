// Saving a whole bitmap the way the LEAD-based module writes files: the picture, for TIFF a second page with a
// small thumbnail, all into a temporary file in the target's folder that replaces the target only when every
// step worked. The toolkit calls come through a table so that tests can make single steps fail.
#pragma once
#include <cstdint>
#include <string>
#include <imagio/imgtypes.h>
#include <lead/orvlead.h>

namespace nxlead {

struct ToolkitCalls {
  int (*saveFile)(const char* path, ORVLBITMAP* bmp, int format, int bits, int qfactor, uint32_t flags);
  int (*save)(const char* path, ORVLBITMAP* bmp, int format, int bits, int qfactor);
  int (*resample)(ORVLBITMAP* bmp, int width, int height);
  int (*getFileOption)(ORVLFILEOPTIONS* options);
  int (*setFileOption)(const ORVLFILEOPTIONS* options);
};

// The toolkit's own calls.
const ToolkitCalls& Toolkit();

// The box the TIFF thumbnail page is fitted into.
const uint32_t kThumbnailPageBox = 80;

struct SaveRequest {
  std::string path;
  int format;        // toolkit format number
  int bits;          // bits per pixel to write
  int quality;       // 0..100
  uint32_t width;    // the picture's size, for the thumbnail page
  uint32_t height;
};

// Saves bmp as the request says. For TIFF the bitmap is resampled to the thumbnail size on the way (it is the
// caller's to free either way). On any failure nothing of the new file stays and an old file at the path is
// left as it was.
tagIMGFILERR SaveBitmap(const ToolkitCalls& calls, const SaveRequest& request, ORVLBITMAP* bmp);

}  // namespace nxlead
