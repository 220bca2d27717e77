#include "export/Snapshot.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "decoder/AvHandles.h"
#include "export/ClipNames.h"
#include "export/ClipPlan.h"
#include "export/OutputFolder.h"
#include "picture/PictureFilter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/crc.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace ov::exporter {
namespace fs = std::filesystem;
namespace {

using Codec = av::CodecContext;
using Frame = av::Frame;
using Packet = av::Packet;

Codec OpenCodec(const AVCodec* codec, const std::function<void(AVCodecContext*)>& setup) {
  Codec c(codec ? avcodec_alloc_context3(codec) : nullptr);
  if (!c) throw std::runtime_error("no codec for the picture");
  if (setup) setup(c.get());
  if (avcodec_open2(c.get(), codec, nullptr) < 0) throw std::runtime_error("cannot open codec");
  return c;
}

// Decodes the frames in order and keeps the last picture (the one wanted) and, in prev, the one
// before it (the deinterlacer's look back).
Frame DecodeLast(uint8_t coding, IFileSource& src, const std::vector<FrameRef>& frames,
                 Frame& prev) {
  Codec dec = OpenCodec(av::VideoDecoderFor(coding), nullptr);
  Frame got(av_frame_alloc()), last(av_frame_alloc());
  prev.reset(av_frame_alloc());
  Packet pkt(av_packet_alloc());
  bool have = false;
  auto drain = [&] {
    while (avcodec_receive_frame(dec.get(), got.get()) >= 0) {
      av_frame_unref(prev.get());
      av_frame_move_ref(prev.get(), last.get());
      av_frame_move_ref(last.get(), got.get());
      have = true;
    }
  };
  for (const FrameRef& f : frames) {
    if (av_new_packet(pkt.get(), int(f.h.f_size)) < 0) throw std::runtime_error("out of memory");
    if (src.ReadAt(f.offset + kYskFrameHeaderSize, pkt->data, f.h.f_size) != f.h.f_size)
      throw std::runtime_error("cannot read the recording");
    avcodec_send_packet(dec.get(), pkt.get());  // a damaged frame is skipped by the decoder
    av_packet_unref(pkt.get());
    drain();
  }
  avcodec_send_packet(dec.get(), nullptr);
  drain();
  if (!have) throw std::runtime_error("the picture does not decode");
  return last;
}

// The picture, or the part of it that region covers, as a PNG of its recorded pixels.
std::vector<uint8_t> EncodePng(const AVFrame* picture, const zoom::PixelRect& region) {
  const int fw = picture->width, fh = picture->height;
  Frame whole(av_frame_alloc());
  whole->format = AV_PIX_FMT_RGB24;
  whole->width = fw;
  whole->height = fh;
  if (av_frame_get_buffer(whole.get(), 0) < 0) throw std::runtime_error("out of memory");
  av::Scaler sws(sws_getContext(fw, fh, AVPixelFormat(picture->format), fw, fh, AV_PIX_FMT_RGB24,
                                SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!sws) throw std::runtime_error("cannot convert the picture");
  sws_scale(sws.get(), picture->data, picture->linesize, 0, fh, whole->data, whole->linesize);
  // Cut out after the conversion, so the region starts on any pixel, chroma grid or not.
  Frame cut;
  const AVFrame* rgb = whole.get();
  if (region.x != 0 || region.y != 0 || region.w != fw || region.h != fh) {
    cut.reset(av_frame_alloc());
    cut->format = AV_PIX_FMT_RGB24;
    cut->width = region.w;
    cut->height = region.h;
    if (av_frame_get_buffer(cut.get(), 0) < 0) throw std::runtime_error("out of memory");
    for (int y = 0; y < region.h; ++y)
      std::memcpy(cut->data[0] + ptrdiff_t(y) * cut->linesize[0],
                  whole->data[0] + ptrdiff_t(region.y + y) * whole->linesize[0] + region.x * 3,
                  size_t(region.w) * 3);
    rgb = cut.get();
  }
  const int w = rgb->width, h = rgb->height;
  Codec png = OpenCodec(avcodec_find_encoder(AV_CODEC_ID_PNG), [&](AVCodecContext* c) {
    c->width = w;
    c->height = h;
    c->pix_fmt = AV_PIX_FMT_RGB24;
    c->time_base = {1, 25};
  });
  Packet pkt(av_packet_alloc());
  if (avcodec_send_frame(png.get(), rgb) < 0 || avcodec_receive_packet(png.get(), pkt.get()) < 0)
    throw std::runtime_error("cannot encode the PNG");
  return {pkt->data, pkt->data + pkt->size};
}

void PutBE32(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
}

// A tEXt chunk: Latin-1 keyword and text, CRC over type and data.
std::vector<uint8_t> TextChunk(const std::string& key, const std::string& text) {
  std::vector<uint8_t> body = {'t', 'E', 'X', 't'};
  body.insert(body.end(), key.begin(), key.end());
  body.push_back(0);
  for (char c : text) body.push_back(c == 0 ? uint8_t(' ') : uint8_t(c));
  std::vector<uint8_t> chunk;
  PutBE32(chunk, uint32_t(body.size() - 4));
  chunk.insert(chunk.end(), body.begin(), body.end());
  const AVCRC* table = av_crc_get_table(AV_CRC_32_IEEE_LE);
  PutBE32(chunk, av_crc(table, 0xFFFFFFFFu, body.data(), body.size()) ^ 0xFFFFFFFFu);
  return chunk;
}

}  // namespace

std::string SnapshotName(const BackupFile& file, int slot, int32_t second, bool view) {
  const std::string camera = SafeFileName(file.Recording().m_Header.video[size_t(slot & 15)].name,
                                          "Camera " + std::to_string((slot & 15) + 1));
  return camera + "_" + DashedStamp(second) + (view ? "_view.png" : ".png");
}

std::optional<zoom::PixelRect> ParseRegion(const std::string& text, std::string* why) {
  long v[4] = {};
  size_t at = 0;
  for (int i = 0; i < 4; ++i) {
    size_t used = 0;
    try {
      if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
        throw std::invalid_argument("digit");
      v[i] = std::stol(text.substr(at), &used);
    } catch (const std::exception&) {
      if (why) *why = "wants x,y,w,h: four whole numbers of pixels, not \"" + text + "\"";
      return std::nullopt;
    }
    at += used;
    if (i < 3 && (at >= text.size() || text[at] != ',')) {
      if (why) *why = "wants x,y,w,h: four whole numbers of pixels, not \"" + text + "\"";
      return std::nullopt;
    }
    if (i < 3) ++at;
  }
  constexpr long kMaxSide = 1 << 16;  // far beyond any picture; keeps the sums below in range
  if (at != text.size() || v[2] < 1 || v[3] < 1 || v[0] > kMaxSide || v[1] > kMaxSide ||
      v[2] > kMaxSide || v[3] > kMaxSide) {
    if (why) *why = "wants x,y,w,h with a width and height of at least 1, not \"" + text + "\"";
    return std::nullopt;
  }
  return zoom::PixelRect{int(v[0]), int(v[1]), int(v[2]), int(v[3])};
}

SnapshotOutcome TakeSnapshot(const BackupFile& file, const std::string& sourcePath, int slot,
                             const SnapshotTarget& target, const std::string& outPath,
                             const std::atomic<bool>* cancel, const SnapshotView& view) {
  SnapshotOutcome out;
  try {
    if (slot < 0 || slot >= kSlots || !file.Recording().m_Header.video[size_t(slot)].HasData())
      throw std::runtime_error("channel " + std::to_string(slot + 1) +
                               " has no video in this file");
    std::error_code ec;
    if (fs::exists(outPath, ec))
      throw std::runtime_error(outPath + " exists already; it is left as it is");
    const OpenRecording& rec = file.Recording();
    PictureSearch search = FindPictureFrames(
        *file.ScanReader().Source(), rec.VideoRunStart(slot), rec.VideoRunEnd(slot),
        [&](const FrameRef& f) {
          return target.frameOffset ? f.offset == *target.frameOffset
                                    : f.h.f_time >= target.second.value_or(INT32_MIN);
        },
        std::chrono::seconds(30), cancel);
    if (search.end == PictureSearch::End::Cancelled) throw std::runtime_error("cancelled");
    if (search.end == PictureSearch::End::TimedOut)
      throw std::runtime_error("the search for the picture took too long; nothing was saved");
    const std::vector<FrameRef>& frames = search.frames;
    if (frames.empty())
      throw std::runtime_error("channel " + std::to_string(slot + 1) + " has no picture there");
    Frame prev;
    const Frame decoded = DecodeLast(file.Recording().m_Header.videoCoding,
                                     *file.PlayReader().Source(), frames, prev);
    PictureFilter filter;
    const bool deinterlaced = PictureFilter::Deinterlaces(decoded.get(), view.deinterlace);
    const AVFrame* picture = filter.Apply(decoded.get(), prev.get(), view.adjust, view.deinterlace);
    if (!filter.Error().empty()) throw std::runtime_error(filter.Error());
    const int fw = picture->width, fh = picture->height;
    zoom::PixelRect region{0, 0, fw, fh};
    if (view.pixels) {
      const zoom::PixelRect& r = *view.pixels;
      if (r.x < 0 || r.y < 0 || r.w < 1 || r.h < 1 || r.x > fw - r.w || r.y > fh - r.h)
        throw std::runtime_error("the region " + std::to_string(r.x) + "," + std::to_string(r.y) +
                                 "," + std::to_string(r.w) + "," + std::to_string(r.h) +
                                 " does not lie inside the " + std::to_string(fw) + "x" +
                                 std::to_string(fh) + " picture");
      region = r;
    } else if (view.region) {
      region = zoom::ToPixels(*view.region, fw, fh);
    }
    std::vector<uint8_t> png = EncodePng(picture, region);
    out.width = region.w;
    out.height = region.h;
    out.region = region;
    out.second = frames.back().h.f_time;

    // Text chunks go right after the 8-byte signature and the 25-byte IHDR chunk.
    std::vector<uint8_t> text;
    for (const auto& chunk :
         {TextChunk("Title", file.Recording().m_Header.video[size_t(slot)].name),
          TextChunk("Source", fs::absolute(sourcePath).string()),
          TextChunk("Creation Time", DisplayStamp(out.second)), TextChunk("Software", "Ostravue")})
      text.insert(text.end(), chunk.begin(), chunk.end());
    if (view.view) {
      const PictureAdjust a = view.adjust.Clamped();
      char adjust[128];
      std::snprintf(adjust, sizeof adjust,
                    "brightness %d, contrast %d%%, gamma %d%%, saturation %d%%", a.brightness,
                    a.contrast, a.gamma, a.saturation);
      for (const auto& chunk :
           {TextChunk("Region", std::to_string(region.x) + "," + std::to_string(region.y) + "," +
                                    std::to_string(region.w) + "," + std::to_string(region.h) +
                                    " of " + std::to_string(fw) + "x" + std::to_string(fh)),
            TextChunk("Adjustments", adjust),
            TextChunk("Deinterlacing", deinterlaced ? "on" : "off")})
        text.insert(text.end(), chunk.begin(), chunk.end());
    }
    if (png.size() < 33) throw std::runtime_error("cannot encode the PNG");
    png.insert(png.begin() + 33, text.begin(), text.end());

    // Written as an export writes its clips: a new file, claimed under the name only when
    // whole, never replacing or following what is there.
    const fs::path final(outPath);
    OutputFolder folder(final.has_parent_path() ? final.parent_path().string() : ".");
    const size_t file = folder.Create();
    for (size_t done = 0; done < png.size();) {
      const ssize_t n = ::write(folder.Fd(file), png.data() + done, png.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw std::runtime_error("cannot write " + outPath);
      done += size_t(n);
    }
    folder.Flush(file);
    folder.Claim(file, final.filename().string(), false);
    folder.Commit();
    out.ok = true;
  } catch (const std::exception& e) {
    out.error = e.what();
  }
  return out;
}

}  // namespace ov::exporter
