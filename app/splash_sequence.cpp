#include "app/splash_sequence.h"

#include <array>
#include <chrono>

namespace app {
namespace {

QString CheckLine(const char* picture, const QString& text) {
  return QStringLiteral("<IMG src=\"%1\"><FONT size=\"16\" color=\"#A45302\">%2</FONT><br>")
      .arg(QLatin1String(picture), text);
}

struct TCheckStep {
  int wait_ms;
  int progress;
};

// Wait after each check line and the progress reached after it.
constexpr std::array<TCheckStep, 5> kCheckSteps = {
    {{1500, 10}, {2000, 20}, {1000, 30}, {1500, 40}, {2000, 50}}};

}  // namespace

QStringList SplashCheckLines() {
  return {CheckLine("system", QStringLiteral("Vérification de système...")),
          CheckLine("package", QStringLiteral("Vérification de package...")),
          CheckLine("register", QStringLiteral("Vérification de registre...")),
          CheckLine("folders", QStringLiteral("Préparation de répertoires...")),
          CheckLine("files", QStringLiteral("Préparation de fichiers..."))};
}

QString SplashStartLine() {
  return QStringLiteral("<FONT size=\"16\" color=\"#A45302\">Démarrage de l'assistant...</FONT>");
}

void TSplashSequence::Run() {
  view_.Show();

  view_.BeginUpdate();
  view_.SetVersionText(QStringLiteral("Application: ") + view_.VersionText());
  view_.SetVersionLeft(290);
  view_.EndUpdate();

  QRect list = view_.ListRect();
  list.moveLeft(150);
  list.moveTop(260);
  list.setHeight(50);
  view_.SetListRect(list);

  Wait(1000);
  const QStringList lines = SplashCheckLines();
  for (std::size_t i = 0; i < kCheckSteps.size(); ++i) {
    view_.AddListLine(lines[static_cast<qsizetype>(i)]);
    Wait(kCheckSteps[i].wait_ms);
    SetSplashProgress(kCheckSteps[i].progress);
  }

  view_.ClearList();
  view_.AddListLine(SplashStartLine());

  // The climb from 50 to exactly 100, one step per millisecond: 51 steps. The counter bound
  // only guards against a bar that would not take 100; it never ends a normal climb.
  int counter = 50;
  while (view_.Progress() < 100.0 && counter <= 100) {
    Wait(1);
    SetSplashProgress(counter);
    ++counter;
  }

  view_.HandOverFocus();
}

void TSplashSequence::SetSplashProgress(int position) {
  view_.SetProgress(static_cast<double>(position));
}

void TSplashSequence::Wait(int milliseconds) {
  sleeper_.Sleep(std::chrono::milliseconds(milliseconds));
}

}  // namespace app
