#pragma once
// Stand-ins for the wizard's tests: a sleeper that only records, and dialogs that answer
// from a script and record what they were asked.

#include <chrono>
#include <deque>
#include <vector>

#include "app/sleeper.h"
#include "platform/dialogs.h"

namespace app_test {

class TRecordingSleeper final : public app::ISleeper {
 public:
  void Sleep(std::chrono::milliseconds duration) override { waits.push_back(duration.count()); }
  std::vector<long long> waits;  // milliseconds, in call order
};

class TScriptedDialogs final : public platform::IDialogs {
 public:
  platform::TDialogButton MessageBox(const platform::TMessageBoxRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) {
      return platform::TDialogButton::None;
    }
    const platform::TDialogButton answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
  bool Login(const std::string&, std::string&) override { return false; }

  std::deque<platform::TDialogButton> answers;
  std::vector<platform::TMessageBoxRequest> requests;
};

}  // namespace app_test
