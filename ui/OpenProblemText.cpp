#include "ui/OpenProblemText.h"

#include <QCoreApplication>

namespace ov {

std::string ExplainProblem(const OpenProblem& p) {
  if (!p.Known()) return {};
  auto tr = [](const char* text) {
    return QCoreApplication::translate(kOpenProblemContext, text).toStdString();
  };
  // The values go in after translation, so no value can be taken for a placeholder.
  std::string out = FillIn(tr(p.reason), p.args);
  if (p.next) out += "\n\n" + tr(p.next);
  return out;
}

}  // namespace ov
