#include "app/forms.h"

#include "app/contrat.h"
#include "app/finish.h"
#include "app/params.h"
#include "app/unit_main.h"
#include "app/welcome.h"

namespace app {

QPointer<TForm_Main> Form_Main;
QPointer<TForm_Welcome> Form_Welcome;
QPointer<TForm_Contrat> Form_Contrat;
QPointer<TForm_Params> Form_Params;
QPointer<TForm_Finish> Form_Finish;

}  // namespace app
