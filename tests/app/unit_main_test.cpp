#include "app/unit_main.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTextCursor>

#include "app/centring.h"
#include "app/contrat.h"
#include "app/folder_picker.h"
#include "app/framed_edit.h"
#include "app/params.h"
#include "app/splash.h"
#include "app/welcome.h"
#include "wizard_fixture.h"

namespace {

using app::Form_Contrat;
using app::Form_Params;
using app::Form_Welcome;
using app_test::WizardTest;

enum class TPageShown { None, Welcome, Contrat, Params };

struct TNavState {
  TPageShown page;
  bool previous_enabled;
  QString next_caption;
  int next_glyph;
  bool next_enabled;
  QString quit_caption;
};

class NavigationTest : public WizardTest {
 protected:
  TNavState State() const {
    TPageShown page = TPageShown::None;
    int showing = 0;
    if (Form_Welcome != nullptr && Form_Welcome->Showing()) {
      page = TPageShown::Welcome;
      ++showing;
    }
    if (Form_Contrat != nullptr && Form_Contrat->Showing()) {
      page = TPageShown::Contrat;
      ++showing;
    }
    if (Form_Params != nullptr && Form_Params->Showing()) {
      page = TPageShown::Params;
      ++showing;
    }
    EXPECT_LE(showing, 1) << "one page at a time";
    return {page,        main_->Btn_Previous->isEnabled(), main_->Btn_Next->text(),
            NextGlyph(), main_->Btn_Next->isEnabled(),     main_->Btn_Quit->text()};
  }

  void ExpectState(const TNavState& expected) const {
    const TNavState actual = State();
    EXPECT_EQ(actual.page, expected.page);
    EXPECT_EQ(actual.previous_enabled, expected.previous_enabled);
    EXPECT_EQ(actual.next_caption, expected.next_caption);
    EXPECT_EQ(actual.next_glyph, expected.next_glyph);
    EXPECT_EQ(actual.next_enabled, expected.next_enabled);
    EXPECT_EQ(actual.quit_caption, expected.quit_caption);
  }

  void FillMandatory() const {
    Form_Params->Edit_Societe->setText(QStringLiteral("ZELMORIC"));
    Form_Params->Edit_Activite->setText(QStringLiteral("Commerce"));
    Form_Params->Edit_Adresse->setText(QStringLiteral("1 rue X"));
    Form_Params->Edit_Tel->setText(QStringLiteral("712345678"));
    Form_Params->Edit_Licence->setText(QStringLiteral("M. Ben Salah"));
    Form_Params->Combo_Path->SetText(QStringLiteral("D:\\"));
  }
};

const QString kSuivant = QStringLiteral("&Suivant");
const QString kInstaller = QStringLiteral("&Installer");
const QString kQuitter = QStringLiteral("&Quitter");

TEST_F(NavigationTest, StateTableForwardAndBack) {
  const TNavState welcome{TPageShown::Welcome, false, kSuivant, 1, true, kQuitter};
  const TNavState contrat{TPageShown::Contrat, true, kSuivant, 1, true, kQuitter};
  const TNavState params{TPageShown::Params, true, kInstaller, 2, false, kQuitter};

  ExpectState(welcome);
  main_->Btn_Next->click();
  ExpectState(contrat);
  main_->Btn_Next->click();
  ExpectState(params);
  FillMandatory();
  EXPECT_TRUE(main_->Btn_Next->isEnabled());
  main_->Btn_Previous->click();
  ExpectState(contrat);  // whatever the next button's state was on the parameters page
  main_->Btn_Previous->click();
  ExpectState(welcome);
  main_->Btn_Previous->click();  // nothing to go back to
  ExpectState(welcome);
}

TEST_F(NavigationTest, ParametersPageComesBackFreshAndEmpty) {
  main_->Btn_Next->click();
  main_->Btn_Next->click();
  const QPointer<app::TForm_Params> first = Form_Params;
  FillMandatory();
  first->Edit_Fax->setText(QStringLiteral("71000000"));
  main_->Btn_Previous->click();
  main_->Btn_Next->click();

  ASSERT_NE(Form_Params, nullptr);
  EXPECT_NE(Form_Params, first);
  ASSERT_NE(first, nullptr) << "the page left behind stays alive";
  EXPECT_FALSE(first->Showing());
  EXPECT_EQ(first->Combo_Path->Text(), QStringLiteral("D:\\")) << "and keeps its path";
  for (const app::TFramedEdit* edit : Form_Params->findChildren<app::TFramedEdit*>()) {
    EXPECT_TRUE(edit->text().isEmpty()) << edit->objectName().toStdString();
  }
  EXPECT_TRUE(Form_Params->Combo_Path->Text().isEmpty());
  EXPECT_EQ(Form_Params->PBar->value(), 0);
  EXPECT_FALSE(main_->Btn_Next->isEnabled());
  EXPECT_EQ(main_->Panel_Work_Area->findChildren<app::TForm_Params*>().size(), 2);
}

TEST_F(NavigationTest, AgreementComesBackFromItsFirstLine) {
  main_->Btn_Next->click();
  Form_Contrat->Memo->moveCursor(QTextCursor::End);
  main_->Btn_Previous->click();
  main_->Btn_Next->click();
  EXPECT_EQ(Form_Contrat->Memo->toPlainText(), app::ContratText());
  EXPECT_EQ(Form_Contrat->Memo->textCursor().position(), 0);
  EXPECT_TRUE(Form_Contrat->Memo->isReadOnly());
  const QStringList lines = app::ContratText().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 7);
  EXPECT_EQ(lines[2], QStringLiteral("Vous pouvez consulter la version en ligne sur notre site "
                                     "web. Vous allez trouver la dernière "));
  EXPECT_TRUE(lines[1].isEmpty());
  EXPECT_TRUE(lines[5].isEmpty());
  EXPECT_TRUE(lines[6].startsWith(QStringLiteral("http://")));
}

TEST_F(WizardTest, FrameLayoutAndFirstShowing) {
  EXPECT_EQ(main_->size(), QSize(784, 442));
  EXPECT_EQ(main_->windowTitle(), QStringLiteral("Software ZELMORIC Installer v  3.6"));
  EXPECT_EQ(main_->Panel_Work_Area->geometry(), QRect(152, 0, 633, 401));
  EXPECT_EQ(main_->Btn_Previous->geometry(), QRect(440, 410, 97, 28));
  EXPECT_EQ(main_->Btn_Next->geometry(), QRect(544, 410, 97, 28));
  EXPECT_EQ(main_->Btn_Quit->geometry(), QRect(678, 410, 97, 28));
  EXPECT_EQ(main_->Btn_Previous->text(), QStringLiteral("&Précédent"));
  EXPECT_EQ(main_->Btn_Previous->toolTip(), QStringLiteral("Etape précédente"));
  EXPECT_EQ(main_->Btn_Next->toolTip(), QStringLiteral("Etape suivante"));
  EXPECT_EQ(main_->Btn_Quit->toolTip(), QStringLiteral("Quitter l'assistant d'installation"));
  EXPECT_EQ(main_->Btn_Next->nextInFocusChain(), main_->Btn_Previous);
  EXPECT_EQ(main_->Btn_Previous->nextInFocusChain(), main_->Btn_Quit);
  EXPECT_FALSE(main_->Img1->isVisibleTo(main_.get()));

  const QRect screen = main_->screen()->geometry();
  const app::TWindowOrigin origin = app::CentredOrigin(screen.width(), screen.height());
  EXPECT_EQ(main_->pos(), QPoint(origin.left, origin.top));
  ASSERT_NE(Form_Welcome, nullptr);
  EXPECT_TRUE(Form_Welcome->Showing());
  EXPECT_EQ(Form_Welcome->parentWidget(), main_->Panel_Work_Area);
  EXPECT_EQ(Form_Welcome->geometry(), main_->Panel_Work_Area->rect());
  // The splash ran to the end while the window was created.
  EXPECT_EQ(main_->Splash->Progress(), 100.0);
  EXPECT_EQ(sleeper_.waits.size(), 57u);
}

TEST_F(WizardTest, QuitAnsweredNoLeavesEverythingAsItWas) {
  main_->Btn_Next->click();
  main_->Btn_Next->click();
  Form_Params->Edit_Societe->setText(QStringLiteral("ZELMORIC"));
  const QPointer<app::TForm_Params> page = Form_Params;

  dialogs_.answers = {platform::TDialogButton::No};
  main_->Btn_Quit->click();
  ASSERT_EQ(dialogs_.requests.size(), 1u);
  const platform::TMessageBoxRequest& asked = dialogs_.requests[0];
  EXPECT_EQ(asked.text, "Etes vous sur de vouloir quitter l'assistant d'installation ?");
  EXPECT_EQ(asked.icon, platform::TDialogIcon::Question);
  EXPECT_EQ(asked.buttons,
            (std::vector{platform::TDialogButton::Yes, platform::TDialogButton::No}));
  EXPECT_TRUE(main_->isVisible());
  EXPECT_EQ(Form_Params, page);
  EXPECT_TRUE(page->Showing());
  EXPECT_EQ(page->Edit_Societe->text(), QStringLiteral("ZELMORIC"));
  EXPECT_EQ(main_->Btn_Next->text(), QStringLiteral("&Installer"));
  EXPECT_FALSE(main_->Btn_Next->isEnabled());
  EXPECT_TRUE(main_->Btn_Previous->isEnabled());

  // The close box of the title bar asks as well; a dismissed box counts as No.
  EXPECT_FALSE(main_->close());
  EXPECT_EQ(dialogs_.requests.size(), 2u);
  EXPECT_TRUE(main_->isVisible());

  dialogs_.answers = {platform::TDialogButton::Yes};
  EXPECT_TRUE(main_->close());
  EXPECT_FALSE(main_->isVisible());
}

}  // namespace
