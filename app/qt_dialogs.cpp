#include "app/qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "app/text_1252.h"

namespace app {
namespace {

using platform::TDialogButton;
using platform::TDialogIcon;

QMessageBox::StandardButton ToQt(TDialogButton button) {
  switch (button) {
    case TDialogButton::Ok:
      return QMessageBox::Ok;
    case TDialogButton::Cancel:
      return QMessageBox::Cancel;
    case TDialogButton::Yes:
      return QMessageBox::Yes;
    case TDialogButton::No:
      return QMessageBox::No;
    case TDialogButton::Abort:
      return QMessageBox::Abort;
    case TDialogButton::Retry:
      return QMessageBox::Retry;
    case TDialogButton::Ignore:
      return QMessageBox::Ignore;
    case TDialogButton::YesToAll:
      return QMessageBox::YesToAll;
    case TDialogButton::NoToAll:
      return QMessageBox::NoToAll;
    case TDialogButton::None:
      break;
  }
  return QMessageBox::NoButton;
}

QMessageBox::Icon ToQt(TDialogIcon icon) {
  switch (icon) {
    case TDialogIcon::Information:
      return QMessageBox::Information;
    case TDialogIcon::Warning:
      return QMessageBox::Warning;
    case TDialogIcon::Error:
      return QMessageBox::Critical;
    case TDialogIcon::Question:
      return QMessageBox::Question;
    case TDialogIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// The captions of a French Windows message box.
QString FrenchCaption(TDialogButton button) {
  switch (button) {
    case TDialogButton::Ok:
      return QStringLiteral("OK");
    case TDialogButton::Cancel:
      return QStringLiteral("Annuler");
    case TDialogButton::Yes:
      return QStringLiteral("&Oui");
    case TDialogButton::No:
      return QStringLiteral("&Non");
    case TDialogButton::Abort:
      return QStringLiteral("&Abandonner");
    case TDialogButton::Retry:
      return QStringLiteral("&Recommencer");
    case TDialogButton::Ignore:
      return QStringLiteral("&Ignorer");
    case TDialogButton::YesToAll:
      return QStringLiteral("Oui pour &tout");
    case TDialogButton::NoToAll:
      return QStringLiteral("Non pour t&out");
    case TDialogButton::None:
      break;
  }
  return QString();
}

QString CaptionOf(const std::string& caption) {
  return caption.empty() ? QString::fromUtf8(kApplicationTitle) : FromWindows1252(caption);
}

}  // namespace

TDialogButton TQtDialogs::MessageBox(const platform::TMessageBoxRequest& request) {
  QMessageBox box(ToQt(request.icon), CaptionOf(request.caption), FromWindows1252(request.text),
                  QMessageBox::NoButton, QApplication::activeWindow());
  for (const TDialogButton button : request.buttons) {
    box.addButton(ToQt(button))->setText(FrenchCaption(button));
  }
  if (request.default_button != TDialogButton::None) {
    box.setDefaultButton(ToQt(request.default_button));
  }
  box.exec();
  QAbstractButton* const clicked = box.clickedButton();
  if (clicked == nullptr) {
    return TDialogButton::None;
  }
  const QMessageBox::StandardButton pressed = box.standardButton(clicked);
  for (const TDialogButton button : request.buttons) {
    if (ToQt(button) == pressed) {
      return button;
    }
  }
  return TDialogButton::None;
}

bool TQtDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                            std::string& value) {
  bool ok = false;
  const QString text = QInputDialog::getText(QApplication::activeWindow(), CaptionOf(caption),
                                             FromWindows1252(prompt), QLineEdit::Normal,
                                             FromWindows1252(value), &ok);
  if (ok) {
    value = ToWindows1252(text);
  }
  return ok;
}

bool TQtDialogs::Login(const std::string& database_name, std::string& password) {
  QDialog dialog(QApplication::activeWindow(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                                   Qt::CustomizeWindowHint);
  dialog.setWindowTitle(QStringLiteral("Database Login"));
  dialog.setFixedSize(281, 154);

  auto* back = new QFrame(&dialog);
  back->setObjectName(QStringLiteral("BackPanel"));
  back->setFrameStyle(QFrame::Panel | QFrame::Raised);
  back->setGeometry(8, 8, dialog.width() - 16, 75);
  auto* database_label = new QLabel(QStringLiteral("Database:"), back);
  database_label->move(12, 15);
  auto* password_label = new QLabel(QStringLiteral("Password:"), back);
  password_label->move(12, 45);
  const int edit_width = back->contentsRect().width() - 98;
  auto* database_edit = new QLineEdit(FromWindows1252(database_name), back);
  database_edit->setObjectName(QStringLiteral("DatabaseEdit"));
  database_edit->setGeometry(86, 12, edit_width, 21);
  database_edit->setReadOnly(true);
  database_edit->setFocusPolicy(Qt::NoFocus);
  database_edit->setBackgroundRole(QPalette::Button);
  auto* password_edit = new QLineEdit(back);
  password_edit->setObjectName(QStringLiteral("PasswordEdit"));
  password_edit->setGeometry(86, 42, edit_width, 21);
  password_edit->setEchoMode(QLineEdit::Password);

  auto* ok_button = new QPushButton(QStringLiteral("&OK"), &dialog);
  ok_button->setGeometry(109, 94, 75, 25);
  ok_button->setDefault(true);
  auto* cancel_button = new QPushButton(QStringLiteral("&Cancel"), &dialog);
  cancel_button->setGeometry(191, 94, 75, 25);
  QObject::connect(ok_button, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel_button, &QPushButton::clicked, &dialog, &QDialog::reject);

  if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
    dialog.move(screen->geometry().center() - dialog.rect().center());
  }
  password_edit->setFocus();
  if (dialog.exec() != QDialog::Accepted) {
    return false;
  }
  password = ToWindows1252(password_edit->text());
  return true;
}

}  // namespace app
