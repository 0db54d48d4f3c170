// Drawing the two faces of the received card into bitmaps of the card's size: the front with its picture,
// the back with message, addresses, stamp and postmark, as a paper postcard is laid out.
#pragma once

#include <windows.h>

#include <string>

#include "cardpackage/trailer.h"

namespace nxplay {

constexpr int kCardWidth = 640;
constexpr int kCardHeight = 433;
// Margin of cream card around the front picture.
constexpr int kFrontMargin = 14;

struct BackTexts {
  std::string message, sender, recipients, subject;
  cardpackage::CreatedStamp created;
};

// The rectangle of the front that the picture (or the video) of the given size takes, centred.
RECT FrontPictureRect(SIZE picture);

// A new bitmap of the front: the picture fitted inside the margin, or the note given when there is none.
HBITMAP DrawFront(HBITMAP picture, const std::string& noPictureNote);

// A new bitmap of the back; stamp may be NULL (then a plain stamp is drawn).
HBITMAP DrawBack(const BackTexts& texts, HBITMAP stamp);

}  // namespace nxplay
