#pragma once

#include <QString>
#include <string_view>

namespace ov {

// Channel names are the recorder's 8-bit text: every byte becomes one character. Control bytes
// (C0, DEL, C1) would break a line, move the text by tabs or draw nothing at all: each shows as a
// visible replacement character instead.
inline QString NameText(std::string_view bytes) {
  QString text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  for (QChar& c : text) {
    const char16_t u = c.unicode();
    if (u < 0x20 || (u >= 0x7F && u < 0xA0)) c = QChar::ReplacementCharacter;
  }
  return text;
}

}  // namespace ov
