#pragma once

#include <cstdint>

namespace ov {

// Skin picture ids: the numbers the window's button looks and the playback trace carry. Each id
// stands for one PNG, ":/bitmaps/<name>.png" (see kSkinPictures), at the pixel size of the control
// that shows it.
// clang-format off
inline constexpr std::uint32_t IDB_PLAY_NORMAL        = 153;  // 43 x 48
inline constexpr std::uint32_t IDB_PLAY_PRESSED       = 154;
inline constexpr std::uint32_t IDB_PLAY_HOVER         = 189;
inline constexpr std::uint32_t IDB_PAUSE              = 185;  // all states of the pause look
inline constexpr std::uint32_t IDB_REW_NORMAL         = 162;  // 36 x 48, rewind
inline constexpr std::uint32_t IDB_REW_PRESSED        = 155;
inline constexpr std::uint32_t IDB_REW_HOVER          = 194;
inline constexpr std::uint32_t IDB_BACK_NORMAL        = 160;  // 36 x 48, step back ("r")
inline constexpr std::uint32_t IDB_BACK_PRESSED       = 161;
inline constexpr std::uint32_t IDB_BACK_HOVER         = 193;
inline constexpr std::uint32_t IDB_FWD_NORMAL         = 156;  // 36 x 48, step forward ("f")
inline constexpr std::uint32_t IDB_FWD_PRESSED        = 157;
inline constexpr std::uint32_t IDB_FWD_HOVER          = 190;
inline constexpr std::uint32_t IDB_FF_NORMAL          = 158;  // 36 x 48, fast forward
inline constexpr std::uint32_t IDB_FF_PRESSED         = 159;
inline constexpr std::uint32_t IDB_FF_HOVER           = 191;
inline constexpr std::uint32_t IDB_FILEOPEN_NORMAL    = 163;  // 53 x 22
inline constexpr std::uint32_t IDB_FILEOPEN_PRESSED   = 164;
inline constexpr std::uint32_t IDB_SPEAKER_OFF_PRESSED = 165; // 14 x 15
inline constexpr std::uint32_t IDB_SPEAKER_ON_NORMAL  = 166;
inline constexpr std::uint32_t IDB_SPEAKER_ON_PRESSED = 167;
inline constexpr std::uint32_t IDB_SPEAKER_OFF_NORMAL = 168;
inline constexpr std::uint32_t IDB_LABEL_TIMELINE     = 169;  // 45 x 9
inline constexpr std::uint32_t IDB_LABEL_FILENAME     = 170;  // 47 x 9
inline constexpr std::uint32_t IDB_BAR_STRIP          = 175;  // 2 x 48, stretched behind the transport row
inline constexpr std::uint32_t IDB_CLOSE_NORMAL       = 178;  // 19 x 19
inline constexpr std::uint32_t IDB_CLOSE_PRESSED      = 179;
inline constexpr std::uint32_t IDB_MAXIMIZE_NORMAL    = 180;  // 19 x 19
inline constexpr std::uint32_t IDB_MAXIMIZE_PRESSED   = 181;
inline constexpr std::uint32_t IDB_MINIMIZE_NORMAL    = 182;  // 19 x 19
inline constexpr std::uint32_t IDB_MINIMIZE_PRESSED   = 183;
inline constexpr std::uint32_t IDB_ABOUT_OK_NORMAL    = 197;  // 70 x 23
inline constexpr std::uint32_t IDB_ABOUT_OK_PRESSED   = 198;
inline constexpr std::uint32_t IDB_LOGO_SMALL         = 202;  // 18 x 18, title band of the window
inline constexpr std::uint32_t IDB_ABOUT_PICTURE      = 203;  // 32 x 32, About box
inline constexpr std::uint32_t IDB_CH16_PRESSED       = 204;  // 19 x 19 pane layout buttons
inline constexpr std::uint32_t IDB_CH1_NORMAL         = 205;
inline constexpr std::uint32_t IDB_CH1_PRESSED        = 206;
inline constexpr std::uint32_t IDB_CH4_NORMAL         = 207;
inline constexpr std::uint32_t IDB_CH4_PRESSED        = 208;
inline constexpr std::uint32_t IDB_CH9_NORMAL         = 209;
inline constexpr std::uint32_t IDB_CH9_PRESSED        = 210;
inline constexpr std::uint32_t IDB_CH16_NORMAL        = 211;
// clang-format on

// The picture file of each id, by id ascending.
struct SkinPicture {
  std::uint32_t id;
  const char* name;  // file name without ".png"
};
inline constexpr SkinPicture kSkinPictures[] = {
    {IDB_PLAY_NORMAL, "play"},
    {IDB_PLAY_PRESSED, "play_pressed"},
    {IDB_REW_PRESSED, "rewind_pressed"},
    {IDB_FWD_NORMAL, "forward"},
    {IDB_FWD_PRESSED, "forward_pressed"},
    {IDB_FF_NORMAL, "fast_forward"},
    {IDB_FF_PRESSED, "fast_forward_pressed"},
    {IDB_BACK_NORMAL, "back"},
    {IDB_BACK_PRESSED, "back_pressed"},
    {IDB_REW_NORMAL, "rewind"},
    {IDB_FILEOPEN_NORMAL, "open_file"},
    {IDB_FILEOPEN_PRESSED, "open_file_pressed"},
    {IDB_SPEAKER_OFF_PRESSED, "sound_off_pressed"},
    {IDB_SPEAKER_ON_NORMAL, "sound_on"},
    {IDB_SPEAKER_ON_PRESSED, "sound_on_pressed"},
    {IDB_SPEAKER_OFF_NORMAL, "sound_off"},
    {IDB_LABEL_TIMELINE, "label_timeline"},
    {IDB_LABEL_FILENAME, "label_file_name"},
    {IDB_BAR_STRIP, "bar_strip"},
    {IDB_CLOSE_NORMAL, "close"},
    {IDB_CLOSE_PRESSED, "close_pressed"},
    {IDB_MAXIMIZE_NORMAL, "maximize"},
    {IDB_MAXIMIZE_PRESSED, "maximize_pressed"},
    {IDB_MINIMIZE_NORMAL, "minimize"},
    {IDB_MINIMIZE_PRESSED, "minimize_pressed"},
    {IDB_PAUSE, "pause"},
    {IDB_PLAY_HOVER, "play_hover"},
    {IDB_FWD_HOVER, "forward_hover"},
    {IDB_FF_HOVER, "fast_forward_hover"},
    {IDB_BACK_HOVER, "back_hover"},
    {IDB_REW_HOVER, "rewind_hover"},
    {IDB_ABOUT_OK_NORMAL, "about_ok"},
    {IDB_ABOUT_OK_PRESSED, "about_ok_pressed"},
    {IDB_LOGO_SMALL, "logo_small"},
    {IDB_ABOUT_PICTURE, "about_picture"},
    {IDB_CH16_PRESSED, "layout_16_pressed"},
    {IDB_CH1_NORMAL, "layout_1"},
    {IDB_CH1_PRESSED, "layout_1_pressed"},
    {IDB_CH4_NORMAL, "layout_4"},
    {IDB_CH4_PRESSED, "layout_4_pressed"},
    {IDB_CH9_NORMAL, "layout_9"},
    {IDB_CH9_PRESSED, "layout_9_pressed"},
    {IDB_CH16_NORMAL, "layout_16"},
};

// The file name (without ".png") of a picture id, used as a 16-bit value; null for none.
constexpr const char* SkinPictureName(std::uint32_t id) {
  for (const SkinPicture& p : kSkinPictures)
    if (p.id == (id & 0xFFFFu)) return p.name;
  return nullptr;
}

// Every id above, ascending.
inline constexpr std::uint32_t kAllBitmapIds[] = {
    153, 154, 155, 156, 157, 158, 159, 160, 161, 162, 163, 164, 165, 166, 167,
    168, 169, 170, 175, 178, 179, 180, 181, 182, 183, 185, 189, 190, 191, 193,
    194, 197, 198, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211};

}  // namespace ov
