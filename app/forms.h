#pragma once
// The global references of the wizard's forms. Start-up stores the forms it creates here;
// showing a page stores each new page instance in its page's reference, overwriting the one
// before (which stays alive, hidden). Which page is current is read from these references
// every time. The references never own; a reference whose form is destroyed reads null.

#include <QPointer>

namespace app {

class TForm_Main;
class TForm_Welcome;
class TForm_Contrat;
class TForm_Params;
class TForm_Finish;

extern QPointer<TForm_Main> Form_Main;
extern QPointer<TForm_Welcome> Form_Welcome;
extern QPointer<TForm_Contrat> Form_Contrat;
extern QPointer<TForm_Params> Form_Params;
extern QPointer<TForm_Finish> Form_Finish;

}  // namespace app
