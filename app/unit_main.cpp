#include "app/unit_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "app/centring.h"
#include "app/contrat.h"
#include "app/forms.h"
#include "app/params.h"
#include "app/skin.h"
#include "app/splash.h"
#include "app/splash_sequence.h"
#include "app/welcome.h"
#include "platform/dialogs.h"

namespace app {
namespace {

constexpr int kClientWidth = 784;
constexpr int kClientHeight = 442;

QPushButton* MakeButton(const QString& caption, const QString& hint, const QRect& layout,
                        QWidget* parent) {
  auto* const button = new QPushButton(caption, parent);
  button->setGeometry(layout);
  button->setFont(TahomaFont(13, true));
  button->setToolTip(hint);
  button->setIconSize(QSize(16, 16));
  return button;
}

QLabel* MakePicture(const QString& resource, const QRect& layout, QWidget* parent) {
  auto* const picture = new QLabel(parent);
  picture->setGeometry(layout);
  picture->setPixmap(QPixmap(resource));
  picture->setScaledContents(true);
  return picture;
}

bool Showing(const TPage* page) {
  return page != nullptr && page->Showing();
}

}  // namespace

TForm_Main::TForm_Main(ISleeper& sleeper, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  Form_Main = this;
  setObjectName(QStringLiteral("Form_Main"));
  setWindowTitle(QStringLiteral("Software ZELMORIC Installer v  3.6"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(MsSansSerifFont(11));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(0x26, 0x26, 0x26));
  setPalette(palette);
  // The skin controller: the "Black" skin for every skinnable control, and balloon hints.
  qApp->setStyleSheet(BlackSkinStyleSheet());

  Image1 = MakePicture(QStringLiteral(":/pictures/side_banner.png"), {0, 0, 153, 401}, this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Img1 = MakePicture(QStringLiteral(":/pictures/glyph_next.png"), {8, 408, 16, 16}, this);
  Img1->setObjectName(QStringLiteral("Img1"));
  Img1->hide();
  Img2 = MakePicture(QStringLiteral(":/pictures/glyph_install.png"), {32, 408, 16, 16}, this);
  Img2->setObjectName(QStringLiteral("Img2"));
  Img2->hide();

  Panel_Work_Area = new QWidget(this);
  Panel_Work_Area->setObjectName(QStringLiteral("Panel_Work_Area"));
  Panel_Work_Area->setGeometry(152, 0, 633, 401);

  Btn_Next = MakeButton(QStringLiteral("&Suivant"), QStringLiteral("Etape suivante"),
                        {544, 410, 97, 28}, this);
  Btn_Next->setObjectName(QStringLiteral("Btn_Next"));
  Btn_Next->setLayoutDirection(Qt::RightToLeft);  // the glyph stands right of the caption
  Btn_Next->setIcon(Img1->pixmap());
  Btn_Previous = MakeButton(QStringLiteral("&Précédent"), QStringLiteral("Etape précédente"),
                            {440, 410, 97, 28}, this);
  Btn_Previous->setObjectName(QStringLiteral("Btn_Previous"));
  Btn_Previous->setEnabled(false);
  Btn_Quit =
      MakeButton(QStringLiteral("&Quitter"), QStringLiteral("Quitter l'assistant d'installation"),
                 {678, 410, 97, 28}, this);
  Btn_Quit->setObjectName(QStringLiteral("Btn_Quit"));
  setTabOrder(Btn_Next, Btn_Previous);
  setTabOrder(Btn_Previous, Btn_Quit);

  connect(Btn_Next, &QPushButton::clicked, this, &TForm_Main::Btn_NextClick);
  connect(Btn_Previous, &QPushButton::clicked, this, &TForm_Main::Btn_PreviousClick);
  connect(Btn_Quit, &QPushButton::clicked, this, &TForm_Main::Btn_QuitClick);

  Splash = new TSplash(this);
  FormCreate(sleeper);
}

void TForm_Main::FormCreate(ISleeper& sleeper) {
  TSplashSequence(*Splash, sleeper).Run();
}

void TForm_Main::SetSplashProgress(int position) {
  Splash->SetProgress(static_cast<double>(position));
}

void TForm_Main::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Only the first showing places the window and shows the welcome page; showing it again
  // (after a hide) keeps its place and whatever page it holds.
  if (!event->spontaneous() && !shown_) {
    shown_ = true;
    FormShow();
  }
}

void TForm_Main::FormShow() {
  const QScreen* const screen =
      this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    const QRect area = screen->geometry();
    const TWindowOrigin origin = CentredOrigin(area.width(), area.height());
    move(area.x() + origin.left, area.y() + origin.top);
  }
  ShowPage(Form_Welcome);
}

void TForm_Main::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TForm_Main::FormCloseQuery() {
  platform::TMessageBoxRequest request;
  request.text = "Etes vous sur de vouloir quitter l'assistant d'installation ?";
  request.icon = platform::TDialogIcon::Question;
  request.buttons = {platform::TDialogButton::Yes, platform::TDialogButton::No};
  request.default_button = platform::TDialogButton::Yes;
  return platform::Dialogs().MessageBox(request) == platform::TDialogButton::Yes;
}

void TForm_Main::Btn_QuitClick() {
  close();
}

template <class TPageForm>
void TForm_Main::ShowPage(QPointer<TPageForm>& reference) {
  // Parented into the page area, the page lives as long as the main window, which lives
  // until the program ends; a page left behind stays hidden.
  auto* const page = new TPageForm(Panel_Work_Area);
  reference = page;
  page->ShowIn(Panel_Work_Area);
}

void TForm_Main::Btn_NextClick() {
  if (Showing(Form_Welcome)) {
    Form_Welcome->close();
    ShowPage(Form_Contrat);
    Btn_Previous->setEnabled(true);
  } else if (Showing(Form_Contrat)) {
    Form_Contrat->close();
    ShowPage(Form_Params);
    SetInstallState();
  } else if (Showing(Form_Params)) {
    Form_Params->Btn_InstallClick();
  }
}

void TForm_Main::Btn_PreviousClick() {
  if (Showing(Form_Contrat)) {
    Form_Contrat->close();
    ShowPage(Form_Welcome);
    Btn_Previous->setEnabled(false);
  } else if (Showing(Form_Params)) {
    Form_Params->close();
    ShowPage(Form_Contrat);
    SetNextState();
  }
}

void TForm_Main::SetNextState() {
  Btn_Next->setText(QStringLiteral("&Suivant"));
  Btn_Next->setIcon(Img1->pixmap());
  Btn_Next->setEnabled(true);
}

void TForm_Main::SetInstallState() {
  Btn_Next->setText(QStringLiteral("&Installer"));
  Btn_Next->setIcon(Img2->pixmap());
  Btn_Next->setEnabled(false);
}

}  // namespace app
