#pragma once
// What a person types into "Go to time": a recording time "YYYY-MM-DD HH:MM:SS", or an elapsed
// time "H:MM:SS", "M:SS" or plain seconds, counted from the recording's start.
#include <cstdint>
#include <optional>
#include <string>

namespace ov {

// The second from the recording's start (not clamped to the recording); nothing for text that is
// neither form (a day the month does not have included).
std::optional<int64_t> ParseGoToTime(const std::string& text, int32_t startSecond);

}  // namespace ov
