#include "app/welcome.h"

#include "app/skin.h"
#include "app/smooth_label.h"

namespace app {

TForm_Welcome::TForm_Welcome(QWidget* parent) : TPage(QStringLiteral("Welcome"), parent) {
  setObjectName(QStringLiteral("Form_Welcome"));
  SmoothLabel1 = new TSmoothLabel(
      QStringLiteral("Bienvenu dans l'assistant d'installation de Software ZELMORIC"), Qt::black,
      this);
  SmoothLabel1->setObjectName(QStringLiteral("SmoothLabel1"));
  SmoothLabel1->setGeometry(48, 21, 521, 68);
  SmoothLabel1->setFont(TahomaFont(27));

  SmoothLabel2 = new TSmoothLabel(
      QStringLiteral("Software ZELMORIC Installer v3.6 pour Quorvex Plus version 5.4 build 1 , "
                     "date de réalisation : 15/12/2015"),
      Qt::black, this);
  SmoothLabel2->setObjectName(QStringLiteral("SmoothLabel2"));
  SmoothLabel2->setGeometry(1, 112, 616, 50);
  SmoothLabel2->setFont(TahomaFont(21));

  SmoothLabel3 = new TSmoothLabel(
      QStringLiteral("L'assistant d'installation va vous guider dans l'installation de "
                     "l'application Quorvex Plus sur votre ordinateur. Veuillez svp bien suivre "
                     "les étapes requises pour finir l'installation. Cliquez sur suivant svp."),
      QColor(0xA2, 0xBD, 0xFD), this);
  SmoothLabel3->setObjectName(QStringLiteral("SmoothLabel3"));
  SmoothLabel3->setGeometry(40, 195, 545, 134);
  SmoothLabel3->setFont(TahomaFont(21));
}

}  // namespace app
