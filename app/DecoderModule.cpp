#include "app/DecoderModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "ov/InstallDirs.h"

namespace ov {

std::unique_ptr<DecoderModule> DecoderModule::Load(const std::string& programDir,
                                                   const std::string& fileName) {
  // A name with a slash would make dlopen skip the search path; only bare names are searched.
  if (!programDir.empty()) {
    // An installed program keeps the module in a private folder of its own, reached from the
    // program's folder so that the tree works from whatever prefix it was installed to.
    for (const char* sub : {".", OV_MODULE_DIR_FROM_BIN}) {
      std::string path = (std::filesystem::path(programDir) / sub / fileName).lexically_normal();
      if (void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
        return std::unique_ptr<DecoderModule>(new DecoderModule(h, path));
    }
  }
  if (fileName.find('/') == std::string::npos) {
    if (void* h = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL))
      return std::unique_ptr<DecoderModule>(new DecoderModule(h, fileName));
  }
  return nullptr;
}

DecoderModule::~DecoderModule() { Release(); }

void* DecoderModule::Symbol(const char* name) const {
  return m_handle ? dlsym(m_handle, name) : nullptr;
}

void DecoderModule::Release() {
  if (m_handle == nullptr) return;
  dlclose(m_handle);
  m_handle = nullptr;
}

std::string ProgramDirectory() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path().string();
}

}  // namespace ov
