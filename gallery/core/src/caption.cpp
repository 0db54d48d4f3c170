// Shortening a slide's caption in the middle.
#include "galcore/caption.h"

#include <algorithm>
#include <vector>

namespace galcore {

namespace {

constexpr std::string_view kEllipsis = "...";
constexpr int kEllipsisChars = 3;

// Byte offsets of the characters of text, with text.size() at the end.
std::vector<size_t> CharStarts(std::string_view text, LeadByteTest lead) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); i += CharLength(text, i, lead)) starts.push_back(i);
  starts.push_back(text.size());
  return starts;
}

}  // namespace

std::string CaptionText(std::string_view displayName, bool showExtension, int boxWidth, const MeasureText& measure,
                        LeadByteTest lead) {
  const std::string_view text = showExtension ? displayName : WithoutExtension(displayName);
  if (measure(text) <= boxWidth) return std::string(text);

  std::string_view extension = Extension(text);
  std::string_view rest = text.substr(0, text.size() - extension.size());
  if (rest.empty()) {  // a name that is all extension is cut as a whole
    rest = text;
    extension = {};
  }
  const std::vector<size_t> restChars = CharStarts(rest, lead);
  const int restLength = int(restChars.size()) - 1;
  const int extensionLength = int(CharStarts(extension, lead).size()) - 1;

  const int available = boxWidth - measure(extension);
  const int average = std::max(1, measure(rest) / restLength);
  int room = (available - kEllipsisChars * average) / average;
  if (room < extensionLength) {
    extension = {};
    room += extensionLength;
  }

  // The kept characters: left = [0, left), right = [restLength - right, restLength).
  int left = std::clamp(room / 2 - 1, 0, restLength);
  int right = std::clamp(room / 2, 0, restLength - left);
  auto build = [&] {
    std::string s(rest.substr(0, restChars[size_t(left)]));
    s += kEllipsis;
    s += rest.substr(restChars[size_t(restLength - right)]);
    s += extension;
    return s;
  };
  std::string shortened = build();
  bool fromRight = true;
  while (left > 0 && right > 0 && measure(shortened) > boxWidth - kEllipsisChars * average) {
    (fromRight ? right : left) -= 1;
    fromRight = !fromRight;
    shortened = build();
  }
  return shortened;
}

}  // namespace galcore
