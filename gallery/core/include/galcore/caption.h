// The caption under a slide: the display name, shortened in the middle when it is wider than its box.
//
// cSlideTableView passes a measure over GetTextExtentPoint32 with the slide font selected and IsDBCSLeadByte;
// tests pass a fixed width per character.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "galcore/text.h"

namespace galcore {

// Width in pixels of a text drawn in the slide font.
using MeasureText = std::function<int(std::string_view)>;

// The text to draw for displayName in a caption box boxWidth pixels wide. Without showExtension the
// extension is left off first. A text too wide becomes its first characters, "...", its last characters and
// its extension; when even the extension leaves no room, the extension goes too. Characters of two bytes
// are never cut.
std::string CaptionText(std::string_view displayName, bool showExtension, int boxWidth, const MeasureText& measure,
                        LeadByteTest lead = nullptr);

}  // namespace galcore
