#include "app/application.h"

#include "platform/dialogs.h"

namespace app {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TApplication::~TApplication() {
  // The forms go before the application they belong to, the last created first.
  while (!forms_.empty()) {
    forms_.pop_back();
  }
}

void TApplication::SetTitle(const QString& title) {
  title_ = title;
  // The application name, not the display name: Qt appends a display name to every window
  // caption, and the forms' captions are fixed.
  setApplicationName(title);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(error);
    return true;
  }
}

void TApplication::ShowException(const std::exception& error) {
  platform::TMessageBoxRequest request;
  request.text = error.what();
  request.icon = platform::TDialogIcon::Error;
  request.buttons = {platform::TDialogButton::Ok};
  request.default_button = platform::TDialogButton::Ok;
  platform::Dialogs().MessageBox(request);
}

}  // namespace app
