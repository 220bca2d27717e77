// The hidden storage tool commands of the player window: the storage folder scan fills the
// recording list; the channel file build runs on a worker thread and reports its progress on
// the speed line.
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <cstdio>
#include <system_error>

#include "tools/ChannelFileBuilder.h"
#include "tools/StorageTools.h"
#include "tools/StorageView.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"

namespace ov {

namespace {

class PlayerStorageView final : public tools::IStorageView {
 public:
  PlayerStorageView(CPlayerDlg& dlg, IUserPrompts& prompts) : m_dlg(dlg), m_prompts(prompts) {}

  std::optional<std::string> BrowseForFolder(const std::string& title,
                                             const std::string& initial) override {
    return m_prompts.ChooseFolder(&m_dlg, title, initial);
  }
  void SetPathText(const std::string& text) override { m_dlg.SetControlText(idc::kPathBox, text); }
  void InsertRecordingEntry(size_t index, const std::string& text) override {
    if (auto* combo = Combo())
      combo->insertItem(static_cast<int>(std::min<size_t>(index, size_t(combo->count()))),
                        QString::fromStdString(text));
  }
  std::string SelectedRecordingEntry() const override {
    auto* combo = Combo();
    return combo && combo->currentIndex() >= 0 ? combo->currentText().toStdString() : std::string();
  }

 private:
  QComboBox* Combo() const { return qobject_cast<QComboBox*>(m_dlg.Control(idc::kStorageCombo)); }
  CPlayerDlg& m_dlg;
  IUserPrompts& m_prompts;
};

}  // namespace

void CPlayerDlg::OnOpenStorage() {
  if (!m_storage) {
    m_storageView = std::make_unique<PlayerStorageView>(*this, *m_ctx.prompts);
    m_storage = std::make_unique<tools::StorageTools>(*m_storageView);
  }
  m_storage->OnOpenStorage();
}

void CPlayerDlg::OnMakeChannelFiles() {
  if (!m_storage || m_building.load()) return;
  std::optional<std::string> folder = m_storage->OnMakeChannelFiles();
  if (!folder) return;
  WaitForChannelFiles();
  m_building = true;
  m_buildCancel = false;
  try {
    StartChannelFileBuild(*folder);
  } catch (const std::system_error&) {  // out of threads or memory: nothing is built
    m_building = false;
    SetControlText(
        idc::kSpeed,
        QCoreApplication::translate("PlayerDlg", "Cannot start the build").toStdString());
  }
}

void CPlayerDlg::StartChannelFileBuild(const std::string& folder) {
  m_buildThread = std::thread([this, path = folder] {
    tools::ChannelBuildOptions opts;
    opts.cancel = &m_buildCancel;
    opts.progress = [this](uint64_t done, uint64_t total) {
      const int percent = total ? static_cast<int>(done * 100 / total) : 100;
      SetControlText(
          idc::kSpeed,
          QCoreApplication::translate("PlayerDlg", "Building %1%").arg(percent).toStdString());
    };
    tools::ChannelFileBuilder builder(std::move(opts));
    builder.Build(path);
    SetControlText(idc::kSpeed, "");
    m_building = false;
  });
}

void CPlayerDlg::WaitForChannelFiles() {
  if (m_buildThread.joinable()) m_buildThread.join();
}

}  // namespace ov
