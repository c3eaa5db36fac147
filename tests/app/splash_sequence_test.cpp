#include "app/splash_sequence.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "app/splash.h"
#include "fakes.h"

namespace {

// Records every call of the sequence, and the sleeper's waits, in one log.
class TRecordingView final : public app::ISplashView, public app::ISleeper {
 public:
  void Show() override { log.push_back("show"); }
  void BeginUpdate() override { log.push_back("begin"); }
  void EndUpdate() override { log.push_back("end"); }
  QString VersionText() const override { return version; }
  void SetVersionText(const QString& text) override {
    version = text;
    log.push_back("version " + text.toStdString());
  }
  void SetVersionLeft(int x) override { log.push_back("version x " + std::to_string(x)); }
  QRect ListRect() const override { return rect; }
  void SetListRect(const QRect& r) override {
    rect = r;
    log.push_back("list rect " + std::to_string(r.left()) + "," + std::to_string(r.top()) + "," +
                  std::to_string(r.width()) + "," + std::to_string(r.height()));
  }
  void AddListLine(const QString& html) override { log.push_back("line " + html.toStdString()); }
  void ClearList() override { log.push_back("clear"); }
  double Progress() const override { return progress; }
  void SetProgress(double position) override {
    progress = position > cap ? cap : position;
    log.push_back("progress " + std::to_string(static_cast<int>(position)));
  }
  void HandOverFocus() override { log.push_back("hand over"); }
  void Sleep(std::chrono::milliseconds d) override {
    log.push_back("wait " + std::to_string(d.count()));
  }

  std::vector<std::string> log;
  QString version = QStringLiteral("Quorvex Plus 5.4 B1");
  QRect rect{75, 125, 500, 250};
  double progress = 0;
  double cap = 100;  // the most the bar takes
};

std::string Line(const char* picture, const char* text) {
  return std::string("line <IMG src=\"") + picture + "\"><FONT size=\"16\" color=\"#A45302\">" +
         text + "</FONT><br>";
}

TEST(TSplashSequence, RunsTheStepsInOrderWithTheirWaitsAndProgress) {
  TRecordingView view;
  app::TSplashSequence(view, view).Run();

  std::vector<std::string> expected = {
      "show",
      "begin",
      "version Application: Quorvex Plus 5.4 B1",
      "version x 290",
      "end",
      "list rect 150,260,500,50",
      "wait 1000",
      Line("system", "Vérification de système..."),
      "wait 1500",
      "progress 10",
      Line("package", "Vérification de package..."),
      "wait 2000",
      "progress 20",
      Line("register", "Vérification de registre..."),
      "wait 1000",
      "progress 30",
      Line("folders", "Préparation de répertoires..."),
      "wait 1500",
      "progress 40",
      Line("files", "Préparation de fichiers..."),
      "wait 2000",
      "progress 50",
      "clear",
      "line <FONT size=\"16\" color=\"#A45302\">Démarrage de l'assistant...</FONT>",
  };
  for (int p = 50; p <= 100; ++p) {
    expected.push_back("wait 1");
    expected.push_back("progress " + std::to_string(p));
  }
  expected.push_back("hand over");
  EXPECT_EQ(view.log, expected);
  EXPECT_EQ(view.progress, 100.0);
}

TEST(TSplashSequence, WaitsAddUpToNineSecondsAndFiftyOneSteps) {
  TRecordingView view;
  app_test::TRecordingSleeper sleeper;
  app::TSplashSequence(view, sleeper).Run();
  ASSERT_EQ(sleeper.waits.size(), 6u + 51u);
  EXPECT_EQ(std::accumulate(sleeper.waits.begin(), sleeper.waits.begin() + 6, 0LL), 9000);
  EXPECT_EQ(std::accumulate(sleeper.waits.begin() + 6, sleeper.waits.end(), 0LL), 51);
}

TEST(TSplashSequence, ClimbEndsWhenTheBarWillNotReachAHundred) {
  TRecordingView view;
  view.cap = 99;  // a bar that stops short must not hold the start-up forever
  app_test::TRecordingSleeper sleeper;
  app::TSplashSequence(view, sleeper).Run();
  EXPECT_EQ(sleeper.waits.size(), 6u + 51u);
  EXPECT_EQ(view.log.back(), "hand over");
}

TEST(TSplash, ShowsTheChangedVersionLineListAndProgress) {
  app::TSplash splash(nullptr);
  app_test::TRecordingSleeper sleeper;
  app::TSplashSequence(splash, sleeper).Run();
  EXPECT_EQ(splash.VersionText(), QStringLiteral("Application: Quorvex Plus 5.4 B1"));
  EXPECT_EQ(splash.VersionPos(), QPoint(290, 80));
  EXPECT_EQ(splash.ListRect(), QRect(150, 260, 500, 50));
  EXPECT_EQ(splash.ListLines(), QStringList{app::SplashStartLine()});
  EXPECT_EQ(splash.Progress(), 100.0);
  EXPECT_EQ(splash.ProgressText(), QStringLiteral("100%"));
  EXPECT_EQ(splash.size(), QSize(601, 371));
  splash.SetProgress(42.4);
  EXPECT_EQ(splash.ProgressText(), QStringLiteral("42%"));
  splash.SetProgress(150);
  EXPECT_EQ(splash.Progress(), 100.0);
}

}  // namespace
