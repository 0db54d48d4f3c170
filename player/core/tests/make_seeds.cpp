// Writes the seed corpus of the player fuzzer: good packages with skins, link and sound, and damaged ones.
#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "memory_package.h"
#include "skin_bytes.h"

using namespace cardpackage;
using namespace cardpackage_test;

namespace {

void Write(const std::string& path, uint16_t playerEnd, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  const uint8_t prefix[2] = {uint8_t(playerEnd), uint8_t(playerEnd >> 8)};
  std::fwrite(prefix, 1, 2, f);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  mkdir(dir.c_str(), 0755);
  PackageContents card;
  card.stub = MakeStub(300, 20);
  card.parts[kPicturePart] = Bytes(400, 0xD8);
  card.parts[kViewerFile1Part] = nxplay_test::SkinFile(9, 7);
  card.parts[kViewerFile2Part] = nxplay_test::SkinFile(5, 11, true);
  card.parts[kSoundPart] = Bytes(64, 0x80);
  card.trailer.cardKind = kKindPictureOnly;
  card.trailer.messageText = "Hello";
  card.trailer.linkLabel = "Pictures";
  card.trailer.linkAddress = "www.example.org/a";
  card.trailer.created = CreatedStamp{8, 7, 6, 5, 3, 103, 6, 94, 1};
  const Bytes good = BuildPackage(card);
  Write(dir + "/good", 300, good);
  Write(dir + "/good-unknown-end", 0, good);
  Bytes flipped = good;
  flipped[350] ^= 0x40;
  Write(dir + "/flipped", 300, flipped);
  Write(dir + "/truncated", 300, Bytes(good.begin(), good.end() - 100));
  PackageContents video = card;
  video.parts[kVideoPart] = Bytes(1000, 0x52);
  video.trailer.cardKind = kKindVideoAndPicture;
  Write(dir + "/video", 300, BuildPackage(video));
  Write(dir + "/skin", 0, nxplay_test::SkinFile(4, 4));
  return 0;
}
