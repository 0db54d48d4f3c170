// What renaming a slide and dropping onto the table do, decided from names alone.
//
// cSlideTableView commits name editing with DecideRename (then MoveFile on kRename) and answers
// OnDragEnter/OnDragOver with FileDropEffect or TextDropEffect; the supported-extension test is the three
// media kinds' IsSupportedFileExtension, and Url2Path comes from NXMisc.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "galcore/text.h"

namespace galcore {

enum class RenameStatus {
  unchanged,    // the text is the file's name
  emptyName,    // the text's name part is empty: nothing happens
  invalidName,  // the name part holds a path separator or a character no file name may hold: nothing happens
  rename,
};

struct RenameDecision {
  RenameStatus status = RenameStatus::unchanged;
  std::string newName;  // for rename: the text's name part + the file's current extension
};

// The extension of a file never changes by renaming: "a.jpg" with the text "b.png" becomes "b.jpg".
RenameDecision DecideRename(std::string_view fileName, std::string_view text, LeadByteTest lead = nullptr);

enum class DropEffect { none, copy, move };

// Whether an extension (lower-case, with its "."; empty when the name has none) belongs to a media kind.
using SupportedExtension = std::function<bool(std::string_view)>;
// A link turned into a local path (NXMisc's Url2Path), or nullopt.
using LinkToPath = std::function<std::optional<std::string>(std::string_view)>;

// Files dragged over a table showing folder: none when the first file's folder is the table's or any file's
// extension is unsupported; else copy for Ctrl alone, move for Shift alone, and with neither or both a move
// when the first file lies on the folder's drive, else a copy. Folders and drives compare without case.
DropEffect FileDropEffect(const std::vector<std::string>& files, std::string_view folder, bool ctrl, bool shift,
                          const SupportedExtension& supported, CompareNoCase compare = CompareAsciiNoCase,
                          LeadByteTest lead = nullptr);

// A text dragged over the table: copy when it begins with "http://" (without case) and names a local file of a
// supported kind through linkToPath; else none.
DropEffect TextDropEffect(std::string_view text, const LinkToPath& linkToPath, const SupportedExtension& supported,
                          LeadByteTest lead = nullptr);

// The drive of an absolute path: "c:" or "\\server\share" as written; empty when it has none.
std::string_view DriveOf(std::string_view path, LeadByteTest lead = nullptr);

}  // namespace galcore
