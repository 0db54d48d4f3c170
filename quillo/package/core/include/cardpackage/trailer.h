// The card package's fixed 1756-byte trailer and the player marker: layout constants, encoding and decoding.
// Portable (no Win32 types). The package writer fills a PackageTrailer and encodes it; the player decodes the
// last 1756 bytes of its own file. Numbers are little-endian; texts are ANSI bytes, NUL-terminated in their field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

namespace cardpackage {

constexpr size_t kTrailerSize = 1756;
constexpr uint16_t kTrailerVersion = 1;

// cardKind values.
enum CardKind : uint16_t {
  kKindNone = 0,             // neither picture nor video
  kKindVideoOnly = 1,
  kKindVideoAndPicture = 2,  // video with a front picture
  kKindPictureOnly = 3,
};
constexpr uint16_t kLastCardKind = kKindPictureOnly;

// Byte offsets and sizes of the trailer's fields.
namespace field {
constexpr size_t kVersion = 0;
constexpr size_t kCardKind = 2;
constexpr size_t kPictureOffset = 4;
constexpr size_t kPictureLength = 8;
constexpr size_t kViewerFile1Offset = 12;
constexpr size_t kViewerFile1Length = 16;
constexpr size_t kViewerFile2Offset = 20;
constexpr size_t kViewerFile2Length = 24;
constexpr size_t kVideoOffset = 28;
constexpr size_t kVideoLength = 32;
constexpr size_t kSoundOffset = 36;
constexpr size_t kSoundLength = 40;
constexpr size_t kCompressed = 44;
constexpr size_t kChecksum = 45;
constexpr size_t kMessageText = 46;
constexpr size_t kMessageTextSize = 767;
constexpr size_t kSenderText = 813;
constexpr size_t kSenderTextSize = 255;
constexpr size_t kRecipientText = 1068;
constexpr size_t kRecipientTextSize = 255;
constexpr size_t kSubjectText = 1323;
constexpr size_t kSubjectTextSize = 255;
constexpr size_t kCreated = 1578;
constexpr size_t kCreatedCount = 9;  // unsigned 16-bit values
constexpr size_t kLinkLabel = 1596;
constexpr size_t kLinkLabelSize = 31;
constexpr size_t kLinkAddress = 1627;
constexpr size_t kLinkAddressSize = 128;
constexpr size_t kReserved = 1755;
}  // namespace field

// The card's date and time broken down in local time, in the trailer's order.
struct CreatedStamp {
  uint16_t seconds = 0;
  uint16_t minutes = 0;
  uint16_t hours = 0;
  uint16_t dayOfMonth = 1;  // 1-31
  uint16_t month = 0;       // 0-11
  uint16_t yearsSince1900 = 0;
  uint16_t dayOfWeek = 0;   // 0 = Sunday
  uint16_t dayOfYear = 0;   // 0-365
  uint16_t daylightSaving = 0;
};
CreatedStamp CreatedFromBrokenDownTime(const std::tm& local);
bool operator==(const CreatedStamp& a, const CreatedStamp& b);

// One part of the package: a whole file appended after the player stub.
struct PartRange {
  uint32_t offset = 0;
  uint32_t length = 0;
};

struct PackageTrailer {
  uint16_t version = kTrailerVersion;
  uint16_t cardKind = kKindNone;
  uint32_t pictureOffset = 0, pictureLength = 0;
  uint32_t viewerFile1Offset = 0, viewerFile1Length = 0;
  uint32_t viewerFile2Offset = 0, viewerFile2Length = 0;
  uint32_t videoOffset = 0, videoLength = 0;
  uint32_t soundOffset = 0, soundLength = 0;
  uint8_t compressed = 0;
  uint8_t checksum = 0;
  std::string messageText;
  std::string senderText;
  std::string recipientText;
  std::string subjectText;
  CreatedStamp created;
  std::string linkLabel;
  std::string linkAddress;
};

// The five appended parts in layout order.
enum PartIndex { kPicturePart, kViewerFile1Part, kViewerFile2Part, kVideoPart, kSoundPart, kPartCount };
PartRange GetPart(const PackageTrailer& trailer, PartIndex part);
void SetPart(PackageTrailer* trailer, PartIndex part, PartRange range);

// Writes the trailer into out: zero-filled first, each text truncated to its field size minus one.
void EncodeTrailer(const PackageTrailer& trailer, uint8_t out[kTrailerSize]);
// Reads the fields at their offsets. A text field without a NUL ends at its field's end. No checks of the
// values: ReadPackage (reader.h) judges them.
PackageTrailer DecodeTrailer(const uint8_t bytes[kTrailerSize]);

// The 161-byte player marker: a NUL, then 32 tokens "xNNN" each followed by a NUL. A genuine player carries it
// wholly inside one of its 65534-byte blocks; the writer compares raw bytes and never interprets them.
inline constexpr char kPlayerMarker[] =
    "\0" "x031" "\0" "x033" "\0" "x052" "\0" "x053" "\0" "x036" "\0" "x044" "\0" "x062" "\0" "x126" "\0"
    "x166" "\0" "x023" "\0" "x062" "\0" "x123" "\0" "x090" "\0" "x020" "\0" "x020" "\0" "x106" "\0"
    "x122" "\0" "x041" "\0" "x190" "\0" "x110" "\0" "x036" "\0" "x043" "\0" "x087" "\0" "x087" "\0"
    "x030" "\0" "x039" "\0" "x077" "\0" "x064" "\0" "x006" "\0" "x199" "\0" "x035" "\0" "x023" "\0";
constexpr size_t kPlayerMarkerSize = sizeof kPlayerMarker - 1;  // without the literal's own terminator
static_assert(kPlayerMarkerSize == 161, "the marker is 161 bytes");

}  // namespace cardpackage
