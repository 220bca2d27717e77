#pragma once
// Helpers of the storage tool tests: a scratch folder per test, ".yrx" records written byte by
// byte, and ".chv" files read back frame by frame.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/YskFormat.h"
#include "tools/YrxRecord.h"

namespace ov::tools::test {

// A fresh, empty folder under OV_TEST_TMP (or the system's temp folder), named after the test.
std::filesystem::path ScratchDir(const std::string& name);

void MakeDirs(const std::filesystem::path& p);
void Touch(const std::filesystem::path& p);

struct YrxFrame {
  int32_t channel = 0;
  int32_t channelCount = 4;
  uint32_t type = 0;
  CalendarTime time{2024, 3, 1, 12, 0, 0, 0};
  std::vector<uint8_t> payload;
  // When set, written into the size field instead of payload.size() (for damaged records).
  int64_t sizeField = -1;
};

// A payload of n bytes whose contents tell channel and serial apart.
std::vector<uint8_t> Payload(size_t n, int channel, int serial);

// The bytes of one record (header and payload) and a whole file of records.
std::vector<uint8_t> RecordBytes(const YrxFrame& f);
void WriteYrx(const std::filesystem::path& p, const std::vector<YrxFrame>& frames);
void WriteBytes(const std::filesystem::path& p, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::filesystem::path& p);

struct ChvFrame {
  YskFrameHeader header;
  std::vector<uint8_t> payload;
};

// Walks a ".chv" file forward; fails the test (ADD_FAILURE) when a record runs past the end.
std::vector<ChvFrame> ReadChv(const std::filesystem::path& p);

}  // namespace ov::tools::test
