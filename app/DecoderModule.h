#pragma once
// The decoder control module, loaded with dlopen: from the program's own folder first, then the
// installed tree's private module folder (OV_MODULE_DIR_FROM_BIN, relative to the program's
// folder), then the standard search path. Owns the handle; Release (or the destructor) unloads it
// once.
#include <memory>
#include <string>

namespace ov {

class DecoderModule {
 public:
  inline static constexpr const char* kFileName = "libCQL_Ctrl_Player.so";

  // Null when no place has a loadable module of that name.
  static std::unique_ptr<DecoderModule> Load(const std::string& programDir,
                                             const std::string& fileName);
  ~DecoderModule();
  DecoderModule(const DecoderModule&) = delete;
  DecoderModule& operator=(const DecoderModule&) = delete;

  void* Symbol(const char* name) const;
  void Release();
  bool IsLoaded() const { return m_handle != nullptr; }
  const std::string& Path() const { return m_path; }

 private:
  DecoderModule(void* handle, std::string path) : m_handle(handle), m_path(std::move(path)) {}
  void* m_handle;
  std::string m_path;
};

// The folder of the running executable (from /proc/self/exe), or empty.
std::string ProgramDirectory();

}  // namespace ov
