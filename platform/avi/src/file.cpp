// Whole-file operations: stream lookup, file information, editing all streams in step, saving.
#include <algorithm>

#include "avi/file.h"
#include "riff.h"

namespace avi {

Stream& AviFile::stream(int index) {
  if (index < 0 || index >= streamCount()) riff::Fail(Errc::kNoStream, "no stream " + std::to_string(index));
  return streams_[size_t(index)];
}

const Stream& AviFile::stream(int index) const { return const_cast<AviFile*>(this)->stream(index); }

int AviFile::FindStream(FourCC type, int nth) const {
  for (int i = 0; i < streamCount(); ++i)
    if (type == 0 || streams_[size_t(i)].info().type == type)
      if (nth-- == 0) return i;
  return -1;
}

FileInfo AviFile::info() const {
  FileInfo info = header_;
  info.streams = uint32_t(streams_.size());
  info.fileType = "AVI";
  info.editCount = 0;
  for (const Stream& s : streams_) info.editCount += s.info().editCount;
  if (!streams_.empty()) {
    const Stream& ref = streams_.front();
    info.scale = ref.info().scale;
    info.rate = ref.info().rate;
    info.length = ref.length();
  }
  const int video = FindStream(kStreamTypeVideo, 0);
  if (video >= 0 && info.width == 0) {
    const VideoFormat f = streams_[size_t(video)].videoFormat();
    info.width = uint32_t(f.width);
    info.height = uint32_t(f.height < 0 ? -int64_t(f.height) : f.height);
  }
  return info;
}

namespace {

// The range of every stream that goes with [start, start + length) of the reference; throws kEmptyRange
// when one of them is empty, before anything is changed.
std::vector<SampleRange> RangesOf(const std::vector<Stream>& streams, int32_t start, int32_t length) {
  if (streams.empty()) riff::Fail(Errc::kNoStream, "the file has no streams");
  const StreamInfo& ref = streams.front().info();
  std::vector<SampleRange> ranges;
  for (size_t i = 0; i < streams.size(); ++i) {
    SampleRange r = i == 0 ? SampleRange{start, length} : CorrespondingRange(ref, streams[i].info(), start, length);
    if (i == 0 && (length < 0 || start < ref.start || int64_t(start) + length > int64_t(ref.start) + ref.length))
      riff::Fail(Errc::kBadRange, "range outside the reference stream");
    if (r.length <= 0) riff::Fail(Errc::kEmptyRange, "the range is empty in stream " + std::to_string(i));
    ranges.push_back(r);
  }
  return ranges;
}

// The position in `stream` that goes with `position` of the reference: before its start gives its
// start, after its end its end.
int32_t PositionIn(const StreamInfo& ref, const Stream& stream, int32_t position) {
  const int32_t at = CorrespondingSample(ref, stream.info(), position);
  if (at >= 0) return at;
  const int32_t time = SampleToTime(ref, position);
  return time >= 0 && time < stream.startTime() ? stream.start() : stream.end();
}

// Samples of a stream like `like` that last as long as the reference's first `refSamples` samples.
int32_t SamplesFor(const StreamInfo& ref, int32_t refSamples, const StreamInfo& like) {
  StreamInfo unbounded = like;
  unbounded.start = 0;
  unbounded.length = INT32_MAX;
  StreamInfo refUnbounded = ref;
  refUnbounded.start = 0;
  refUnbounded.length = INT32_MAX;
  const int32_t n = TimeToSample(unbounded, SampleToTime(refUnbounded, refSamples));
  if (n < 0) riff::Fail(Errc::kTooLarge, "silence too long");
  return n;
}

}  // namespace

AviFile AviFile::CutAll(int32_t start, int32_t length) {
  const std::vector<SampleRange> ranges = RangesOf(streams_, start, length);
  AviFile result;
  result.streams_.reserve(streams_.size());
  for (size_t i = 0; i < streams_.size(); ++i) result.streams_.push_back(streams_[i].Cut(ranges[i].start, ranges[i].length));
  return result;
}

AviFile AviFile::CopyAll(int32_t start, int32_t length) const {
  const std::vector<SampleRange> ranges = RangesOf(streams_, start, length);
  AviFile result;
  result.streams_.reserve(streams_.size());
  for (size_t i = 0; i < streams_.size(); ++i) result.streams_.push_back(streams_[i].Copy(ranges[i].start, ranges[i].length));
  return result;
}

PasteResult AviFile::PasteAll(int32_t position, const AviFile& source, int32_t start, int32_t length) {
  if (source.streams_.empty()) riff::Fail(Errc::kNoStream, "the source has no streams");
  const Stream& sourceRef = source.streams_.front();
  const StreamInfo sourceRefInfo = sourceRef.info();
  if (length <= 0) riff::Fail(Errc::kEmptyRange, "paste of an empty range");

  // Work on a copy so that a failure in any stream leaves this file as it was.
  std::vector<Stream> edited = streams_;
  if (edited.empty()) edited.push_back(Stream::EmptyLike(sourceRef));
  const StreamInfo ref = edited.front().info();
  if (position < ref.start || position > ref.start + ref.length) riff::Fail(Errc::kBadRange, "paste position outside the stream");

  PasteResult first;
  const size_t count = std::max(edited.size(), source.streams_.size());
  for (size_t i = 0; i < count; ++i) {
    if (i == 0) {
      first = edited.front().Paste(position, sourceRef, start, length);
      continue;
    }
    // The source's stream, or for a stream it lacks an empty one like ours (silence for sound).
    Stream filler = Stream::EmptyLike(i < edited.size() ? edited[i] : source.streams_[i]);
    if (i >= source.streams_.size() && edited[i].isAudio())
      filler = Stream::SilenceLike(edited[i], SamplesFor(sourceRefInfo, sourceRefInfo.start + sourceRefInfo.length, edited[i].info()));
    const Stream& from = i < source.streams_.size() ? source.streams_[i] : filler;
    const SampleRange range = CorrespondingRange(sourceRefInfo, from.info(), start, length);
    if (i >= edited.size()) {
      // A stream this file lacks: sound starts as silence up to the paste position.
      const Stream& like = source.streams_[i];
      edited.push_back(like.isAudio() ? Stream::SilenceLike(like, SamplesFor(ref, ref.length, like.info()))
                                      : Stream::EmptyLike(like));
    }
    Stream& into = edited[i];
    const int32_t at = into.length() == 0 ? into.start() : PositionIn(ref, into, position);
    into.Paste(at, from, range.start, range.length);
  }
  streams_ = std::move(edited);
  return first;
}

void AviFile::Save(const std::string& path) const {
  std::vector<const Stream*> all;
  for (const Stream& s : streams_) all.push_back(&s);
  SaveStreams(path, all);
}

}  // namespace avi
