// Encoding and decoding of the package trailer at its fixed byte offsets, independent of the host's layout.
#include "cardpackage/trailer.h"

#include <cstring>

namespace cardpackage {

namespace {

void PutU16(uint8_t* at, uint16_t value) {
  at[0] = uint8_t(value);
  at[1] = uint8_t(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * i));
}

uint16_t GetU16(const uint8_t* at) { return uint16_t(at[0] | (at[1] << 8)); }

uint32_t GetU32(const uint8_t* at) {
  return uint32_t(at[0]) | (uint32_t(at[1]) << 8) | (uint32_t(at[2]) << 16) | (uint32_t(at[3]) << 24);
}

// Copies at most fieldSize - 1 bytes; the rest of the field, including its last byte, stays 0.
void PutText(uint8_t* at, size_t fieldSize, const std::string& text) {
  const size_t kept = text.size() < fieldSize - 1 ? text.size() : fieldSize - 1;
  std::memcpy(at, text.data(), kept);
}

// Stops at the first NUL, or at the field's end when it has none.
std::string GetText(const uint8_t* at, size_t fieldSize) {
  size_t length = 0;
  while (length < fieldSize && at[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(at), length);
}

struct PartFields {
  uint32_t PackageTrailer::*offset;
  uint32_t PackageTrailer::*length;
  size_t offsetAt;
  size_t lengthAt;
};

const PartFields kParts[kPartCount] = {
    {&PackageTrailer::pictureOffset, &PackageTrailer::pictureLength, field::kPictureOffset, field::kPictureLength},
    {&PackageTrailer::viewerFile1Offset, &PackageTrailer::viewerFile1Length, field::kViewerFile1Offset,
     field::kViewerFile1Length},
    {&PackageTrailer::viewerFile2Offset, &PackageTrailer::viewerFile2Length, field::kViewerFile2Offset,
     field::kViewerFile2Length},
    {&PackageTrailer::videoOffset, &PackageTrailer::videoLength, field::kVideoOffset, field::kVideoLength},
    {&PackageTrailer::soundOffset, &PackageTrailer::soundLength, field::kSoundOffset, field::kSoundLength},
};

}  // namespace

CreatedStamp CreatedFromBrokenDownTime(const std::tm& local) {
  CreatedStamp s;
  s.seconds = uint16_t(local.tm_sec);
  s.minutes = uint16_t(local.tm_min);
  s.hours = uint16_t(local.tm_hour);
  s.dayOfMonth = uint16_t(local.tm_mday);
  s.month = uint16_t(local.tm_mon);
  s.yearsSince1900 = uint16_t(local.tm_year);
  s.dayOfWeek = uint16_t(local.tm_wday);
  s.dayOfYear = uint16_t(local.tm_yday);
  s.daylightSaving = uint16_t(local.tm_isdst > 0 ? 1 : 0);
  return s;
}

bool operator==(const CreatedStamp& a, const CreatedStamp& b) {
  return a.seconds == b.seconds && a.minutes == b.minutes && a.hours == b.hours && a.dayOfMonth == b.dayOfMonth &&
         a.month == b.month && a.yearsSince1900 == b.yearsSince1900 && a.dayOfWeek == b.dayOfWeek &&
         a.dayOfYear == b.dayOfYear && a.daylightSaving == b.daylightSaving;
}

PartRange GetPart(const PackageTrailer& trailer, PartIndex part) {
  return PartRange{trailer.*kParts[part].offset, trailer.*kParts[part].length};
}

void SetPart(PackageTrailer* trailer, PartIndex part, PartRange range) {
  trailer->*kParts[part].offset = range.offset;
  trailer->*kParts[part].length = range.length;
}

void EncodeTrailer(const PackageTrailer& t, uint8_t out[kTrailerSize]) {
  std::memset(out, 0, kTrailerSize);
  PutU16(out + field::kVersion, t.version);
  PutU16(out + field::kCardKind, t.cardKind);
  for (const PartFields& p : kParts) {
    PutU32(out + p.offsetAt, t.*p.offset);
    PutU32(out + p.lengthAt, t.*p.length);
  }
  out[field::kCompressed] = t.compressed;
  out[field::kChecksum] = t.checksum;
  PutText(out + field::kMessageText, field::kMessageTextSize, t.messageText);
  PutText(out + field::kSenderText, field::kSenderTextSize, t.senderText);
  PutText(out + field::kRecipientText, field::kRecipientTextSize, t.recipientText);
  PutText(out + field::kSubjectText, field::kSubjectTextSize, t.subjectText);
  const uint16_t created[field::kCreatedCount] = {
      t.created.seconds,        t.created.minutes,   t.created.hours,     t.created.dayOfMonth,    t.created.month,
      t.created.yearsSince1900, t.created.dayOfWeek, t.created.dayOfYear, t.created.daylightSaving};
  for (size_t i = 0; i < field::kCreatedCount; ++i) PutU16(out + field::kCreated + 2 * i, created[i]);
  PutText(out + field::kLinkLabel, field::kLinkLabelSize, t.linkLabel);
  PutText(out + field::kLinkAddress, field::kLinkAddressSize, t.linkAddress);
}

PackageTrailer DecodeTrailer(const uint8_t bytes[kTrailerSize]) {
  PackageTrailer t;
  t.version = GetU16(bytes + field::kVersion);
  t.cardKind = GetU16(bytes + field::kCardKind);
  for (const PartFields& p : kParts) {
    t.*p.offset = GetU32(bytes + p.offsetAt);
    t.*p.length = GetU32(bytes + p.lengthAt);
  }
  t.compressed = bytes[field::kCompressed];
  t.checksum = bytes[field::kChecksum];
  t.messageText = GetText(bytes + field::kMessageText, field::kMessageTextSize);
  t.senderText = GetText(bytes + field::kSenderText, field::kSenderTextSize);
  t.recipientText = GetText(bytes + field::kRecipientText, field::kRecipientTextSize);
  t.subjectText = GetText(bytes + field::kSubjectText, field::kSubjectTextSize);
  uint16_t* const created[field::kCreatedCount] = {
      &t.created.seconds,        &t.created.minutes,   &t.created.hours,     &t.created.dayOfMonth,
      &t.created.month,          &t.created.yearsSince1900, &t.created.dayOfWeek, &t.created.dayOfYear,
      &t.created.daylightSaving};
  for (size_t i = 0; i < field::kCreatedCount; ++i) *created[i] = GetU16(bytes + field::kCreated + 2 * i);
  t.linkLabel = GetText(bytes + field::kLinkLabel, field::kLinkLabelSize);
  t.linkAddress = GetText(bytes + field::kLinkAddress, field::kLinkAddressSize);
  return t;
}

}  // namespace cardpackage
