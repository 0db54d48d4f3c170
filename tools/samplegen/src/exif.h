// An EXIF block with an embedded JPEG thumbnail, as cameras write it, for photo-like sample JPEGs.
#pragma once

#include <cstdint>
#include <vector>

namespace samplegen {

constexpr int kExifThumbnailWidth = 160;
constexpr int kExifThumbnailHeight = 120;

// The JPEG (of width x height pixels) with an APP1 "Exif" segment right after its start marker: IFD0 with
// the orientation (1, upright, unless a camera turned by another told so) and the Exif IFD (version, pixel
// size), and IFD1 pointing at the thumbnail JPEG. Throws std::runtime_error when the thumbnail is too large
// for one segment or jpeg does not start with a start-of-image marker.
std::vector<uint8_t> WithExifThumbnail(const std::vector<uint8_t>& jpeg, int width, int height,
                                       const std::vector<uint8_t>& thumbnail, uint16_t orientation = 1);

}  // namespace samplegen
