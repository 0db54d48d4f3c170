// What imagio and every format module agree on besides INXIFLib itself: the module category and the COM status
// values that carry tagIMGFILERR codes.
#pragma once
#include <windows.h>
#include <imagio/imgtypes.h>

namespace nxformat {

// The component category every format module registers its class in; imagio enumerates it at Init.
// {DED72480-B9D1-11D1-9538-00A0244D4200}
const GUID kCategoryId = {0xded72480, 0xb9d1, 0x11d1, {0x95, 0x38, 0x00, 0xa0, 0x24, 0x4d, 0x42, 0x00}};
const wchar_t kCategoryDescription[] = L"Nexlumen Image Libraries";

// The most image types one module may list, and the room the callers give the extension strings.
const unsigned kMaxTypesPerModule = 10;
const unsigned kMaxBitDepths = 10;
const unsigned kExtensionRoom = 30;
const unsigned kFilterNameRoom = 256;

// Module results: success 0x00040200, failure 0x80040000 plus the code; callers keep the low 16 bits.
const HRESULT kStatusSuccess = 0x00040200;
const uint32_t kStatusFailureBase = 0x80040000u;

inline HRESULT Status(int code) {
  return code == IMGFILERR_OK ? kStatusSuccess : static_cast<HRESULT>(kStatusFailureBase + code);
}
inline tagIMGFILERR Code(HRESULT status) { return static_cast<tagIMGFILERR>(static_cast<uint32_t>(status) & 0xFFFF); }

}  // namespace nxformat
