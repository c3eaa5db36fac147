#pragma once
// A main window created as start-up creates it (with a sleeper that does not sleep and
// scripted dialogs), shown, so that it holds the welcome page.

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "app/forms.h"
#include "app/unit_main.h"
#include "fakes.h"

namespace app_test {

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = std::make_unique<app::TForm_Main>(sleeper_);
    main_->show();
  }
  void TearDown() override { main_.reset(); }

  // Which of the two glyphs the next button shows: 1 for Img1, 2 for Img2, 0 for neither.
  int NextGlyph() const {
    const QImage shown =
        main_->Btn_Next->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    for (const auto& [label, number] : {std::pair{main_->Img1, 1}, std::pair{main_->Img2, 2}}) {
      if (label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32) == shown) {
        return number;
      }
    }
    return 0;
  }

  TRecordingSleeper sleeper_;
  TScriptedDialogs dialogs_;
  platform::TDialogsGuard dialogs_guard_{dialogs_};
  std::unique_ptr<app::TForm_Main> main_;
};

}  // namespace app_test
