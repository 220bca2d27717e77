#pragma once
// The program's string table: fixed texts by resource id.
namespace ov {

inline constexpr int IDS_NO_WINDOW_HOST = 107;
inline constexpr int IDS_ABOUT_VERSION = 109;
inline constexpr int IDS_PRODUCT = 110;
inline constexpr int IDS_ABOUT_TITLE = 111;

// The text of string id, or an empty string for an id the table does not hold.
const char* LoadResString(int id);

}  // namespace ov
