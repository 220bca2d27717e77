#include "ui/PreviewWorker.h"

#include <algorithm>
#include <cmath>

#include "export/ClipPlan.h"
#include "playback/KeyFrameSearch.h"

namespace ov {
namespace {
// 256 pictures of 176 x 144 are under 20 MB: a few minutes of hovering over 16 strips.
constexpr size_t kMaxPictures = 256;
// Seconds already looked up; the table is only offsets, dropped whole when it gets this long.
constexpr size_t kMaxLookups = 1u << 16;
// How far before the second the search starts: a few key-frame intervals of most recorders.
constexpr double kLeadSeconds = 8.0;
// A walk from the landing to the picture crosses at most those few intervals.
constexpr std::chrono::milliseconds kChainTime{2000};
}  // namespace

PreviewWorker::PreviewWorker(std::shared_ptr<const OpenRecording> rec, FrameReader reader,
                             int32_t startSecond, Ready ready)
    : m_rec(std::move(rec)),
      m_reader(std::move(reader)),
      m_startSecond(startSecond),
      m_ready(std::move(ready)),
      m_thread([this] { Run(); }) {}

PreviewWorker::~PreviewWorker() {
  {
    std::lock_guard<std::mutex> g(m_lock);
    m_stop = true;
  }
  m_generation.fetch_add(1);
  m_wake.notify_all();
  m_thread.join();
}

std::optional<PreviewWorker::Picture> PreviewWorker::Cached(int slot, int32_t second) const {
  std::lock_guard<std::mutex> g(m_lock);
  auto it = m_keyFrameOf.find({slot, second});
  if (it == m_keyFrameOf.end()) return std::nullopt;
  if (it->second == 0) return Picture{};
  for (const auto& [offset, picture] : m_pictures)
    if (offset == it->second) return picture;
  return std::nullopt;
}

void PreviewWorker::Request(int slot, int32_t second) {
  {
    std::lock_guard<std::mutex> g(m_lock);
    m_pending = Key{slot, second};
  }
  m_generation.fetch_add(1);
  m_wake.notify_all();
}

void PreviewWorker::Run() {
  for (;;) {
    Key key;
    uint64_t generation = 0;
    {
      std::unique_lock<std::mutex> g(m_lock);
      m_wake.wait(g, [&] { return m_stop || m_pending.has_value(); });
      if (m_stop) return;
      key = *m_pending;
      m_pending.reset();
      generation = m_generation.load();
    }
    const auto [slot, second] = key;
    if (slot < 0 || slot >= kSlots || !m_rec->m_HasVideo[size_t(slot)]) {
      m_ready(slot, second, nullptr);
      continue;
    }
    if (std::optional<Picture> known = Cached(slot, second)) {
      m_ready(slot, second, *known);
      continue;
    }
    const uint32_t keyFrame = FindKeyFrame(slot, second, generation);
    if (m_generation.load() != generation) continue;  // superseded: the newer one runs next
    Picture picture;
    {
      std::lock_guard<std::mutex> g(m_lock);
      for (auto it = m_pictures.begin(); it != m_pictures.end(); ++it)
        if (it->first == keyFrame && keyFrame != 0) {
          picture = it->second;
          m_pictures.splice(m_pictures.end(), m_pictures, it);
          break;
        }
    }
    if (!picture && keyFrame != 0) {
      if (auto p = exporter::DecodeKeyFramePreview(m_reader, m_rec->m_Header.videoCoding, keyFrame,
                                                   m_rec->VideoRunStart(slot),
                                                   m_rec->VideoRunEnd(slot), kWidth, kHeight))
        picture = std::make_shared<const exporter::PreviewPicture>(std::move(*p));
    }
    Store(key, picture ? keyFrame : 0, picture);
    m_ready(slot, second, picture);
  }
}

uint32_t PreviewWorker::FindKeyFrame(int slot, int32_t second, uint64_t generation) {
  const OpenRecording& rec = *m_rec;
  KeyFrameSearch search(m_rec, m_reader, m_clock,
                        [this, generation] { return m_generation.load() != generation; });
  // Where the engine's resume estimate would start: the same share of the run as of the time.
  SearchInput in;
  const int32_t total = rec.m_Index.m_TotalSeconds;
  // Aimed a little early: the search walks forward through a read window cheaply, while a key
  // frame found past the target is walked back from header by header.
  const double aim = double(second) - kLeadSeconds;
  const double share = total <= 0 ? 0.0 : std::clamp(aim / double(total), 0.0, 1.0);
  const auto& v = rec.m_Header.video[size_t(slot)];
  in.videoResume[size_t(slot)] =
      uint32_t(int64_t(rec.m_VideoFirst[size_t(slot)]) +
               int64_t(std::trunc(share * double(v.endOffset - v.startOffset))));
  if (in.videoResume[size_t(slot)] == 0) return 0;
  in.videoPos[size_t(slot)] = rec.m_VideoFirst[size_t(slot)];
  // The search also walks every other channel from its position to the target: past the end of
  // its run, each starts on its last key frame and stops there, instead of walking from the first
  // frame across the whole recording.
  for (int n = 0; n < kSlots; ++n)
    if (n != slot) in.videoPos[size_t(n)] = UINT32_MAX;
  in.target = int32_t(int64_t(m_startSecond) + second);
  in.exact = true;
  const SearchResult r = search.Run(in);
  const uint32_t from = r.landing[size_t(slot)], show = r.showFrom[size_t(slot)];
  if (!r.found || r.cancelled || from == 0) return 0;
  if (show <= from) return from;
  // The landing may be several key frames early: the last one before the picture is the preview.
  const exporter::PictureSearch chain = exporter::FindPictureFrames(
      *m_reader.Source(), from, rec.VideoRunEnd(slot),
      [show](const exporter::FrameRef& f) { return f.offset >= show; }, kChainTime);
  if (chain.end != exporter::PictureSearch::End::Found || chain.frames.empty()) return from;
  return uint32_t(chain.frames.front().offset);
}

void PreviewWorker::Store(const Key& key, uint32_t keyFrame, Picture picture) {
  std::lock_guard<std::mutex> g(m_lock);
  if (m_keyFrameOf.size() >= kMaxLookups) m_keyFrameOf.clear();
  m_keyFrameOf[key] = keyFrame;
  if (!picture) return;
  for (const auto& entry : m_pictures)
    if (entry.first == keyFrame) return;
  m_pictures.emplace_back(keyFrame, std::move(picture));
  if (m_pictures.size() > kMaxPictures) m_pictures.pop_front();
}

}  // namespace ov
