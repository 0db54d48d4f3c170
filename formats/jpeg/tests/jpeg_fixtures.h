// Test pictures made at run time with our own encoder: plain JPEGs, grey ones, and JPEGs carrying an EXIF
// thumbnail, written to a scratch folder of the test process.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

// Colours of the test pattern: the top half of every picture is red, the bottom half blue.
const uint8_t kTop[3] = {255, 0, 0};
const uint8_t kBottom[3] = {0, 0, 255};

// A width x height JPEG of the red-over-blue pattern (channels 3), or a grey picture (channels 1).
std::vector<uint8_t> Jpeg(int width, int height, int quality = 90, int channels = 3);
// A JPEG of one solid colour.
std::vector<uint8_t> SolidJpeg(int width, int height, const uint8_t rgb[3]);
// main with an EXIF APP1 segment whose IFD1 carries thumbnail as its JPEG thumbnail, inserted after SOI.
std::vector<uint8_t> WithExifThumbnail(const std::vector<uint8_t>& main, const std::vector<uint8_t>& thumbnail);
// jpeg with an EXIF APP1 segment right after SOI whose IFD0 holds only the orientation (1 to 8).
std::vector<uint8_t> WithExifOrientation(const std::vector<uint8_t>& jpeg, uint16_t orientation);
// jpeg with empty application segments inserted after SOI until it holds at least size bytes.
std::vector<uint8_t> PaddedTo(const std::vector<uint8_t>& jpeg, size_t size);
// The bytes of a JPEG up to and including its start-of-scan header: it parses, but does not decode.
std::vector<uint8_t> CutAfterScanHeader(const std::vector<uint8_t>& jpeg);

// A path in this process's scratch folder (created on first use).
std::string ScratchPath(const std::string& name);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::string& path);

}  // namespace fixtures
