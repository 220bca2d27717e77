#include "app/ComponentRuntime.h"

#include <QApplication>

namespace ov {

bool ComponentRuntime::Initialize() {
  // Controls are widgets: without a widget application there is nothing to host them in.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  ++m_depth;
  return true;
}

void ComponentRuntime::Uninitialize() {
  if (m_depth > 0) --m_depth;
}

}  // namespace ov
