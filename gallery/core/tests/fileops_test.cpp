// Renaming keeps the extension; drop effects by folder, drive, modifier keys and link.
#include <gtest/gtest.h>

#include "galcore/fileops.h"

using namespace galcore;

namespace {

bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(FileOpsTest, RenameKeepsTheExtension) {
  struct Case {
    const char* file;
    const char* text;
    LeadByteTest lead;
    RenameStatus status;
    const char* newName;
  } cases[] = {
      {"a.jpg", "b.png", nullptr, RenameStatus::rename, "b.jpg"},
      {"a.jpg", "b", nullptr, RenameStatus::rename, "b.jpg"},
      {"a.jpg", "b.c.png", nullptr, RenameStatus::rename, "b.c.jpg"},
      {"noext", "b.png", nullptr, RenameStatus::rename, "b"},
      {"a.jpg", ".png", nullptr, RenameStatus::emptyName, ""},
      {"a.jpg", "", nullptr, RenameStatus::emptyName, ""},
      {"a.jpg", "a.jpg", nullptr, RenameStatus::unchanged, ""},
      {"a.jpg", "a.png", nullptr, RenameStatus::unchanged, ""},
      {"a.jpg", "..\\b.jpg", nullptr, RenameStatus::invalidName, ""},
      {"a.jpg", "sub/b", nullptr, RenameStatus::invalidName, ""},
      {"a.jpg", "c:b", nullptr, RenameStatus::invalidName, ""},
      {"a.jpg", "b?", nullptr, RenameStatus::invalidName, ""},
      // 0x95 0x5C is one character whose second byte is a backslash.
      {"a.jpg", "\x95\x5C.png", ShiftJisLead, RenameStatus::rename, "\x95\x5C.jpg"},
      {"a.jpg", "\x95\x5C.png", nullptr, RenameStatus::invalidName, ""},
  };
  for (const Case& k : cases) {
    const RenameDecision d = DecideRename(k.file, k.text, k.lead);
    EXPECT_EQ(k.status, d.status) << k.file << " <- " << k.text;
    EXPECT_EQ(k.newName, d.newName) << k.file << " <- " << k.text;
  }
}

const SupportedExtension kMedia = [](std::string_view e) { return e == ".jpg" || e == ".avi" || e == ".wav"; };

TEST(FileOpsTest, FileDropEffects) {
  enum Keys { kNone, kCtrl, kShift, kBoth };
  struct Case {
    std::vector<std::string> files;
    const char* folder;
    Keys keys;
    DropEffect effect;
  } cases[] = {
      {{"C:\\Photos\\a.jpg"}, "C:\\Photos", kNone, DropEffect::none},
      {{"c:\\photos\\A.JPG"}, "C:\\Photos\\", kCtrl, DropEffect::none},
      {{"C:\\a.jpg"}, "c:\\", kNone, DropEffect::none},
      {{"C:\\Other\\a.jpg", "C:\\Other\\b.txt"}, "C:\\Photos", kCtrl, DropEffect::none},
      {{"C:\\Other\\noext"}, "C:\\Photos", kCtrl, DropEffect::none},
      {{}, "C:\\Photos", kNone, DropEffect::none},
      {{"C:\\Other\\a.JPG", "C:\\Other\\c.wav"}, "C:\\Photos", kCtrl, DropEffect::copy},
      {{"C:\\Other\\a.jpg"}, "C:\\Photos", kShift, DropEffect::move},
      {{"C:\\Other\\a.jpg"}, "c:\\Photos", kNone, DropEffect::move},
      {{"C:\\Other\\a.jpg"}, "C:\\Photos", kBoth, DropEffect::move},
      {{"D:\\x\\a.jpg"}, "C:\\Photos", kNone, DropEffect::copy},
      {{"D:\\x\\a.jpg"}, "C:\\Photos", kBoth, DropEffect::copy},
      {{"D:\\x\\a.jpg"}, "C:\\Photos", kShift, DropEffect::move},
      {{"\\\\srv\\share\\x\\a.avi"}, "\\\\SRV\\Share\\photos", kNone, DropEffect::move},
      {{"\\\\srv\\other\\x\\a.avi"}, "\\\\srv\\share\\photos", kNone, DropEffect::copy},
  };
  for (const Case& k : cases) {
    const bool ctrl = k.keys == kCtrl || k.keys == kBoth, shift = k.keys == kShift || k.keys == kBoth;
    EXPECT_EQ(k.effect, FileDropEffect(k.files, k.folder, ctrl, shift, kMedia))
        << (k.files.empty() ? "" : k.files[0]) << " -> " << k.folder << " keys " << k.keys;
  }
}

TEST(FileOpsTest, TextDropEffects) {
  const LinkToPath cache = [](std::string_view link) -> std::optional<std::string> {
    if (link.find("missing") != std::string_view::npos) return std::nullopt;
    return "C:\\Cache\\" + std::string(link.substr(link.rfind('/') + 1));
  };
  EXPECT_EQ(DropEffect::copy, TextDropEffect("HTTP://host/p/x.JPG", cache, kMedia));
  EXPECT_EQ(DropEffect::none, TextDropEffect("http://host/p/x.txt", cache, kMedia));
  EXPECT_EQ(DropEffect::none, TextDropEffect("http://host/missing.jpg", cache, kMedia));
  EXPECT_EQ(DropEffect::none, TextDropEffect("ftp://host/x.jpg", cache, kMedia));
  EXPECT_EQ(DropEffect::none, TextDropEffect("http:/", cache, kMedia));
}

}  // namespace
