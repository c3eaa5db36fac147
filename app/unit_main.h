#pragma once
// The wizard's main window: a fixed frame with the side banner, the page area that hosts the
// current page, and the previous, next and quit buttons. Its creation runs the splash
// sequence; its first showing centres it and shows the welcome page; every close asks for
// confirmation. The next and previous buttons move between the pages.

#include <QPointer>
#include <QWidget>

#include "app/sleeper.h"

class QLabel;
class QPushButton;

namespace app {

class TSplash;

class TForm_Main final : public QWidget {
  Q_OBJECT

 public:
  // Runs the splash sequence with the waits of `sleeper`, which need only live as long as
  // the constructor runs. Stores itself in Form_Main first.
  explicit TForm_Main(ISleeper& sleeper, QWidget* parent = nullptr);

  // Sets the splash progress bar to a whole `position` (percent).
  void SetSplashProgress(int position);

  void Btn_QuitClick();
  void Btn_NextClick();
  void Btn_PreviousClick();

  // The next button's two states: "&Suivant" with the glyph of Img1, enabled; "&Installer"
  // with the glyph of Img2, disabled until the install-enable rule holds.
  void SetNextState();
  void SetInstallState();

  // Every control below is owned by the form.
  QLabel* Image1;
  QLabel* Img1;
  QLabel* Img2;
  QWidget* Panel_Work_Area;
  QPushButton* Btn_Previous;
  QPushButton* Btn_Next;
  QPushButton* Btn_Quit;
  TSplash* Splash;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate(ISleeper& sleeper);
  void FormShow();
  // Asks the operator; true allows the close.
  bool FormCloseQuery();

  // Creates a new page, stores it in `reference` (the page there before stays alive,
  // hidden) and shows it in the page area.
  template <class TPageForm>
  void ShowPage(QPointer<TPageForm>& reference);

  bool shown_ = false;
};

}  // namespace app
