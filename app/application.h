#pragma once
// The application object: the title, the forms created at start-up (which it owns), the
// message loop, and the default error report that shows the text of an error that escapes
// an event handler, after which the program goes on.

#include <QApplication>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

namespace app {

class TApplication final : public QApplication {
  Q_OBJECT

 public:
  // `argc`/`argv` must outlive the object (QApplication keeps them).
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  QString Title() const { return title_; }
  void SetTitle(const QString& title);

  // Creates a form owned by the application and stores it in `reference`.
  template <class TForm, class... TArgs>
  void CreateForm(QPointer<TForm>& reference, TArgs&&... args) {
    auto form = std::make_unique<TForm>(std::forward<TArgs>(args)...);
    reference = form.get();
    forms_.push_back(std::move(form));
  }

  bool notify(QObject* receiver, QEvent* event) override;

  // The default error report: a message box with the error's text.
  static void ShowException(const std::exception& error);

 private:
  QString title_;
  std::vector<std::unique_ptr<QWidget>> forms_;  // in creation order
};

}  // namespace app
