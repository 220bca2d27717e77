// The fuzz target of the replay guard: it only calls the library.
#include <cstddef>
#include <cstdint>

int32_t PlantedSum(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  volatile int32_t sink = PlantedSum(data, size);
  (void)sink;
  return 0;
}
