#pragma once
// The recording time index: each channel's first and last usable frame, the start, the length.
#include <array>
#include <cstdint>
#include <string>

#include "archive/Calendar.h"
#include "archive/YskFormat.h"

namespace ov {

struct ChannelTimeInfo {
  int32_t f_time = 0;
  uint32_t f_msec = 0;
  uint32_t f_size = 0;
  uint32_t f_info = 0;
  uint32_t f_type = 0;
  int32_t slot = 0;
  uint32_t spare = 0;

  static ChannelTimeInfo EmptyStart();  // sorts after every real start
  static ChannelTimeInfo EmptyEnd();    // sorts after every real end (latest first)
  static ChannelTimeInfo From(const YskFrameHeader& h, int slot);
};

// Strict weak orders for std::sort: true when a goes before b.
bool CompareStartKey(const ChannelTimeInfo& a, const ChannelTimeInfo& b);  // earliest first
bool CompareEndKey(const ChannelTimeInfo& a, const ChannelTimeInfo& b);    // latest first
bool CompareMsecAscending(const ChannelTimeInfo& a, const ChannelTimeInfo& b);
bool CompareMsecDescending(const ChannelTimeInfo& a, const ChannelTimeInfo& b);
// f_msec + 1000 x (seconds of the day of f_time), wrapping in 32 bits.
uint32_t StartEndKey(const ChannelTimeInfo& r);

// True when the frame's date lies within one year of refYear (inclusive), month 1..12, day 1..32.
bool IsPlausibleFrame(const YskFrameHeader& h, const CalendarTime& refDate);

struct TimeIndex {
  std::array<ChannelTimeInfo, kSlots> m_StartInfo{};
  std::array<ChannelTimeInfo, kSlots> m_EndInfo{};
  std::array<ChannelTimeInfo, kSlots> m_StartInfo_A{};
  std::array<ChannelTimeInfo, kSlots> m_EndInfo_A{};
  int32_t m_StartMsec = 0;
  int32_t m_TotalSeconds = 0;
  CalendarTime m_TotalTime{};
  CalendarTime m_ResumeTime{};
};

}  // namespace ov
