// The module's C entry points, looked up by name by the program at start-up.
#include <QWidget>

#include "decoder/DecoderDispatch.h"
#include "decoder/control/DecoderControl.h"

#define OV_EXPORT extern "C" __attribute__((visibility("default")))

// No component runtime to register with yet; registration always succeeds.
OV_EXPORT int32_t DllRegisterServer() { return 0; }

OV_EXPORT ov::IDecoderControl* CQL_CreateControl(void* parent, ov::IDecoderEvents* events) {
  return new ov::DecoderControl(static_cast<QWidget*>(parent), events);
}

OV_EXPORT void CQL_DestroyControl(ov::IDecoderControl* control) { delete control; }
