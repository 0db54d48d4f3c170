// The attachment side of delivery: "NXN" temporary files, the card-package attachment built from a rendered
// front, and the MAPI file descriptor.
#include "quillo/CardPackage.h"

#include <cstring>

#include "cardpackage/trailer.h"

namespace quillo {

namespace {

std::string Extension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return path.substr(dot);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::string ReserveTempFile() {
  char dir[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("TMP", dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) {
    const DWORD m = GetTempPathA(MAX_PATH, dir);
    if (m == 0 || m >= MAX_PATH) return std::string();
  }
  char name[MAX_PATH];
  if (!GetTempFileNameA(dir, kTempPrefix, 0, name)) return std::string();
  return name;
}

bool IsVideoFile(const std::string& path) {
  const std::string ext = Extension(path);
  return lstrcmpiA(ext.c_str(), ".AVI") == 0 || lstrcmpiA(ext.c_str(), ".IVS") == 0;
}

void FillAttachmentDesc(MapiFileDesc* desc, const std::string& tempPath, const char* extension) {
  if (!desc || !desc->lpszPathName || !desc->lpszFileName) return;
  lstrcpynA(desc->lpszPathName, tempPath.c_str(), MAX_PATH);
  lstrcpynA(desc->lpszFileName, (BaseName(tempPath) + extension).c_str(), MAX_PATH);
}

std::string BuildPackageFromFront(const CardPackageRequest& request, MapiFileDesc* desc) {
  const bool video = IsVideoFile(request.mediaFile);
  std::string output = ReserveTempFile();
  int ok = 0;
  if (!output.empty()) {
    const int kind = video ? cardpackage::kKindVideoAndPicture : cardpackage::kKindPictureOnly;
    ok = WriteCardPackage(request.frontPicture.c_str(), video ? request.mediaFile.c_str() : NULL,
                          request.soundFile.empty() ? NULL : request.soundFile.c_str(), kind,
                          request.subject.c_str(), request.message.c_str(), request.sender.c_str(),
                          request.recipients.c_str(), output.c_str(), NULL, request.created, 0,
                          request.pictureFront ? 1 : 0, 1, request.linkLabel.c_str(), request.linkAddress.c_str());
  }
  if (!request.frontPicture.empty()) DeleteFileA(request.frontPicture.c_str());
  if (!ok) {
    if (!output.empty()) DeleteFileA(output.c_str());
    return std::string();
  }
  FillAttachmentDesc(desc, output, kPackageExtension);
  return output;
}

}  // namespace quillo
