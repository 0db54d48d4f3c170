// The launch items' text rules (see LaunchRules.h).
#include "LaunchRules.h"

#include <cctype>
#include <cstdio>

namespace launchrules {
namespace {

const size_t kMaxPath = 260;

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool EqualNoCase(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

std::string Quoted(const std::string& text) { return !text.empty() && text[0] == '"' ? text : "\"" + text + "\""; }

std::string Joined(const std::vector<std::string>& parts, const std::string& separator) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? separator : "") + parts[i];
  return out;
}

}  // namespace

void SplitIconPath(const std::string& iconPath, std::string& file, int& index) {
  size_t comma = iconPath.find(',');
  file = iconPath.substr(0, comma);
  index = 0;
  if (comma == std::string::npos || iconPath.empty()) return;
  char last = iconPath.back();
  if (last >= '0' && last <= '9') index = last - '0';
}

bool ExtensionSupported(const std::string& name, const std::vector<std::string>& types) {
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  for (const std::string& type : types)
    if (EqualNoCase(type, extension)) return true;
  return false;
}

std::string FormatArguments(const std::string& arguments) {
  if (arguments.empty()) return "";
  return " " + Quoted(Lower(arguments));
}

std::string ProgramFile(const std::string& locator) {
  std::string text = locator;
  if (!text.empty() && text[0] == '"') text.erase(0, 1);
  size_t exe = Lower(text).find(".exe");
  return exe == std::string::npos ? "" : text.substr(0, exe + 4);
}

std::string DocumentCommand(const std::string& locator, const std::string& document, const std::string& arguments) {
  std::string program = Lower(locator);
  size_t exe = program.find(".exe");
  if (exe == std::string::npos) return "";
  program = program.substr(0, exe + 4);
  if (!program.empty() && program[0] == '"') program += '"';  // a quoted locator cut before its closing quote
  std::string command = Quoted(program);
  if (!document.empty()) command += " " + Quoted(document);
  return command + FormatArguments(arguments);
}

std::string LaunchCommand(const std::string& locator, const std::string& arguments) {
  return locator + FormatArguments(arguments);
}

void ItemFilter(const std::string& labelText, const std::vector<std::string>& types, std::string& label,
                std::string& filter) {
  filter = "." + Joined(types, ";*.");
  // The label lists the types as ".jpg;.jpeg".
  label = labelText + " (." + Joined(types, ";.") + ")";
}

std::vector<Filter> OpenDialogFilters(const std::vector<std::pair<std::string, std::string>>& items,
                                      const std::string& allSupportedName, const std::string& allFilesName) {
  std::vector<Filter> filters;
  std::vector<std::string> patterns;
  for (const auto& item : items) {
    bool seen = false;
    for (const Filter& filter : filters) seen = seen || filter.label == item.first;
    if (seen || item.first.empty() || item.second.empty()) continue;
    filters.push_back({item.first, "*" + item.second});
    patterns.push_back("*" + item.second);
  }
  std::string all = Joined(patterns, ";");
  std::string name = allSupportedName + " (" + all + ")";
  std::string plain;
  for (char c : name)
    if (c != '*') plain += c;
  filters.push_back({plain, all});
  filters.push_back({allFilesName, "*.*"});
  return filters;
}

std::string JoinFilters(const std::vector<Filter>& filters) {
  std::string text;
  for (const Filter& filter : filters) text += filter.label + "|" + filter.pattern + "|";
  return text + "|";
}

std::string CleanOpenPath(const std::string& text) {
  std::string path = text;
  if (!path.empty() && path[0] == '"') path.erase(0, 1);
  size_t quote = path.rfind('"');
  if (quote != std::string::npos) path.erase(quote);
  if (path.size() > kMaxPath) path.resize(kMaxPath);
  return path;
}

std::string VersionText(unsigned long mostSignificant, unsigned long leastSignificant) {
  char text[48];
  std::snprintf(text, sizeof text, "%lu.%lu.%lu", (mostSignificant >> 16) & 0xFFFF, mostSignificant & 0xFFFF,
                leastSignificant);
  return text;
}

std::string LocatorLabel(const std::string& locator) { return locator.substr(0, locator.find('.')); }

std::string ComponentFilterLabel(const std::string& locator) {
  size_t first = locator.find('.');
  if (first == std::string::npos) return "";
  size_t second = locator.find('.', first + 1);
  return locator.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

std::string MenuLabel(int index, const std::string& label) {
  if (index < 0 || index >= 10) return label;
  return "&" + std::to_string((index + 1) % 10) + " " + label;
}

}  // namespace launchrules
