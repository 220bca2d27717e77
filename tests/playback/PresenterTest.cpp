// What playback shows besides the pictures: the thumb stays inside the recording whatever second
// the picture carries, and the end of the recording keeps the pictures.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "playback/PlaybackPresenter.h"
#include "playback/trace/EventLog.h"
#include "playback/trace/RecordingDecoder.h"
#include "playback/trace/RecordingView.h"
#include "playback/trace/VirtualClock.h"

namespace ov {
namespace {

struct PresenterRig {
  VirtualClock clock;
  EventLog log{clock};
  RecordingView view{log};
  RecordingDecoder decoder{log};
  CQuelmar_Ctrl_Player player{&decoder};
  PlaybackState state;
  PlaybackPresenter presenter{state, view, player};
  OpenRecording rec;

  PresenterRig() {
    rec.m_Index.m_StartInfo[0].f_time = 1000;
    rec.m_Index.m_StartMsec = 5000;
    rec.m_Index.m_TotalSeconds = 30;
    state.m_SeekDone.store(1);
  }
  std::vector<int32_t> SeekPositions() const {
    std::vector<int32_t> out;
    for (const auto& e : log.Snapshot())
      if (!e.fromDecoder && e.view == ViewOp::SeekPos) out.push_back(e.ints.at(0));
    return out;
  }
};

TEST(PlaybackPresenter, ReverseThumbIsClampedToTheRecording) {
  PresenterRig r;
  r.presenter.SecondTexts(r.rec, 1012, 17000, false);  // inside: second 12
  r.presenter.SecondTexts(r.rec, 990, 0, false);       // a picture stamped before the start
  r.presenter.SecondTexts(r.rec, 1100, 0, false);      // and one after the end
  EXPECT_EQ(r.SeekPositions(), (std::vector<int32_t>{12, 0, 30}));
  EXPECT_EQ(r.state.m_SliderSecond.load(), 30);
}

TEST(PlaybackPresenter, DamagedSecondsFarApartStillClampTheThumb) {
  PresenterRig r;
  // A start second near the bottom of the range and a picture near the top: their difference
  // does not fit 32 bits.
  r.rec.m_Index.m_StartInfo[0].f_time = INT32_MIN + 5;
  r.presenter.SecondTexts(r.rec, INT32_MAX - 5, 0, false);
  r.rec.m_Index.m_StartInfo[0].f_time = INT32_MAX - 5;
  r.presenter.SecondTexts(r.rec, INT32_MIN + 5, 0, false);
  EXPECT_EQ(r.SeekPositions(), (std::vector<int32_t>{30, 0}));
}

TEST(PlaybackPresenter, ForwardThumbIsThePicturesSecondUpToTheEnd) {
  PresenterRig r;
  r.state.m_SliderSecond.store(29);
  for (int i = 0; i < 4; ++i) r.presenter.SecondTexts(r.rec, 1029 + i, 34000, true);
  EXPECT_EQ(r.SeekPositions(), (std::vector<int32_t>{29, 30, 30, 30}));
  EXPECT_EQ(r.state.m_SliderSecond.load(), 30);
  // Damaged stamps far from the recording neither overflow nor leave it.
  r.presenter.SecondTexts(r.rec, INT32_MIN, 0, true);
  r.presenter.SecondTexts(r.rec, INT32_MAX, 0, false);
  EXPECT_EQ(r.SeekPositions().back(), 30);
  EXPECT_EQ(r.SeekPositions()[r.SeekPositions().size() - 2], 0);
}

TEST(PlaybackPresenter, EndOfRecordingKeepsThePicturesAndShowsPlay) {
  PresenterRig r;
  r.presenter.EndOfRecording(r.rec);
  bool cleared = false, playImage = false;
  for (const auto& e : r.log.Snapshot()) {
    if (e.fromDecoder && e.dispid == int32_t(dispid::ClearDecoder)) cleared = true;
    if (!e.fromDecoder && e.view == ViewOp::Bitmaps && e.ints.at(0) == ctl::kPlay)
      playImage = e.ints.at(1) == IDB_PLAY_NORMAL;
  }
  EXPECT_FALSE(cleared);
  EXPECT_TRUE(playImage);
  EXPECT_TRUE(r.SeekPositions().empty());  // the thumb stays where the recording ended
}

}  // namespace
}  // namespace ov
