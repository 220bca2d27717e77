// The wire table: every typed call the program makes comes out as the same typed call on the
// control's side, and calls that arrive short or with arguments of the wrong kind do no harm.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "decoder/DecoderCalls.h"
#include "decoder/DecoderWire.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "tests/decoder/FrameArgs.h"

namespace ov::test {
namespace {

// Writes each typed call it receives as one line of text.
class CallLog : public IDecoderCalls {
 public:
  void Deactivate() override { Add("Deactivate"); }
  void SetOwnerWindow(int32_t w) override { Add("SetOwnerWindow " + N(w)); }
  void SetLayout(int32_t n) override { Add("SetLayout " + N(n)); }
  void SetMode(int32_t m, int32_t b) override { Add("SetMode " + N(m) + " " + N(b)); }
  int32_t CurrentAudioChannel() override { return Add("CurrentAudioChannel"), 5; }
  void SetVolume(int32_t v) override { Add("SetVolume " + N(v)); }
  void SubmitFrame(const FrameCall& f) override {
    frames.push_back(f);
    Add("SubmitFrame " + N(int32_t(f.payload.size())) + " " + N(f.time) + " " + N(f.msec) + " " +
        N(f.audio) + " " + N(f.type) + " " + N(f.channel) + (f.show ? "" : " hidden") +
        (f.tag ? " #" + std::to_string(f.tag) : ""));
  }
  void ClearDecoder() override { Add("ClearDecoder"); }
  int32_t PictureDelay() override { return Add("PictureDelay"), 40; }
  uint32_t ShownFrame(int32_t channel) override {
    return Add("ShownFrame " + N(channel)), 0xF0000000u + uint32_t(channel);
  }
  void SetPaneTitle(int32_t p, std::string_view t) override {
    Add("SetPaneTitle " + N(p) + " " + std::string(t));
  }
  void SetStartOption(int i, int32_t v) override { Add("SetStartOption " + N(i) + " " + N(v)); }
  int32_t QueryActive() override { return Add("QueryActive"), 1; }
  int32_t SetProductText(std::string_view t) override {
    return Add("SetProductText " + std::string(t)), 11;
  }
  int32_t SetVersionText(std::string_view t) override {
    return Add("SetVersionText " + std::string(t)), 12;
  }

  std::vector<std::string> lines;
  std::vector<FrameCall> frames;

 private:
  static std::string N(int32_t v) { return std::to_string(v); }
  void Add(std::string s) { lines.push_back(std::move(s)); }
};

// A control that only hands calls through the table.
class Bridge : public IDecoderDispatch {
 public:
  explicit Bridge(IDecoderCalls& target) : m_target(target) {}
  int32_t Invoke(int32_t dispid, std::span<const DispArg> args) override {
    return DispatchCall(m_target, dispid, args);
  }

 private:
  IDecoderCalls& m_target;
};

TEST(DecoderCalls, EveryWrapperCallArrivesAsTheSameTypedCall) {
  CallLog log;
  Bridge bridge(log);
  CQuelmar_Ctrl_Player p(&bridge);
  const std::array<uint8_t, 6> buf{1, 2, 3, 4, 5, 6};
  p.Deactivate();
  p.SetOwnerWindow(77);
  p.SetLayout(9);
  p.SetMode(3, 0);
  EXPECT_EQ(p.CurrentAudioChannel(), 5);
  p.SetVolume(40);
  p.SubmitFrame(test::Frame(buf.data(), 1709294400, 120, 1, 6, 0, 2));
  p.SubmitFrame(
      test::Frame(buf.data(), 1709294401, 40, 0, 4, 1, 15));  // declared shorter than the buffer
  p.SubmitFrame(FrameCall::Reset());
  p.SubmitFrame(test::Frame(buf.data(), 1709294402, 80, 0, 6, 0, 3, false,
                            0xC0000014u));  // offsets past 2 GiB
  p.ClearDecoder();
  EXPECT_EQ(p.ShownFrame(7), 0xF0000007u);
  EXPECT_EQ(p.PictureDelay(), 40);
  p.SetPaneTitle(3, "Gate");
  for (int i : {3, 2, 1, 0, 4}) p.SetStartOption(i, 44 + i);
  EXPECT_EQ(p.QueryActive(), 1);
  EXPECT_EQ(p.SetProductText("Ostravue"), 11);
  EXPECT_EQ(p.SetVersionText("Ver 1"), 12);
  const std::vector<std::string> expected{
      "Deactivate",
      "SetOwnerWindow 77",
      "SetLayout 9",
      "SetMode 3 0",
      "CurrentAudioChannel",
      "SetVolume 40",
      "SubmitFrame 6 1709294400 120 1 0 2",
      "SubmitFrame 4 1709294401 40 0 1 15",
      "SubmitFrame 0 0 0 0 0 -1",
      "SubmitFrame 6 1709294402 80 0 0 3 hidden #3221225492",
      "ClearDecoder",
      "ShownFrame 7",
      "PictureDelay",
      "SetPaneTitle 3 Gate",
      "SetStartOption 3 47",
      "SetStartOption 2 46",
      "SetStartOption 1 45",
      "SetStartOption 0 44",
      "SetStartOption 4 48",
      "QueryActive",
      "SetProductText Ostravue",
      "SetVersionText Ver 1",
  };
  EXPECT_EQ(log.lines, expected);
  ASSERT_EQ(log.frames.size(), 4u);
  EXPECT_EQ(log.frames[0].payload.data(), buf.data());  // handed through, not copied
}

TEST(DecoderCalls, ShortOrMistypedCallsDoNoHarm) {
  CallLog log;
  const std::array<uint8_t, 4> buf{9, 9, 9, 9};
  const auto call = [&](int32_t id, std::vector<DispArg> args) {
    return DispatchCall(log, id, std::span<const DispArg>(args.data(), args.size()));
  };
  // A frame needs all seven arguments; an address never comes as an integer.
  EXPECT_EQ(call(dispid::SubmitFrame, {DispArg::Bytes(buf.data(), 4), DispArg::Int(0)}), 0);
  call(dispid::SubmitFrame, {DispArg::Int(1234), DispArg::Int(0), DispArg::Int(0), DispArg::Int(0),
                             DispArg::Int(4), DispArg::Int(1), DispArg::Int(0)});
  call(dispid::SubmitFrame, {DispArg::Bytes(buf.data(), 4), DispArg::Int(0), DispArg::Int(0),
                             DispArg::Int(0), DispArg::Int(-5), DispArg::Int(1), DispArg::Int(0)});
  call(dispid::SubmitFrame,
       {DispArg::Bytes(buf.data(), 4), DispArg::Int(0), DispArg::Int(0), DispArg::Int(0),
        DispArg::Int(1 << 30), DispArg::Int(1), DispArg::Text("x")});
  // Texts and the out value only in their own kinds.
  call(dispid::SetPaneTitle, {DispArg::Int(2), DispArg::Int(3)});
  call(dispid::SetProductText, {});
  call(dispid::QueryActive, {DispArg::Int(0)});
  call(dispid::SetLayout, {});
  EXPECT_EQ(call(9999, {DispArg::Int(1)}), 0);
  const std::vector<std::string> expected{
      "SubmitFrame 0 0 0 0 1 0",   // no buffer
      "SubmitFrame 0 0 0 0 1 0",   // a size <= 0 carries nothing
      "SubmitFrame 4 0 0 0 1 -2",  // cut to what the buffer holds; no channel given
      "SetLayout 16",              // a layout without a count is the full grid
  };
  EXPECT_EQ(log.lines, expected);
}

// A hosted control that offers its typed calls gets every call typed: nothing goes by number, and
// a frame's buffer reaches it as the caller's own bytes.
TEST(DecoderCalls, ATypedControlIsCalledWithoutTheNumberedForm) {
  struct Typed : IDecoderControl {
    int32_t Invoke(int32_t, std::span<const DispArg>) override { return ++invokes, 0; }
    void* Widget() override { return nullptr; }
    IDecoderCalls* TypedCalls() override { return &log; }
    CallLog log;
    int invokes = 0;
  } control;
  CQuelmar_Ctrl_Player p;
  EXPECT_EQ(p.QueryActive(), 0);  // nothing attached: nothing happens
  EXPECT_EQ(p.ZoomPane(-1, 1), -1);
  p.Attach(&control);
  const std::array<uint8_t, 3> buf{7, 8, 9};
  p.SetLayout(4);
  p.SubmitFrame(test::Frame(buf.data(), 1709294400, 0, 0, 3, 7, 1, true, 20));
  p.SubmitFrame(FrameCall::Reset());
  EXPECT_EQ(p.QueryActive(), 1);
  EXPECT_EQ(control.invokes, 0);
  EXPECT_EQ(control.log.lines,
            (std::vector<std::string>{"SetLayout 4", "SubmitFrame 3 1709294400 0 0 7 1 #20",
                                      "SubmitFrame 0 0 0 0 0 -1", "QueryActive"}));
  EXPECT_EQ(control.log.frames[0].payload.data(), buf.data());
  p.Attach(nullptr);
  p.SetLayout(9);
  EXPECT_EQ(control.log.lines.size(), 4u);
}

TEST(DecoderCalls, EventsCarryTheirNumbersAndArguments) {
  struct Events : IDecoderEvents {
    void OnDecoderEvent(int32_t id, std::span<const int32_t> a) override {
      got.push_back({id, std::vector<int32_t>(a.begin(), a.end())});
    }
    std::vector<std::pair<int32_t, std::vector<int32_t>>> got;
  } e;
  DecoderEvent::DecodeFailed(7, -22).SendTo(e);
  DecoderEvent::PaneSelected(2, 5).SendTo(e);
  DecoderEvent::AloneChanged(5, true).SendTo(e);
  using V = std::vector<int32_t>;
  ASSERT_EQ(e.got.size(), 3u);
  EXPECT_EQ(e.got[0], std::make_pair(3, V{101, 7, -22}));
  EXPECT_EQ(e.got[1], std::make_pair(4, V{2, 5}));
  EXPECT_EQ(e.got[2], std::make_pair(6, V{5, 1}));
}

}  // namespace
}  // namespace ov::test
