#include "app/params.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStringList>

#include "app/blink_label.h"
#include "app/folder_picker.h"
#include "app/forms.h"
#include "app/gradient_separator.h"
#include "app/numeric_edit.h"
#include "app/skin.h"
#include "app/unit_main.h"

namespace app {
namespace {

const QColor kEditFrame(0x84, 0xC1, 0xFF);
const QColor kLabelColour(0x3C, 0x3C, 0x3C);
const QColor kStarColour(0xB9, 0x00, 0x00);

// The star of the instructions sits between the parentheses of "(  )": at x 341 with
// Tahoma, measured here so that it stays there with a stand-in font.
int InstructionStarLeft(const QLabel* label) {
  const QString before = QStringLiteral("1- Remplir les champs par les informations correctes. (");
  const QFontMetrics label_metrics(label->font());
  const QFontMetrics star_metrics(MsSansSerifFont(15, true));
  const int gap_middle = label->x() + label_metrics.horizontalAdvance(before) +
                         label_metrics.horizontalAdvance(QStringLiteral("  ")) / 2;
  return gap_middle - star_metrics.horizontalAdvance(QLatin1Char('*')) / 2;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

}  // namespace

TForm_Params::TForm_Params(QWidget* parent) : TPage(QStringLiteral("Paramètres"), parent) {
  setObjectName(QStringLiteral("Form_Params"));

  GroupBox2 = new QGroupBox(this);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  GroupBox2->setGeometry(3, -1, 626, 399);
  GroupBox2->setFlat(true);
  GroupBox2->setStyleSheet(
      QStringLiteral("QGroupBox#GroupBox2 { background: transparent; border: 1px solid #C8D8EC;"
                     "  border-radius: 3px; margin: 0px; }"));

  Label1 = new QLabel(QStringList{QStringLiteral("Veuillez SVP faire suivre les étapes "
                                                 "nécessaires pour une installation complète."),
                                  QString(),
                                  QStringLiteral("1- Remplir les champs par les informations "
                                                 "correctes. (  ) => Champ obligatoire"),
                                  QStringLiteral("2- Choisir le chemin d'installation (Exp : "
                                                 "\"D:\")."),
                                  QStringLiteral("3- Cliquer sur [Installer] puis choisir [Oui] "
                                                 "pour terminer l'installation.")}
                          .join(QLatin1Char('\n')),
                      GroupBox2);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(8, 8, 569, 112);
  Label1->setFont(TahomaFont(12, true));
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  SetTextColour(Label1, QColor(0x1A, 0x42, 0x84));

  Label7 = new TBlinkLabel(QStringLiteral("Le numéro de téléphone doit contenir au minimum 9 "
                                          "chiffres, sinon l'installation sera interrompue."),
                           QColor(0xEA, 0x00, 0x00), QColor(0x37, 0x9B, 0xFF), GroupBox2);
  Label7->setObjectName(QStringLiteral("Label7"));
  Label7->setGeometry(8, 124, 605, 14);
  Label7->setFont(TahomaFont(12, true));

  auto* const top_line = new TGradientSeparator(GroupBox2);
  top_line->setGeometry(67, 144, 483, 2);
  auto* const bottom_line = new TGradientSeparator(GroupBox2);
  bottom_line->setGeometry(67, 348, 483, 2);

  // Created in tab order, so that the focus chain follows it.
  Edit_Societe =
      AddEdit("Edit_Societe", QStringLiteral("Société"), {66, 153}, {126, 150, 430, 22}, 50,
              QStringLiteral("Dénomination : Raison sociale ou Nom du propriétaire"));
  Edit_Activite =
      AddEdit("Edit_Activite", QStringLiteral("Activité"), {66, 177}, {126, 174, 180, 22}, 100,
              QStringLiteral("Activité : L'activité commerciale"));
  Edit_Adresse = AddEdit("Edit_Adresse", QStringLiteral("Adresse"), {66, 201}, {126, 198, 180, 22},
                         80, QStringLiteral("Adresse : Adresse de l'activité"));
  Edit_Tel = AddEdit("Edit_Tel", QStringLiteral("Tél."), {66, 225}, {126, 222, 180, 22}, 30,
                     QStringLiteral("Numéro de Téléphone"));
  Edit_Fax = AddEdit("Edit_Fax", QStringLiteral("Fax"), {66, 250}, {126, 247, 180, 22}, 30,
                     QStringLiteral("Numéro de Fax"));
  Edit_Email = AddEdit("Edit_Email", QStringLiteral("E-Mail"), {66, 274}, {126, 271, 180, 22}, 60,
                       QStringLiteral("Votre E-Mail professionnel (Facultatif)"));
  Edit_URL = AddEdit("Edit_URL", QStringLiteral("Site Web"), {66, 298}, {126, 296, 180, 22}, 60,
                     QStringLiteral("Adresse de votre Site Web (Facultatif)"));
  Edit_Licence =
      AddEdit("Edit_Licence", QStringLiteral("Licence à"), {66, 326}, {126, 323, 180, 22}, 50,
              QStringLiteral("Nom du propriétaire dont la licence est accordée"));
  Edit_CBank = AddEdit("Edit_CBank", QStringLiteral("C.Bancaire"), {319, 181}, {396, 178, 160, 22},
                       60, QStringLiteral("Votre Compte Bancaire : Numéro & Banque (Facultatif)"));
  Edit_RC = AddEdit("Edit_RC", QStringLiteral("R.Commerce"), {319, 205}, {396, 202, 160, 22}, 20,
                    QStringLiteral("Le numéro de votre Registre de Commerce"));
  Edit_MF = AddEdit("Edit_MF", QStringLiteral("Mat. Fiscal"), {319, 229}, {396, 226, 160, 22}, 15,
                    QStringLiteral("Le numéro de votre Matricule Fiscal"));
  Edit_AI = AddEdit("Edit_AI", QStringLiteral("Articel Impos"), {319, 253}, {396, 250, 160, 22}, 11,
                    QStringLiteral("Le numéro de votre Article d'Imposition"));
  Edit_NIF = AddEdit("Edit_NIF", QStringLiteral("NIF"), {319, 277}, {396, 274, 160, 22}, 15,
                     QStringLiteral("Le numéro de votre Identité Fiscale"));
  Edit_NIS = AddEdit("Edit_NIS", QStringLiteral("NIS"), {319, 301}, {396, 298, 160, 22}, 15,
                     QStringLiteral("NIS"));

  AddLabel(QStringLiteral("Capital Soc."), {319, 326});
  // The numeric edit is framed in the gradient active-caption colour and, under the mouse,
  // the active-caption colour of the Windows standard scheme.
  Edit_CapitalS = new TNumericEdit(QColor(0xB9, 0xD1, 0xEA), QColor(0x99, 0xB4, 0xD1), GroupBox2);
  Edit_CapitalS->setObjectName(QStringLiteral("Edit_CapitalS"));
  Edit_CapitalS->setGeometry(396, 323, 160, 21);
  Edit_CapitalS->setFont(TahomaFont(12));

  AddLabel(QStringLiteral("Chemin d'installation : "), {66, 356});
  Combo_Path = new TFolderPicker(QStringLiteral("D:"), GroupBox2);
  Combo_Path->setObjectName(QStringLiteral("Combo_Path"));
  Combo_Path->setGeometry(199, 352, 356, 22);
  Combo_Path->SetDropDownWidth(356);

  for (const QPoint star :
       {QPoint(114, 153), QPoint(115, 177), QPoint(115, 201), QPoint(115, 225), QPoint(116, 337)}) {
    AddStar(star);
  }
  AddStar(QPoint(InstructionStarLeft(Label1), 38));

  PBar = new QProgressBar(GroupBox2);
  PBar->setObjectName(QStringLiteral("PBar"));
  PBar->setGeometry(65, 375, 489, 17);
  PBar->setRange(0, 100);
  PBar->setValue(0);
  PBar->setTextVisible(true);
  PBar->setFormat(QStringLiteral("%p%"));
  PBar->setAlignment(Qt::AlignCenter);
  PBar->setStyleSheet(QStringLiteral(
      "QProgressBar#PBar { border: 1px solid #9DB4D0; border-radius: 6px; background: #F4F8FC;"
      "  color: #1A4284; font-size: 11px; }"
      "QProgressBar#PBar::chunk { border-radius: 5px; background: qlineargradient(x1:0, y1:0,"
      "  x2:1, y2:0, stop:0 #84C1FF, stop:1 #1A4284); }"));

  Btn_Install = new QPushButton(QStringLiteral("Installer"), GroupBox2);
  Btn_Install->setObjectName(QStringLiteral("Btn_Install"));
  Btn_Install->setGeometry(568, 368, 49, 25);
  Btn_Install->setVisible(false);
  connect(Btn_Install, &QPushButton::clicked, this, &TForm_Params::Btn_InstallClick);

  QWidget* previous = Edit_NIS;
  for (QWidget* next : {static_cast<QWidget*>(Edit_CapitalS), static_cast<QWidget*>(Combo_Path),
                        static_cast<QWidget*>(Btn_Install)}) {
    setTabOrder(previous, next);
    previous = next;
  }

  connect(Edit_Societe, &QLineEdit::textChanged, this, &TForm_Params::Edit_SocieteChange);
  connect(Edit_Activite, &QLineEdit::textChanged, this, &TForm_Params::Edit_ActiviteChange);
  connect(Edit_Adresse, &QLineEdit::textChanged, this, &TForm_Params::Edit_AdresseChange);
  connect(Edit_Tel, &QLineEdit::textChanged, this, &TForm_Params::Edit_TelChange);
  connect(Edit_Licence, &QLineEdit::textChanged, this, &TForm_Params::Edit_LicenceChange);
  connect(Combo_Path, &TFolderPicker::Changed, this, &TForm_Params::Combo_PathPropertiesChange);
}

TFramedEdit* TForm_Params::AddEdit(const char* name, const QString& label, QPoint label_pos,
                                   const QRect& layout, int max_length, const QString& hint) {
  AddLabel(label, label_pos);
  auto* const edit = new TFramedEdit(kEditFrame, kEditFrame.darker(130), GroupBox2);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(layout);
  edit->setFont(TahomaFont(12));
  edit->setMaxLength(max_length);
  edit->setToolTip(hint);
  return edit;
}

QLabel* TForm_Params::AddLabel(const QString& text, QPoint pos) {
  auto* const label = new QLabel(text, GroupBox2);
  label->setFont(MsSansSerifFont(12, true));
  SetTextColour(label, kLabelColour);
  label->move(pos);
  label->adjustSize();
  return label;
}

void TForm_Params::AddStar(QPoint pos) {
  auto* const star = new QLabel(QStringLiteral("*"), GroupBox2);
  star->setFont(MsSansSerifFont(15, true));
  SetTextColour(star, kStarColour);
  star->move(pos);
  star->adjustSize();
}

TMandatoryTexts TForm_Params::MandatoryTexts() const {
  return {Edit_Societe->text(), Edit_Activite->text(), Edit_Licence->text(),
          Combo_Path->Text(),   Edit_Tel->text(),      Edit_Adresse->text()};
}

void TForm_Params::Btn_InstallClick() {}

void TForm_Params::showEvent(QShowEvent* event) {
  TPage::showEvent(event);
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TForm_Params::FormShow() {
  Edit_Societe->setFocus();
}

void TForm_Params::Edit_SocieteChange() {
  ApplyInstallEnableRule();
}
void TForm_Params::Edit_ActiviteChange() {
  ApplyInstallEnableRule();
}
void TForm_Params::Edit_AdresseChange() {
  ApplyInstallEnableRule();
}
void TForm_Params::Edit_TelChange() {
  ApplyInstallEnableRule();
}
void TForm_Params::Edit_LicenceChange() {
  ApplyInstallEnableRule();
}
void TForm_Params::Combo_PathPropertiesChange() {
  ApplyInstallEnableRule();
}

void TForm_Params::ApplyInstallEnableRule() {
  if (Form_Main != nullptr) {
    Form_Main->Btn_Next->setEnabled(InstallEnabled(MandatoryTexts()));
  }
}

}  // namespace app
