#pragma once
// Why an open refused a file, with the values it found, and what the user can do about it. The
// numbered message stays the headline; this is the explanation shown beneath it.
//
// Texts are English templates with %1..%9 placeholders, marked for the translation tools: the
// window translates a template (context "OpenProblem") before it fills it in, the cli fills it in
// as it stands.
#include <cstdint>
#include <string>
#include <vector>

// Marks a text for the translation tools without translating it (the core has no Qt).
#define OV_TRANSLATE_NOOP(context, text) text

namespace ov {

inline constexpr const char* kOpenProblemContext = "OpenProblem";

struct OpenProblem {
  const char* reason = nullptr;   // template, null when nothing was found wrong
  std::vector<std::string> args;  // fill %1, %2, ... of reason
  const char* next = nullptr;     // what to do next; no placeholders

  bool Known() const { return reason != nullptr; }
};

// Replaces %1..%9 in text by args[0..8]; a placeholder without an argument stays as it is. The
// arguments are inserted once: placeholders inside them are not expanded again.
std::string FillIn(const std::string& text, const std::vector<std::string>& args);
// The reason with its values, or empty.
std::string ReasonText(const OpenProblem& p);

// The problems the checks of an open can find, each built with the values that show it.
OpenProblem TooShortProblem(uint64_t length);
OpenProblem NotReopenedProblem();
OpenProblem TailTooShortProblem(unsigned kind, uint64_t length);
OpenProblem BadKindProblem(unsigned kind);
OpenProblem BadTailKindProblem(uint64_t offset, unsigned kind);
// base: where the header in effect begins (0, or the tail copy's offset).
OpenProblem DamagedRecordProblem(int slot, uint64_t base, unsigned channelNo);
OpenProblem ChannelCountProblem(uint64_t base, unsigned count);
OpenProblem NoVideoProblem(uint64_t base, uint32_t mask);
OpenProblem BadFrameTypeProblem(int slot, uint64_t offset, uint32_t type);
OpenProblem NoFirstKeyProblem();
OpenProblem NoLastKeyProblem(int startSlot, uint32_t startMsec);
OpenProblem EndBeforeStartProblem(int startSlot, uint32_t startMsec, int endSlot, uint32_t endMsec);
OpenProblem TooLongProblem(int hours, int minutes, int startSlot, int endSlot);

// Every template above, reasons and next steps, for the checks that each one has a translation.
std::vector<const char*> AllOpenProblemTexts();

}  // namespace ov
