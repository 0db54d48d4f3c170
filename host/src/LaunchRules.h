// The launch items' text rules, free of windows so that tests reach them directly: icon paths, supported
// extensions, program command lines and arguments, file-dialog filters, the version text and the cleaning of
// paths handed to the host. Used by the launch items, the application and the automation object.
#pragma once
#include <string>
#include <vector>

namespace launchrules {

// "file,index": the file before the first ",", the index the value of the text's last character (0 to 9;
// any other last character gives 0). Without a comma the whole text is the file and the index 0.
void SplitIconPath(const std::string& iconPath, std::string& file, int& index);

// True when the text after the last "." of name equals one of types, ignoring case; false without a ".".
bool ExtensionSupported(const std::string& name, const std::vector<std::string>& types);

// Command-line arguments as appended to a program's command line: empty for none, else a blank and the
// arguments in lower case, in double quotes unless they start with one.
std::string FormatArguments(const std::string& arguments);

// The command that opens document with a program item: the locator in lower case cut after ".exe" and put
// in double quotes unless it is quoted, the document after a blank (quoted unless quoted), then the
// arguments. Empty when the locator names no ".exe" (nothing is run then).
std::string DocumentCommand(const std::string& locator, const std::string& document, const std::string& arguments);
// The command that launches a program item: the locator as it is, then the arguments.
std::string LaunchCommand(const std::string& locator, const std::string& arguments);
// The program file of a program locator: quotes removed, cut after ".exe" (as written); empty without ".exe".
std::string ProgramFile(const std::string& locator);

// A filter of the file dialog for an item's types: filter = "." + types joined by ";*" (the caller puts the
// leading "*"), label = labelText + " (" + "." + types joined by ";" + ")".
void ItemFilter(const std::string& labelText, const std::vector<std::string>& types, std::string& label,
                std::string& filter);

// One entry of the open dialog's filter list.
struct Filter {
  std::string label;
  std::string pattern;  // "*.jpg;*.jpeg"
};
// The open dialog's filters: each item filter (label, "*" + filter) unless its label was added already, then
// allSupportedName + " (" + every pattern + ")" with "*" taken out of the name, matching every pattern, then
// allFilesName with "*.*". items holds (label, filter) pairs as ItemFilter gives them.
std::vector<Filter> OpenDialogFilters(const std::vector<std::pair<std::string, std::string>>& items,
                                      const std::string& allSupportedName, const std::string& allFilesName);
// The filters as the file dialog takes them: "label|pattern|...||".
std::string JoinFilters(const std::vector<Filter>& filters);

// A path handed to the host: a leading double quote dropped, cut at the last double quote, at most 260
// characters.
std::string CleanOpenPath(const std::string& text);

// "%d.%d.%d" of a product version: the high and low words of its most significant half, then its whole
// least significant half.
std::string VersionText(unsigned long mostSignificant, unsigned long leastSignificant);

// The label of a component or document-object locator when it has none: the text up to its first ".".
std::string LocatorLabel(const std::string& locator);
// The label part of a component's filter: the text between the first and second "." of its locator.
std::string ComponentFilterLabel(const std::string& locator);

// The launch bar menu's label of item index (from 0): "&1 " ... "&9 ", "&0 " for the first ten, then none.
std::string MenuLabel(int index, const std::string& label);

}  // namespace launchrules
