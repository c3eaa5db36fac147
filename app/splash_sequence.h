#pragma once
// The timed splash sequence that runs while the main window is created. The texts describe
// work that the installation procedure does later: the sequence checks nothing. It blocks the
// user-interface thread with plain waits, so the view shows every change at once.

#include <QRect>
#include <QString>
#include <QStringList>

#include "app/sleeper.h"

namespace app {

// The splash window as the sequence drives it. Every change that is not inside an update
// bracket is drawn at once; a bracket draws once, when it closes.
class ISplashView {
 public:
  virtual ~ISplashView() = default;
  virtual void Show() = 0;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  virtual QString VersionText() const = 0;
  virtual void SetVersionText(const QString& text) = 0;
  // Switches the version line to a custom location at `x`; its y stays.
  virtual void SetVersionLeft(int x) = 0;
  virtual QRect ListRect() const = 0;
  virtual void SetListRect(const QRect& rect) = 0;
  // Appends one HTML line, inside its own update bracket, so it is drawn once, complete.
  virtual void AddListLine(const QString& html) = 0;
  virtual void ClearList() = 0;
  virtual double Progress() const = 0;  // percent, 0 to 100
  virtual void SetProgress(double position) = 0;
  // Asks the splash to give the input focus to the main window; it does so later, on its own
  // timer, and closes once the main window shows.
  virtual void HandOverFocus() = 0;
};

// The HTML lines of the list, in order; the last one replaces the others.
QStringList SplashCheckLines();
QString SplashStartLine();

// Runs the sequence on `view` with the waits of `sleeper`. Both must outlive the object.
class TSplashSequence final {
 public:
  TSplashSequence(ISplashView& view, ISleeper& sleeper) : view_(view), sleeper_(sleeper) {}

  void Run();

  // Sets the splash progress bar (a real number) to a whole `position`.
  void SetSplashProgress(int position);

 private:
  void Wait(int milliseconds);

  ISplashView& view_;  // not owned
  ISleeper& sleeper_;  // not owned
};

}  // namespace app
