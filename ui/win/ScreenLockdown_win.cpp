#include "ScreenLockdown.h"

namespace kwizmar {

namespace {

// The system's operations hide the shell's own windows: nothing is left to
// do on the screen here.
class TShellLockdown final : public IScreenLockdown {
public:
    explicit TShellLockdown(ILockdownOperations& system) : system_(system) {}

    void ShowDesktopIcons(bool on) override { system_.ShowDesktopIcons(on); }
    void EnableDesktopView(bool on) override { system_.EnableDesktopView(on); }
    void ShowTaskbar(bool on) override { system_.ShowTaskbar(on); }
    void EnableTaskbar(bool on) override { system_.EnableTaskbar(on); }
    void EnableStartButton(bool on) override { system_.EnableStartButton(on); }
    void LockTaskSwitch(bool lock) override { system_.LockTaskSwitch(lock); }
    void AttachMainWindow(QWidget*) override {}
    QString Note() const override { return {}; }

private:
    ILockdownOperations& system_;
};

} // namespace

std::unique_ptr<IScreenLockdown> MakeScreenLockdown(ILockdownOperations& system) {
    return std::make_unique<TShellLockdown>(system);
}

} // namespace kwizmar
