#pragma once
// The component runtime the decoder module registers with: brought up before the module is
// loaded and taken down after the window that hosts its control is gone. Window thread only.
namespace ov {

class IComponentRuntime {
 public:
  virtual ~IComponentRuntime() = default;
  // False when the runtime cannot be brought up; nothing needs undoing then.
  virtual bool Initialize() = 0;
  virtual void Uninitialize() = 0;
};

// The program's runtime: needs a running QApplication (the controls' host) and nothing else.
class ComponentRuntime final : public IComponentRuntime {
 public:
  bool Initialize() override;
  void Uninitialize() override;
  bool IsUp() const { return m_depth > 0; }

 private:
  int m_depth = 0;
};

}  // namespace ov
