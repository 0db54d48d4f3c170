// Reading the player's own file: where the program's bytes end (from its PE headers), the trailer and parts
// behind them, and the temporary copy of the video.
#include "card_file.h"

#include <algorithm>

namespace nxplay {

namespace {

using cardpackage::PartRange;

const size_t kCopyChunk = 65536;
const char kVideoPrefix[] = "NXP";
const char kVideoExtension[] = ".avi";

class OwnFile : public cardpackage::RandomAccessSource {
 public:
  explicit OwnFile(HANDLE file) : file_(file) {}
  uint64_t Size() override {
    LARGE_INTEGER size;
    return GetFileSizeEx(file_, &size) ? uint64_t(size.QuadPart) : 0;
  }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override {
    OVERLAPPED at = {};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD got = 0;
    return ReadFile(file_, buffer, DWORD(size), &got, &at) && got == size;
  }

 private:
  HANDLE file_;
};

// The end of the program's own bytes: the furthest section data, certificate table or symbol table that
// its headers describe. Everything after it was appended.
uint64_t ProgramEnd(HMODULE module, OwnFile& file) {
  const uint8_t* base = reinterpret_cast<const uint8_t*>(module);
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  uint64_t end = nt->OptionalHeader.SizeOfHeaders;
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i)
    if (section[i].SizeOfRawData) end = std::max<uint64_t>(end, uint64_t(section[i].PointerToRawData) + section[i].SizeOfRawData);
  const IMAGE_DATA_DIRECTORY& certificates = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY];
  if (certificates.Size) end = std::max<uint64_t>(end, uint64_t(certificates.VirtualAddress) + certificates.Size);
  if (nt->FileHeader.PointerToSymbolTable) {
    const uint64_t strings = uint64_t(nt->FileHeader.PointerToSymbolTable) + 18ull * nt->FileHeader.NumberOfSymbols;
    uint32_t stringsSize = 0;
    if (file.ReadAt(strings, &stringsSize, sizeof stringsSize)) end = std::max(end, strings + stringsSize);
  }
  return end;
}

bool LoadPart(OwnFile& file, PartRange part, std::vector<uint8_t>* out) {
  if (part.length == 0) return true;
  out->resize(part.length);
  return file.ReadAt(part.offset, out->data(), part.length);
}

}  // namespace

ReceivedCard LoadOwnCard() {
  ReceivedCard card;
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return card;
  card.path = path;
  HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
  if (handle == INVALID_HANDLE_VALUE) return card;
  card.readable = true;
  OwnFile file(handle);
  card.status = cardpackage::ReadPackage(file, ProgramEnd(GetModuleHandleA(NULL), file), &card.trailer);
  if (card.status == cardpackage::PackageStatus::kOk) {
    const cardpackage::PackageTrailer& t = card.trailer;
    const bool loaded = LoadPart(file, GetPart(t, cardpackage::kPicturePart), &card.picture) &&
                        LoadPart(file, GetPart(t, cardpackage::kViewerFile1Part), &card.desk) &&
                        LoadPart(file, GetPart(t, cardpackage::kViewerFile2Part), &card.stamp) &&
                        LoadPart(file, GetPart(t, cardpackage::kSoundPart), &card.sound);
    if (!loaded) card.status = cardpackage::PackageStatus::kReadError;
  }
  CloseHandle(handle);
  return card;
}

std::string WriteVideoCopy(const ReceivedCard& card) {
  const PartRange video = GetPart(card.trailer, cardpackage::kVideoPart);
  char dir[MAX_PATH], reserved[MAX_PATH];
  if (video.length == 0 || !GetTempPathA(MAX_PATH, dir) || !GetTempFileNameA(dir, kVideoPrefix, 0, reserved))
    return std::string();
  // The reserved name keeps the copy's name unique; the system's video window needs the extension.
  const std::string path = std::string(reserved) + kVideoExtension;
  HANDLE in = CreateFileA(card.path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, NULL);
  bool ok = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE;
  if (ok) {
    OwnFile source(in);
    std::vector<uint8_t> buffer(kCopyChunk);
    for (uint64_t done = 0; ok && done < video.length;) {
      const DWORD chunk = DWORD(std::min<uint64_t>(buffer.size(), video.length - done));
      DWORD written = 0;
      ok = source.ReadAt(video.offset + done, buffer.data(), chunk) &&
           WriteFile(out, buffer.data(), chunk, &written, NULL) && written == chunk;
      done += chunk;
    }
  }
  if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (!ok) {
    DeleteVideoCopy(path);
    return std::string();
  }
  return path;
}

void DeleteVideoCopy(const std::string& path) {
  if (path.empty()) return;
  DeleteFileA(path.c_str());
  DeleteFileA(path.substr(0, path.size() - (sizeof kVideoExtension - 1)).c_str());
}

}  // namespace nxplay
