#pragma once
// The splash window: a borderless, stay-on-top window centred on the screen with a background
// picture, the program name, version and publisher lines, an HTML list whose lines embed the
// named pictures, and a progress bar. The main window's creation drives it through
// TSplashSequence; it closes itself once the main window shows.

#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include "app/splash_sequence.h"

class QPainter;

namespace app {

class TSplash final : public QWidget, public ISplashView {
  Q_OBJECT

 public:
  // `main_window` receives the focus at the hand-over; it owns this splash.
  explicit TSplash(QWidget* main_window);

  void Show() override;
  void BeginUpdate() override;
  void EndUpdate() override;
  QString VersionText() const override { return version_text_; }
  void SetVersionText(const QString& text) override;
  void SetVersionLeft(int x) override;
  QRect ListRect() const override { return list_rect_; }
  void SetListRect(const QRect& rect) override;
  void AddListLine(const QString& html) override;
  void ClearList() override;
  double Progress() const override { return progress_; }
  void SetProgress(double position) override;
  void HandOverFocus() override;

  QPoint VersionPos() const { return version_pos_; }
  QStringList ListLines() const { return list_lines_; }
  // The progress text as the bar shows it ("%.0f%%").
  QString ProgressText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Draws the window at once unless an update bracket is open.
  void Changed();
  void PaintList(QPainter& painter) const;
  void PaintProgress(QPainter& painter) const;

  QPointer<QWidget> main_window_;
  int update_depth_ = 0;
  QString version_text_;
  QPoint version_pos_;
  QRect list_rect_;  // in window pixels
  QStringList list_lines_;
  double progress_ = 0;  // percent, 0 to 100
};

}  // namespace app
