#pragma once
// The decoder control module, loaded with QLibrary: from the program's own folder first, then the
// installed tree's private module folder (OV_MODULE_DIR_FROM_BIN, relative to the program's
// folder), then the standard search path. Owns the library; Release (or the destructor) unloads
// it once. Window thread only.
#include <QLibrary>
#include <memory>
#include <string>

namespace ov {

class DecoderModule {
 public:
  inline static constexpr const char* kFileName = "libCQL_Ctrl_Player.so";

  // Null when no place has a loadable module of that name; error (if given) then says why the
  // last place tried refused it.
  static std::unique_ptr<DecoderModule> Load(const std::string& programDir,
                                             const std::string& fileName,
                                             std::string* error = nullptr);
  ~DecoderModule();
  DecoderModule(const DecoderModule&) = delete;
  DecoderModule& operator=(const DecoderModule&) = delete;

  QFunctionPointer Symbol(const char* name);
  void Release();
  bool IsLoaded() const { return m_lib->isLoaded(); }
  const std::string& Path() const { return m_path; }

 private:
  DecoderModule(std::unique_ptr<QLibrary> lib, std::string path)
      : m_lib(std::move(lib)), m_path(std::move(path)) {}
  std::unique_ptr<QLibrary> m_lib;
  std::string m_path;
};

}  // namespace ov
