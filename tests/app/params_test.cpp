#include "app/params.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QTest>

#include "app/folder_picker.h"
#include "app/framed_edit.h"
#include "app/numeric_edit.h"
#include "wizard_fixture.h"

namespace {

using app::Form_Params;

// The next control that Tab reaches from `widget`.
QWidget* NextTabStop(QWidget* widget) {
  QWidget* next = widget->nextInFocusChain();
  while (next != widget &&
         !((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled())) {
    next = next->nextInFocusChain();
  }
  return next;
}

// Types `text` one character at a time, as a keyboard with those characters would.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

class ParamsTest : public app_test::WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    main_->Btn_Next->click();
    main_->Btn_Next->click();
    ASSERT_NE(Form_Params, nullptr);
    QApplication::setActiveWindow(main_.get());
  }
  bool NextEnabled() const { return main_->Btn_Next->isEnabled(); }
};

TEST_F(ParamsTest, EditsKeepTheirLayoutLengthHintAndTabOrder) {
  struct TCase {
    app::TFramedEdit* edit;
    QRect layout;
    int max_length;
    const char* hint;
  };
  app::TForm_Params& p = *Form_Params;
  const TCase cases[] = {
      {p.Edit_Societe,
       {126, 150, 430, 22},
       50,
       "Dénomination : Raison sociale ou Nom du propriétaire"},
      {p.Edit_Activite, {126, 174, 180, 22}, 100, "Activité : L'activité commerciale"},
      {p.Edit_Adresse, {126, 198, 180, 22}, 80, "Adresse : Adresse de l'activité"},
      {p.Edit_Tel, {126, 222, 180, 22}, 30, "Numéro de Téléphone"},
      {p.Edit_Fax, {126, 247, 180, 22}, 30, "Numéro de Fax"},
      {p.Edit_Email, {126, 271, 180, 22}, 60, "Votre E-Mail professionnel (Facultatif)"},
      {p.Edit_URL, {126, 296, 180, 22}, 60, "Adresse de votre Site Web (Facultatif)"},
      {p.Edit_Licence, {126, 323, 180, 22}, 50, "Nom du propriétaire dont la licence est accordée"},
      {p.Edit_CBank,
       {396, 178, 160, 22},
       60,
       "Votre Compte Bancaire : Numéro & Banque (Facultatif)"},
      {p.Edit_RC, {396, 202, 160, 22}, 20, "Le numéro de votre Registre de Commerce"},
      {p.Edit_MF, {396, 226, 160, 22}, 15, "Le numéro de votre Matricule Fiscal"},
      {p.Edit_AI, {396, 250, 160, 22}, 11, "Le numéro de votre Article d'Imposition"},
      {p.Edit_NIF, {396, 274, 160, 22}, 15, "Le numéro de votre Identité Fiscale"},
      {p.Edit_NIS, {396, 298, 160, 22}, 15, "NIS"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const TCase& c = cases[i];
    SCOPED_TRACE(c.edit->objectName().toStdString());
    EXPECT_EQ(c.edit->geometry(), c.layout);
    EXPECT_EQ(c.edit->toolTip(), QString::fromUtf8(c.hint));
    // Typing one character past the maximum length is refused.
    c.edit->setFocus();
    QTest::keyClicks(c.edit, QString(c.max_length + 1, QLatin1Char('7')));
    EXPECT_EQ(c.edit->text().size(), c.max_length);
    const QWidget* next =
        i + 1 < std::size(cases) ? cases[i + 1].edit : static_cast<QWidget*>(p.Edit_CapitalS);
    EXPECT_EQ(NextTabStop(c.edit), next);
  }
  EXPECT_EQ(p.Edit_CapitalS->geometry(), QRect(396, 323, 160, 21));
  EXPECT_EQ(NextTabStop(p.Edit_CapitalS), p.Combo_Path);
  EXPECT_TRUE(p.Edit_CapitalS->toolTip().isEmpty());
  EXPECT_TRUE(p.Combo_Path->toolTip().isEmpty());
  EXPECT_EQ(p.Combo_Path->Root(), QStringLiteral("D:"));
  EXPECT_EQ(p.PBar->geometry(), QRect(65, 375, 489, 17));
  EXPECT_FALSE(p.Btn_Install->isVisibleTo(&p));
}

TEST_F(ParamsTest, InstallButtonFollowsTheRuleAsTheOperatorTypes) {
  app::TForm_Params& p = *Form_Params;
  p.Edit_Societe->setText(QStringLiteral("ZELMORIC"));
  p.Edit_Activite->setText(QStringLiteral("Commerce"));
  p.Edit_Adresse->setText(QStringLiteral("1 rue X"));
  p.Edit_Licence->setText(QStringLiteral("M. Ben Salah"));
  p.Combo_Path->SetText(QStringLiteral("D:\\Apps"));
  p.Edit_Tel->setFocus();
  QTest::keyClicks(p.Edit_Tel, QStringLiteral("71234567"));
  EXPECT_FALSE(NextEnabled()) << "8 characters";
  QTest::keyClicks(p.Edit_Tel, QStringLiteral("8"));
  EXPECT_TRUE(NextEnabled()) << "9 characters";
  QTest::keyClick(p.Edit_Tel, Qt::Key_Backspace);
  EXPECT_FALSE(NextEnabled()) << "back to 8";

  p.Edit_Tel->setText(QStringLiteral("1-2-3-4-5"));
  EXPECT_TRUE(NextEnabled());

  // The optional fields never change the button, either way.
  for (QLineEdit* optional :
       {static_cast<QLineEdit*>(p.Edit_Fax), static_cast<QLineEdit*>(p.Edit_Email),
        static_cast<QLineEdit*>(p.Edit_URL), static_cast<QLineEdit*>(p.Edit_CBank),
        static_cast<QLineEdit*>(p.Edit_RC), static_cast<QLineEdit*>(p.Edit_MF),
        static_cast<QLineEdit*>(p.Edit_AI), static_cast<QLineEdit*>(p.Edit_NIF),
        static_cast<QLineEdit*>(p.Edit_NIS), static_cast<QLineEdit*>(p.Edit_CapitalS)}) {
    main_->Btn_Next->setEnabled(false);
    optional->setText(QStringLiteral("123"));
    EXPECT_FALSE(NextEnabled()) << optional->objectName().toStdString();
    main_->Btn_Next->setEnabled(true);
    optional->clear();
    EXPECT_TRUE(NextEnabled()) << optional->objectName().toStdString();
  }

  p.Edit_Societe->clear();
  EXPECT_FALSE(NextEnabled()) << "clearing the company name disables at once";
  p.Edit_Societe->setText(QStringLiteral(" "));
  EXPECT_TRUE(NextEnabled()) << "a blank is content";
  p.Combo_Path->SetText(QString());
  EXPECT_FALSE(NextEnabled()) << "the path picker's change applies the rule too";
}

TEST_F(ParamsTest, EnterMovesOnAndEditsTakeOnlyWindows1252) {
  app::TForm_Params& p = *Form_Params;
  EXPECT_EQ(QApplication::focusWidget(), p.Edit_Societe) << "the page gives the focus to it";
  QTest::keyClick(p.Edit_Societe, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), p.Edit_Activite);
  QTest::keyClick(p.Edit_Activite, Qt::Key_Enter);
  EXPECT_EQ(QApplication::focusWidget(), p.Edit_Adresse);

  Type(p.Edit_Adresse, QStringLiteral("Sfax \u6F22 \u20AC"));
  EXPECT_EQ(p.Edit_Adresse->text(), QStringLiteral("Sfax  \u20AC"));
}

TEST_F(ParamsTest, CapitalShowsItsDisplayFormatOutsideEditing) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  app::TForm_Params& p = *Form_Params;
  p.Edit_CapitalS->setFocus();
  QTest::keyClicks(p.Edit_CapitalS, QStringLiteral("-1250000x"));
  EXPECT_EQ(p.Edit_CapitalS->text(), QStringLiteral("-1250000"));
  p.Edit_Societe->setFocus();
  EXPECT_EQ(p.Edit_CapitalS->text(), QStringLiteral("(1,250,000)"));
  p.Edit_CapitalS->setFocus();
  EXPECT_EQ(p.Edit_CapitalS->text(), QStringLiteral("-1250000")) << "editing shows the number";
  QLocale::setDefault(saved);
}

}  // namespace
