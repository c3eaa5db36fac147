// The scripted operator: starts the wizard with a short splash, walks it through its pages
// and saves a screenshot of the whole screen at every step into the folder named by its one
// argument. The wizard itself reads no arguments; this separate program drives it for
// scripts/run.sh on a machine without a display.
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "app/application.h"
#include "app/contrat.h"
#include "app/finish.h"
#include "app/folder_picker.h"
#include "app/forms.h"
#include "app/framed_edit.h"
#include "app/numeric_edit.h"
#include "app/params.h"
#include "app/qt_dialogs.h"
#include "app/splash.h"
#include "app/unit_main.h"
#include "app/welcome.h"
#include "platform/dialogs.h"

namespace {

QString g_out_dir;
QStringList g_saved;

void SaveScreen(const QString& name) {
  QScreen* const screen = QGuiApplication::primaryScreen();
  const QString path = QDir(g_out_dir).filePath(name + QStringLiteral(".png"));
  screen->grabWindow(0).save(path);
  g_saved << path;
}

// Waits a tenth of each splash wait for real, and photographs the splash while its last
// check line shows and once the climb has reached 100.
class TTourSleeper final : public app::ISleeper {
 public:
  void Sleep(std::chrono::milliseconds duration) override {
    std::this_thread::sleep_for(duration / 10);
    ++calls_;
    if (calls_ == 6 || calls_ == 57) {
      SaveScreen(calls_ == 6 ? QStringLiteral("01_splash_checks")
                             : QStringLiteral("02_splash_start"));
    }
  }

 private:
  int calls_ = 0;
};

// Runs `steps` one after the other, each `delay_ms` after the previous one finished.
void RunSteps(std::vector<std::function<void()>> steps, int delay_ms) {
  auto shared = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
  auto index = std::make_shared<std::size_t>(0);
  auto next = std::make_shared<std::function<void()>>();
  *next = [shared, index, next, delay_ms] {
    if (*index >= shared->size()) {
      return;
    }
    (*shared)[(*index)++]();
    QTimer::singleShot(delay_ms, *next);
  };
  QTimer::singleShot(delay_ms, *next);
}

// Answers the next message box with `button` after photographing it.
void AnswerNextBox(const QString& shot, QMessageBox::StandardButton button) {
  QTimer::singleShot(400, [shot, button] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      SaveScreen(shot);
      box->button(button)->click();
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SCREENSHOT_FOLDER\n", argv[0]);
    return 2;
  }
  int qt_argc = 1;
  app::TApplication application(qt_argc, argv);
  application.SetTitle(QString::fromUtf8(app::kApplicationTitle));
  g_out_dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(g_out_dir);
  app::TQtDialogs dialogs;
  const platform::TDialogsGuard dialogs_guard(dialogs);
  TTourSleeper sleeper;

  using app::Form_Main;
  using app::Form_Params;
  application.CreateForm(app::Form_Main, sleeper);
  application.CreateForm(app::Form_Welcome);
  application.CreateForm(app::Form_Contrat);
  application.CreateForm(app::Form_Params);
  application.CreateForm(app::Form_Finish);
  Form_Main->show();

  RunSteps({
               [] { SaveScreen(QStringLiteral("03_welcome")); },
               [] { Form_Main->Btn_Next->click(); },
               [] { SaveScreen(QStringLiteral("04_agreement")); },
               [] { Form_Main->Btn_Next->click(); },
               [] { SaveScreen(QStringLiteral("05_parameters_empty")); },
               [] {
                 Form_Params->Edit_Societe->setText(QStringLiteral("Société Générale du Sud"));
                 Form_Params->Edit_Activite->setText(QStringLiteral("Commerce de gros"));
                 Form_Params->Edit_Adresse->setText(QStringLiteral("12, rue des Oliviers"));
                 Form_Params->Edit_Tel->setText(QStringLiteral("71 234 56"));
                 Form_Params->Edit_Email->setText(QStringLiteral("contact@sgs.example"));
                 Form_Params->Edit_Licence->setText(QStringLiteral("M. Karim Ben Salah"));
                 Form_Params->Edit_RC->setText(QStringLiteral("B123456"));
                 Form_Params->Edit_CapitalS->setFocus();
                 Form_Params->Edit_CapitalS->setText(QStringLiteral("-1250000"));
                 Form_Params->Edit_Tel->setFocus();
               },
               [] { SaveScreen(QStringLiteral("06_parameters_tel_8_chars")); },
               [] {
                 Form_Params->Edit_Tel->setText(QStringLiteral("71 234 567"));
                 Form_Params->Combo_Path->showPopup();
               },
               [] { SaveScreen(QStringLiteral("07_parameters_folder_picker")); },
               [] {
                 QTreeWidget* list = Form_Params->Combo_Path->Popup();
                 if (list != nullptr && list->topLevelItemCount() > 0) {
                   list->itemClicked(list->topLevelItem(0), 0);
                 }
                 Form_Params->Combo_Path->hidePopup();
                 Form_Params->Edit_Societe->setFocus();
                 const QWidget* edit = Form_Params->Edit_Societe;
                 QToolTip::showText(edit->mapToGlobal(QPoint(20, edit->height())), edit->toolTip(),
                                    nullptr);
               },
               [] { SaveScreen(QStringLiteral("08_parameters_filled")); },
               [] { Form_Main->Btn_Previous->click(); },
               [] { SaveScreen(QStringLiteral("09_back_to_agreement")); },
               [] {
                 AnswerNextBox(QStringLiteral("10_quit_confirmation"), QMessageBox::No);
                 Form_Main->Btn_Quit->click();
               },
               [] {
                 AnswerNextBox(QStringLiteral("11_quit_confirmation_again"), QMessageBox::Yes);
                 Form_Main->close();
               },
           },
           700);

  const int code = application.exec();
  for (const QString& path : g_saved) {
    std::printf("%s\n", qPrintable(path));
  }
  return code;
}
