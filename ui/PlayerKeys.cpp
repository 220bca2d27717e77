#include "ui/PlayerKeys.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace ov {
namespace {
constexpr KeyBinding kBindings[] = {
    {KeyAction::PlayPause, {"Space", "K"}, "Play / Pause"},
    {KeyAction::Forward5, {"Right", nullptr}, "5 seconds forward"},
    {KeyAction::Back5, {"Left", nullptr}, "5 seconds back"},
    {KeyAction::Forward59, {"Up", nullptr}, "59 seconds forward"},
    {KeyAction::Back59, {"Down", nullptr}, "59 seconds back"},
    {KeyAction::NextFFSpeed, {"]", nullptr}, "Next fast-forward speed"},
    {KeyAction::NextRewSpeed, {"[", nullptr}, "Next rewind speed"},
    {KeyAction::FrameStep, {".", nullptr}, "Next picture of the selected channel (paused)"},
    {KeyAction::FrameBack, {",", nullptr}, "Previous picture of the selected channel (paused)"},
    {KeyAction::GoToTime, {"Ctrl+G", nullptr}, "Go to a date and time or an elapsed time"},
    {KeyAction::First, {"Home", nullptr}, "First second"},
    {KeyAction::Last, {"End", nullptr}, "Last second"},
    {KeyAction::VolumeUp, {"0", nullptr}, "Volume up"},
    {KeyAction::VolumeDown, {"9", nullptr}, "Volume down"},
    {KeyAction::Mute, {"M", nullptr}, "Sound on / off"},
    {KeyAction::Layout1, {"1", nullptr}, "1 pane"},
    {KeyAction::Layout4, {"2", nullptr}, "4 panes"},
    {KeyAction::Layout9, {"3", nullptr}, "9 panes"},
    {KeyAction::Layout16, {"4", nullptr}, "16 panes"},
    {KeyAction::FullScreen, {"F", nullptr}, "Full screen (also a double click on the date line)"},
    {KeyAction::ZoomIn, {"Alt+=", "Alt++"}, "Zoom into the selected pane (also the wheel)"},
    {KeyAction::ZoomOut, {"Alt+-", nullptr}, "Zoom out of the selected pane"},
    {KeyAction::ZoomReset, {"Alt+Backspace", nullptr}, "Whole picture in the selected pane"},
    {KeyAction::PictureAdjust, {"Ctrl+P", nullptr}, "Picture adjustments of the selected pane"},
    {KeyAction::DeinterlaceNext,
     {"Alt+D", nullptr},
     "Deinterlacing of the selected pane: off, on, automatic"},
    {KeyAction::SaveSnapshot, {"S", nullptr}, "Save a snapshot"},
    {KeyAction::SaveView, {"Shift+S", nullptr}, "Save what the selected pane shows"},
    {KeyAction::Open, {"Ctrl+O", nullptr}, "Open a file"},
    {KeyAction::NextFile, {"PgDown", nullptr}, "Next .ysk file of the folder"},
    {KeyAction::PreviousFile, {"PgUp", nullptr}, "Previous .ysk file of the folder"},
    {KeyAction::Timeline, {"T", nullptr}, "Activity timeline shown / hidden"},
    {KeyAction::NextEvent, {"E", nullptr}, "Next event of the selected channel"},
    {KeyAction::PreviousEvent, {"Shift+E", nullptr}, "Previous event of the selected channel"},
    {KeyAction::NextEventAny, {"Ctrl+E", nullptr}, "Next event of any channel"},
    {KeyAction::PreviousEventAny, {"Ctrl+Shift+E", nullptr}, "Previous event of any channel"},
    {KeyAction::Quit, {"Q", "Ctrl+Q"}, "Quit"},
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

std::string ShortcutsHelpText() {
  std::string out;
  for (const KeyBinding& b : kBindings) {
    if (!b.help) continue;
    out += KeysOf(b.action) + "\t" + b.help + "\n";
  }
  out += "Esc\tLeave full screen\n";
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
