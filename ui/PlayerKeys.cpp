#include "ui/PlayerKeys.h"

#include <QtGlobal>
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace ov {
namespace {
constexpr KeyBinding kBindings[] = {
    {KeyAction::PlayPause, {"Space", "K"}, QT_TRANSLATE_NOOP("PlayerKeys", "Play / Pause")},
    {KeyAction::Forward5, {"Right", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "5 seconds forward")},
    {KeyAction::Back5, {"Left", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "5 seconds back")},
    {KeyAction::Forward59, {"Up", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "59 seconds forward")},
    {KeyAction::Back59, {"Down", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "59 seconds back")},
    {KeyAction::NextFFSpeed,
     {"]", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Next fast-forward speed")},
    {KeyAction::NextRewSpeed, {"[", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "Next rewind speed")},
    {KeyAction::FrameStep,
     {".", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Next picture of the selected channel (paused)")},
    {KeyAction::FrameBack,
     {",", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Previous picture of the selected channel (paused)")},
    {KeyAction::GoToTime,
     {"Ctrl+G", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Go to a date and time or an elapsed time")},
    {KeyAction::First, {"Home", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "First second")},
    {KeyAction::Last, {"End", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "Last second")},
    {KeyAction::VolumeUp, {"0", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "Volume up")},
    {KeyAction::VolumeDown, {"9", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "Volume down")},
    {KeyAction::Mute, {"M", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "Sound on / off")},
    {KeyAction::Layout1, {"1", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "1 pane")},
    {KeyAction::Layout4, {"2", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "4 panes")},
    {KeyAction::Layout9, {"3", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "9 panes")},
    {KeyAction::Layout16, {"4", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "16 panes")},
    {KeyAction::FullScreen,
     {"F", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Full screen (also a double click on the date line)")},
    {KeyAction::ZoomIn,
     {"Alt+=", "Alt++"},
     QT_TRANSLATE_NOOP("PlayerKeys", "Zoom into the selected pane (also the wheel)")},
    {KeyAction::ZoomOut,
     {"Alt+-", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Zoom out of the selected pane")},
    {KeyAction::ZoomReset,
     {"Alt+Backspace", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Whole picture in the selected pane")},
    {KeyAction::PictureAdjust,
     {"Ctrl+P", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Picture adjustments of the selected pane")},
    {KeyAction::DeinterlaceNext,
     {"Alt+D", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Deinterlacing of the selected pane: off, on, automatic")},
    {KeyAction::SaveSnapshot, {"S", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "Save a snapshot")},
    {KeyAction::SaveView,
     {"Shift+S", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Save what the selected pane shows")},
    {KeyAction::Open, {"Ctrl+O", nullptr}, QT_TRANSLATE_NOOP("PlayerKeys", "Open a file")},
    {KeyAction::NextFile,
     {"PgDown", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Next .ysk file of the folder")},
    {KeyAction::PreviousFile,
     {"PgUp", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Previous .ysk file of the folder")},
    {KeyAction::Timeline,
     {"T", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Activity timeline shown / hidden")},
    {KeyAction::NextEvent,
     {"E", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Next event of the selected channel")},
    {KeyAction::PreviousEvent,
     {"Shift+E", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Previous event of the selected channel")},
    {KeyAction::NextEventAny,
     {"Ctrl+E", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Next event of any channel")},
    {KeyAction::PreviousEventAny,
     {"Ctrl+Shift+E", nullptr},
     QT_TRANSLATE_NOOP("PlayerKeys", "Previous event of any channel")},
    {KeyAction::Quit, {"Q", "Ctrl+Q"}, QT_TRANSLATE_NOOP("PlayerKeys", "Quit")},
    {KeyAction::Swallow, {"Return", "Enter"}, nullptr},
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return s;
}

bool IsYsk(const std::filesystem::path& p) { return Lower(p.extension().string()) == ".ysk"; }

// Name order as a person reads it: "CAM02" between "cam01" and "cam03".
bool NameBefore(const std::filesystem::path& a, const std::filesystem::path& b) {
  const std::string la = Lower(a.string()), lb = Lower(b.string());
  return la != lb ? la < lb : a < b;
}
}  // namespace

std::span<const KeyBinding> KeyBindings() { return kBindings; }

std::string KeysOf(KeyAction action) {
  for (const KeyBinding& b : kBindings) {
    if (b.action != action) continue;
    std::string out = b.keys[0];
    if (b.keys[1]) out += std::string(", ") + b.keys[1];
    return out;
  }
  return {};
}

std::string ShortcutsHelpText(const std::function<std::string(const char*)>& tr) {
  auto say = [&tr](const char* text) { return tr ? tr(text) : std::string(text); };
  std::string out;
  for (const KeyBinding& b : kBindings) {
    if (!b.help) continue;
    out += KeysOf(b.action) + "\t" + say(b.help) + "\n";
  }
  out += "Esc\t" + say(QT_TRANSLATE_NOOP("PlayerKeys", "Leave full screen")) + "\n";
  return out;
}

std::optional<std::string> NeighbourYskFile(const std::string& path, int direction) {
  namespace fs = std::filesystem;
  if (direction == 0 || path.empty()) return std::nullopt;
  const fs::path current(path);
  std::error_code ec;
  std::vector<fs::path> files;
  // Bounded: a folder of a hundred thousand entries is not a recorder's backup folder.
  constexpr size_t kMaxEntries = 100000;
  size_t seen = 0;
  for (fs::directory_iterator it(current.parent_path(), ec), end; !ec && it != end;
       it.increment(ec)) {
    if (++seen > kMaxEntries) break;
    std::error_code fileEc;
    if (IsYsk(it->path()) && it->is_regular_file(fileEc)) files.push_back(it->path());
  }
  if (ec) return std::nullopt;
  auto byName = [](const fs::path& a, const fs::path& b) {
    return NameBefore(a.filename(), b.filename());
  };
  std::sort(files.begin(), files.end(), byName);
  if (direction > 0) {
    auto it = std::upper_bound(files.begin(), files.end(), current, byName);
    if (it == files.end()) return std::nullopt;
    return it->string();
  }
  auto it = std::lower_bound(files.begin(), files.end(), current, byName);
  if (it == files.begin()) return std::nullopt;
  return std::prev(it)->string();
}

}  // namespace ov
