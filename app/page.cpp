#include "app/page.h"

#include <QPalette>

namespace app {

TPage::TPage(const QString& caption, QWidget* parent) : QWidget(parent) {
  setWindowTitle(caption);
  setWindowFlags(Qt::FramelessWindowHint);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
}

void TPage::ShowIn(QWidget* host) {
  // The host never changes size (the main window has a fixed frame), so placing the page
  // over its client area once keeps it aligned.
  setParent(host, Qt::Widget);
  setGeometry(host->contentsRect());
  show();
}

bool TPage::Showing() const {
  return parentWidget() != nullptr && !isHidden();
}

}  // namespace app
