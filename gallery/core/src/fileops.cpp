// Renaming rules and drop effects of the slide table.
#include "galcore/fileops.h"

#include <utility>

namespace galcore {

namespace {

constexpr std::string_view kForbiddenInNames = "\\/:*?\"<>|";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr std::string_view kHttpPrefix = "http://";

bool IsValidNamePart(std::string_view name, LeadByteTest lead) {
  for (size_t i = 0; i < name.size(); i += CharLength(name, i, lead)) {
    if (CharLength(name, i, lead) == 2) continue;
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < kFirstPrintable || kForbiddenInNames.find(char(c)) != std::string_view::npos) return false;
  }
  return true;
}

std::string_view WithoutTrailingSeparator(std::string_view folder, LeadByteTest lead) {
  return FileNamePart(folder, lead).empty() && !folder.empty() ? FolderPart(folder, lead) : folder;
}

bool SameText(std::string_view a, std::string_view b, CompareNoCase compare) {
  return compare(std::string(a).c_str(), std::string(b).c_str()) == 0;
}

bool IsSupportedFile(std::string_view path, const SupportedExtension& supported, LeadByteTest lead) {
  return supported(LowerAscii(Extension(FileNamePart(path, lead)), lead));
}

}  // namespace

RenameDecision DecideRename(std::string_view fileName, std::string_view text, LeadByteTest lead) {
  RenameDecision d;
  if (text == fileName) return d;
  const std::string_view namePart = WithoutExtension(text);
  if (namePart.empty()) {
    d.status = RenameStatus::emptyName;
    return d;
  }
  if (!IsValidNamePart(namePart, lead)) {
    d.status = RenameStatus::invalidName;
    return d;
  }
  std::string newName = std::string(namePart) + std::string(Extension(fileName));
  if (newName == fileName) return d;
  d.status = RenameStatus::rename;
  d.newName = std::move(newName);
  return d;
}

std::string_view DriveOf(std::string_view path, LeadByteTest lead) {
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'))) {
    return path.substr(0, 2);
  }
  if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return {};
  // \\server\share: up to the fourth backslash or the end.
  int separators = 2;
  for (size_t i = 2; i < path.size(); i += CharLength(path, i, lead)) {
    if (path[i] == '\\' && ++separators == 4) return path.substr(0, i);
  }
  return separators == 3 ? path : std::string_view();
}

DropEffect FileDropEffect(const std::vector<std::string>& files, std::string_view folder, bool ctrl, bool shift,
                          const SupportedExtension& supported, CompareNoCase compare, LeadByteTest lead) {
  if (files.empty()) return DropEffect::none;
  const std::string& first = files.front();
  if (SameText(FolderPart(first, lead), WithoutTrailingSeparator(folder, lead), compare)) return DropEffect::none;
  for (const std::string& file : files) {
    if (!IsSupportedFile(file, supported, lead)) return DropEffect::none;
  }
  if (ctrl && !shift) return DropEffect::copy;
  if (shift && !ctrl) return DropEffect::move;
  const std::string_view drive = DriveOf(first, lead);
  return !drive.empty() && SameText(drive, DriveOf(folder, lead), compare) ? DropEffect::move : DropEffect::copy;
}

DropEffect TextDropEffect(std::string_view text, const LinkToPath& linkToPath, const SupportedExtension& supported,
                          LeadByteTest lead) {
  if (LowerAscii(text.substr(0, kHttpPrefix.size()), lead) != kHttpPrefix) return DropEffect::none;
  const std::optional<std::string> path = linkToPath(text);
  return path && IsSupportedFile(*path, supported, lead) ? DropEffect::copy : DropEffect::none;
}

}  // namespace galcore
