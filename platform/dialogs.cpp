#include "platform/dialogs.h"

#include <atomic>

namespace platform {
namespace {

class TDismissingDialogs final : public IDialogs {
 public:
  TDialogButton MessageBox(const TMessageBoxRequest&) override { return TDialogButton::None; }
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
  bool Login(const std::string&, std::string&) override { return false; }
};

TDismissingDialogs& Dismissing() {
  static TDismissingDialogs dialogs;
  return dialogs;
}

std::atomic<IDialogs*> g_dialogs{nullptr};

}  // namespace

IDialogs& Dialogs() {
  IDialogs* const installed = g_dialogs.load();
  return installed != nullptr ? *installed : Dismissing();
}

IDialogs* SetDialogs(IDialogs* dialogs) { return g_dialogs.exchange(dialogs); }

}  // namespace platform
