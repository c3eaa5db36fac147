#include "app/program.h"

#include <exception>

#include "app/application.h"
#include "app/contrat.h"
#include "app/finish.h"
#include "app/forms.h"
#include "app/params.h"
#include "app/qt_dialogs.h"
#include "app/unit_main.h"
#include "app/welcome.h"
#include "platform/dialogs.h"

namespace app {

int RunProgram(const char* program_path, ISleeper& sleeper) {
  // Only the program's own path reaches the toolkit: the wizard reads no arguments.
  int argc = 1;
  char* argv[] = {const_cast<char*>(program_path), nullptr};
  TApplication application(argc, argv);
  application.SetTitle(QString::fromUtf8(kApplicationTitle));
  TQtDialogs dialogs;
  const platform::TDialogsGuard dialogs_guard(dialogs);
  try {
    application.CreateForm(Form_Main, sleeper);
    application.CreateForm(Form_Welcome);
    application.CreateForm(Form_Contrat);
    application.CreateForm(Form_Params);
    application.CreateForm(Form_Finish);
  } catch (const std::exception& error) {
    TApplication::ShowException(error);
    return 1;
  }
  Form_Main->show();
  return application.exec();
}

}  // namespace app
