// Where the decoder module is looked for: the program's folder, the installed tree's private
// folder reached from it, then the standard search path.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/DecoderModule.h"
#include "ov/InstallDirs.h"
#include "tests/ui/UiTestSupport.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

constexpr const char* kModule = "libov_fake_decoder.so";

class DecoderModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = test::TestDir("module-lookup");
    fs::remove_all(root);
    bin = root / "bin";
    priv = (bin / OV_MODULE_DIR_FROM_BIN).lexically_normal();
    fs::create_directories(bin);
    fs::create_directories(priv);
  }
  static void Put(const fs::path& dir) {
    fs::copy_file(fs::path(OV_BIN_DIR) / kModule, dir / kModule,
                  fs::copy_options::overwrite_existing);
  }
  fs::path root, bin, priv;
};

TEST_F(DecoderModuleTest, InstalledTreeFindsTheModuleInItsPrivateFolder) {
  // A private folder equal to the program's folder would make the second step moot.
  ASSERT_NE(priv, bin);
  Put(priv);
  auto m = DecoderModule::Load(bin.string(), kModule);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(fs::path(m->Path()), priv / kModule);
  EXPECT_NE(m->Symbol("DllRegisterServer"), nullptr);
}

TEST_F(DecoderModuleTest, ProgramFolderComesBeforeThePrivateFolder) {
  Put(priv);
  Put(bin);
  auto m = DecoderModule::Load(bin.string(), kModule);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(fs::path(m->Path()), bin / kModule);
}

TEST_F(DecoderModuleTest, StandardSearchPathIsTheLastResort) {
  // Neither folder has it: a library the loader finds by its bare name still loads.
  auto m = DecoderModule::Load(bin.string(), "libm.so.6");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Path(), "libm.so.6");
  // A module that is nowhere gives null, and so the start-up message, with the loader's reason.
  std::string why;
  EXPECT_EQ(DecoderModule::Load(bin.string(), kModule, &why), nullptr);
  EXPECT_NE(why.find(kModule), std::string::npos) << why;
}

TEST_F(DecoderModuleTest, ReleaseUnloadsOnceAndSymbolsAreGoneAfterwards) {
  Put(bin);
  auto m = DecoderModule::Load(bin.string(), kModule);
  ASSERT_NE(m, nullptr);
  ASSERT_TRUE(m->IsLoaded());
  m->Release();
  EXPECT_FALSE(m->IsLoaded());
  EXPECT_EQ(m->Symbol("DllRegisterServer"), nullptr);
  m->Release();  // a second release (the destructor's) does nothing
}

}  // namespace
}  // namespace ov
