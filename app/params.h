#pragma once
// The company parameters page: the customer's company details, the folder to install into,
// and the rule that enables the main window's "&Installer" button. The installation
// procedure runs from this page and reports its progress on PBar.

#include "app/install_enable_rule.h"
#include "app/page.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace app {

class TBlinkLabel;
class TFolderPicker;
class TFramedEdit;
class TNumericEdit;

class TForm_Params final : public TPage {
  Q_OBJECT

 public:
  explicit TForm_Params(QWidget* parent = nullptr);

  // The installation procedure. The main window calls it when the enabled "&Installer"
  // button is pressed; the sender is not used.
  // TODO(installation procedure): the procedure and the page's archive and table components
  // arrive with the installation work; until then pressing the button changes nothing.
  void Btn_InstallClick();

  // The six mandatory texts as the install-enable rule reads them.
  TMandatoryTexts MandatoryTexts() const;

  // Every control below is owned by the form (through GroupBox2).
  QGroupBox* GroupBox2;
  QLabel* Label1;
  TBlinkLabel* Label7;
  TFramedEdit* Edit_Societe;
  TFramedEdit* Edit_Activite;
  TFramedEdit* Edit_Adresse;
  TFramedEdit* Edit_Tel;
  TFramedEdit* Edit_Fax;
  TFramedEdit* Edit_Email;
  TFramedEdit* Edit_URL;
  TFramedEdit* Edit_Licence;
  TFramedEdit* Edit_CBank;
  TFramedEdit* Edit_RC;
  TFramedEdit* Edit_MF;
  TFramedEdit* Edit_AI;
  TFramedEdit* Edit_NIF;
  TFramedEdit* Edit_NIS;
  TNumericEdit* Edit_CapitalS;
  TFolderPicker* Combo_Path;
  QProgressBar* PBar;
  QPushButton* Btn_Install;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void Edit_SocieteChange();
  void Edit_ActiviteChange();
  void Edit_AdresseChange();
  void Edit_TelChange();
  void Edit_LicenceChange();
  void Combo_PathPropertiesChange();
  // Enables or disables the main window's next button by the install-enable rule.
  void ApplyInstallEnableRule();

  TFramedEdit* AddEdit(const char* name, const QString& label, QPoint label_pos,
                       const QRect& layout, int max_length, const QString& hint);
  QLabel* AddLabel(const QString& text, QPoint pos);
  void AddStar(QPoint pos);
};

}  // namespace app
