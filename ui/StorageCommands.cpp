#include "ui/StorageCommands.h"

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
#include "ui/StatusTexts.h"

namespace ov {

namespace {

class PlayerStorageView final : public tools::IStorageView {
 public:
  PlayerStorageView(CPlayerDlg& dlg, IUserPrompts& prompts) : m_dlg(dlg), m_prompts(prompts) {}

  std::optional<std::string> BrowseForFolder(const std::string& title,
                                             const std::string& initial) override {
    return m_prompts.ChooseFolder(&m_dlg, title, initial);
  }
  void SetPathText(const std::string& text) override { m_dlg.Texts().SetText(idc::kPathBox, text); }
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

StorageCommands::StorageCommands(CPlayerDlg& window, IUserPrompts* prompts)
    : m_window(window), m_prompts(prompts) {}

StorageCommands::~StorageCommands() {
  Cancel();
  Wait();
}

void StorageCommands::OpenStorage() {
  if (!m_tools) {
    if (!m_prompts) return;
    m_view = std::make_unique<PlayerStorageView>(m_window, *m_prompts);
    m_tools = std::make_unique<tools::StorageTools>(*m_view);
  }
  m_tools->OnOpenStorage();
}

void StorageCommands::MakeChannelFiles() {
  if (!m_tools || m_building.load()) return;
  std::optional<std::string> folder = m_tools->OnMakeChannelFiles();
  if (!folder) return;
  Wait();
  m_building = true;
  m_cancel = false;
  try {
    StartBuild(*folder);
  } catch (const std::system_error&) {  // out of threads or memory: nothing is built
    m_building = false;
    m_window.Texts().SetText(
        idc::kSpeed,
        QCoreApplication::translate("PlayerDlg", "Cannot start the build").toStdString());
  }
}

void StorageCommands::StartBuild(const std::string& folder) {
  m_thread = std::thread([this, path = folder] {
    tools::ChannelBuildOptions opts;
    opts.cancel = &m_cancel;
    opts.progress = [this](uint64_t done, uint64_t total) {
      const int percent = total ? static_cast<int>(done * 100 / total) : 100;
      m_window.Texts().SetText(
          idc::kSpeed,
          QCoreApplication::translate("PlayerDlg", "Building %1%").arg(percent).toStdString());
    };
    tools::ChannelFileBuilder builder(std::move(opts));
    builder.Build(path);
    m_window.Texts().SetText(idc::kSpeed, "");
    m_building = false;
  });
}

void StorageCommands::Wait() {
  if (m_thread.joinable()) m_thread.join();
}

}  // namespace ov
