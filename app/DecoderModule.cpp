#include "app/DecoderModule.h"

#include <filesystem>

#include "ov/InstallDirs.h"

namespace ov {
namespace {

std::unique_ptr<QLibrary> TryLoad(const std::string& path, std::string* error) {
  auto lib = std::make_unique<QLibrary>(QString::fromStdString(path));
  // Every symbol resolved now, and none shared with later libraries: a broken module fails here,
  // not at its first call.
  lib->setLoadHints(QLibrary::ResolveAllSymbolsHint);
  if (lib->load()) return lib;
  if (error) *error = lib->errorString().toStdString();
  return nullptr;
}

}  // namespace

std::unique_ptr<DecoderModule> DecoderModule::Load(const std::string& programDir,
                                                   const std::string& fileName,
                                                   std::string* error) {
  if (!programDir.empty()) {
    // An installed program keeps the module in a private folder of its own, reached from the
    // program's folder so that the tree works from whatever prefix it was installed to.
    for (const char* sub : {".", OV_MODULE_DIR_FROM_BIN}) {
      std::string path = (std::filesystem::path(programDir) / sub / fileName).lexically_normal();
      if (!std::filesystem::exists(path)) continue;
      if (auto lib = TryLoad(path, error))
        return std::unique_ptr<DecoderModule>(new DecoderModule(std::move(lib), path));
    }
  }
  // A name with a slash would skip the search path; only bare names are searched.
  if (fileName.find('/') == std::string::npos) {
    if (auto lib = TryLoad(fileName, error))
      return std::unique_ptr<DecoderModule>(new DecoderModule(std::move(lib), fileName));
  } else if (error && error->empty()) {
    *error = fileName + ": not found";
  }
  return nullptr;
}

DecoderModule::~DecoderModule() { Release(); }

QFunctionPointer DecoderModule::Symbol(const char* name) {
  return m_lib->isLoaded() ? m_lib->resolve(name) : nullptr;
}

void DecoderModule::Release() {
  if (m_lib->isLoaded()) m_lib->unload();
}

}  // namespace ov
