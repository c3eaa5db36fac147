#pragma once
// The common frame of a wizard page: a borderless form with a white background that fills
// the main window's page area once it is given that area as parent. The caption is part of
// the form's definition, never visible.

#include <QWidget>

namespace app {

class TPage : public QWidget {
  Q_OBJECT

 public:
  TPage(const QString& caption, QWidget* parent);

  // Gives the page `host` as parent, aligns it to the host's whole client area and shows it.
  void ShowIn(QWidget* host);

  // True while the page is shown (it has been shown and not closed since).
  bool Showing() const;
};

}  // namespace app
