#pragma once
// The engine under a virtual clock with a recording decoder and view, over a Fixture file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "playback/trace/TraceDriver.h"
#include "tests/playback/Fixture.h"

namespace ov::test {

struct Shown {
  int64_t t;  // virtual ms since the mark
  int32_t ch, audio, time, ms, size, type;
};

class Rig {
 public:
  bool Open(Fixture& fx, size_t truncateBy = 0) {
    auto bytes = fx.Build(truncateBy);
    const OpenOutcome out = d.OpenSources(Fixture::Source(bytes), Fixture::Source(bytes));
    Mark();
    return out.accepted;
  }
  // Forgets the events so far and starts counting time from now.
  void Mark() {
    d.Log().Clear();
    t0 = d.NowMs();
  }
  PlaybackEngine& E() { return d.Engine(); }
  PlaybackState& S() { return d.Engine().State(); }
  void Do(void (PlaybackEngine::*handler)()) {
    d.Do([handler](PlaybackEngine& e) { (e.*handler)(); });
  }
  void Seek(int second) {
    d.Do([second](PlaybackEngine& e) { e.SeekSliderReleased(second); });
  }
  int64_t Ms(const LoggedEvent& e) const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(e.t).count() - t0;
  }
  // Frames handed to the decoder (the reset call left out).
  std::vector<Shown> Frames() const {
    std::vector<Shown> v;
    for (const auto& e : d.Log().Snapshot()) {
      if (!e.fromDecoder || e.dispid != dispid::SubmitFrame || e.ints.size() < 6 || e.ints[5] < 0)
        continue;
      v.push_back({Ms(e), e.ints[5], e.ints[2], e.ints[0], e.ints[1], e.ints[3], e.ints[4]});
    }
    return v;
  }
  // (time, text) of every text written to a control.
  std::vector<std::pair<int64_t, std::string>> Texts(int id) const {
    std::vector<std::pair<int64_t, std::string>> v;
    for (const auto& e : d.Log().Snapshot())
      if (!e.fromDecoder && e.view == ViewOp::Text && !e.ints.empty() && e.ints[0] == id)
        v.emplace_back(Ms(e), e.text);
    return v;
  }
  std::string LastText(int id) const {
    auto t = Texts(id);
    return t.empty() ? std::string("<none>") : t.back().second;
  }
  int Count(int32_t dispidWanted) const {
    int n = 0;
    for (const auto& e : d.Log().Snapshot()) n += e.fromDecoder && e.dispid == dispidWanted;
    return n;
  }
  std::array<uint32_t, kSlots> VideoPos() const {
    std::array<uint32_t, kSlots> a{};
    for (int n = 0; n < kSlots; ++n) a[size_t(n)] = d.Engine().State().m_VideoPos[size_t(n)].load();
    return a;
  }

  TraceDriver d;
  int64_t t0 = 0;
};

}  // namespace ov::test
