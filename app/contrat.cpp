#include "app/contrat.h"

#include <QPlainTextEdit>
#include <QStringList>

#include "app/publisher.h"
#include "app/skin.h"

namespace app {

QString ContratText() {
  return QStringList{
      QStringLiteral(
          "Contrat d'utilisation des produits de Software ZELMORIC pour utilisateur finale."),
      QString(),
      QStringLiteral("Vous pouvez consulter la version en ligne sur notre site web. Vous allez "
                     "trouver la dernière "),
      QStringLiteral("mise à jour de contrat d'utilisation."),
      QStringLiteral("Merci de votre compréhension et merci de visiter notre site web."),
      QString(),
      QString::fromLatin1(kPublisherHomePage)}
      .join(QLatin1Char('\n'));
}

TForm_Contrat::TForm_Contrat(QWidget* parent) : TPage(QStringLiteral("Contrat"), parent) {
  setObjectName(QStringLiteral("Form_Contrat"));
  Memo = new QPlainTextEdit(this);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setGeometry(0, 0, 631, 402);
  Memo->setFont(TahomaFont(15));
  Memo->setReadOnly(true);
  Memo->setPlainText(ContratText());
}

}  // namespace app
