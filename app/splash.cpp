#include "app/splash.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "app/skin.h"

namespace app {
namespace {

constexpr int kWidth = 601;
constexpr int kHeight = 371;
constexpr double kBackgroundOpacity = 249.0 / 255.0;
constexpr int kHandOverDelayMs = 20;
const QRect kProgressRect(140, 300, kWidth - 2 * 140, 20);

// The pictures that list lines may name in <IMG src="...">.
constexpr const char* kNamedPictures[] = {"files",  "folders", "register",
                                          "system", "package", "start"};

// Draws `text` with its top-left corner at `origin`, filled with a vertical gradient. A
// divot hatch engraves it: a dark copy one pixel down and right, a light one up and left.
void DrawGradientText(QPainter& painter, const QString& text, const QFont& font, QPoint origin,
                      const QColor& from, const QColor& to, bool divot) {
  QPainterPath path;
  const QFontMetrics metrics(font);
  path.addText(origin.x(), origin.y() + metrics.ascent(), font, text);
  const QRectF bounds = path.boundingRect();
  painter.save();
  painter.setPen(Qt::NoPen);
  if (divot) {
    painter.setBrush(QColor(0, 0, 0, 160));
    painter.drawPath(path.translated(1, 1));
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawPath(path.translated(-1, -1));
  }
  QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
  gradient.setColorAt(0, from);
  gradient.setColorAt(1, to);
  painter.setBrush(gradient);
  painter.drawPath(path);
  painter.restore();
}

// The list lines size their text in points; Qt's <font size> means HTML's 1 to 7 scale.
QString ForQtRichText(const QString& html) {
  static const QRegularExpression size(QStringLiteral("<FONT size=\"(\\d+)\""),
                                       QRegularExpression::CaseInsensitiveOption);
  QString out = html;
  out.replace(size, QStringLiteral("<FONT style=\"font-size:\\1pt\""));
  return out;
}

}  // namespace

TSplash::TSplash(QWidget* main_window)
    : QWidget(main_window, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      main_window_(main_window),
      version_text_(QStringLiteral("Quorvex Plus 5.4 B1")),
      version_pos_(418, 80),
      list_rect_(75, 125, 500, 250) {
  setObjectName(QStringLiteral("Splash"));
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - kWidth) / 2, area.y() + (area.height() - kHeight) / 2);
  }
}

void TSplash::Show() {
  show();
  raise();
  // Let the window system map the window once, so that the drawing below reaches the screen.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  Changed();
}

void TSplash::BeginUpdate() {
  ++update_depth_;
}

void TSplash::EndUpdate() {
  update_depth_ = std::max(0, update_depth_ - 1);
  Changed();
}

void TSplash::SetVersionText(const QString& text) {
  version_text_ = text;
  Changed();
}

void TSplash::SetVersionLeft(int x) {
  version_pos_.setX(x);
  Changed();
}

void TSplash::SetListRect(const QRect& rect) {
  list_rect_ = rect;
  Changed();
}

void TSplash::AddListLine(const QString& html) {
  BeginUpdate();
  list_lines_.append(html);
  EndUpdate();
}

void TSplash::ClearList() {
  list_lines_.clear();
  Changed();
}

void TSplash::SetProgress(double position) {
  progress_ = std::clamp(position, 0.0, 100.0);
  Changed();
}

QString TSplash::ProgressText() const {
  return QString::asprintf("%.0f%%", progress_);
}

void TSplash::HandOverFocus() {
  if (main_window_ != nullptr) {
    main_window_->installEventFilter(this);
    if (main_window_->isVisible()) {
      QTimer::singleShot(0, this, &QWidget::close);
    }
  }
  QTimer::singleShot(kHandOverDelayMs, this, [this] {
    if (main_window_ != nullptr && main_window_->isVisible()) {
      main_window_->raise();
      main_window_->activateWindow();
    }
  });
}

bool TSplash::eventFilter(QObject* watched, QEvent* event) {
  if (watched == main_window_ && event->type() == QEvent::Show) {
    main_window_->removeEventFilter(this);
    QTimer::singleShot(0, this, &QWidget::close);
  }
  return QWidget::eventFilter(watched, event);
}

void TSplash::Changed() {
  if (update_depth_ > 0 || !isVisible()) {
    return;
  }
  repaint();
  // The sequence blocks the thread between changes; hand the drawing to the window system
  // now. Input stays queued: the operator cannot act on anything during the splash.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSplash::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.fillRect(rect(), Qt::black);
  painter.setOpacity(kBackgroundOpacity);
  painter.drawPixmap(rect(), QPixmap(QStringLiteral(":/pictures/splash_background.png")));
  painter.setOpacity(1.0);

  DrawGradientText(painter, QStringLiteral("Software ZELMORIC Installer 3.6"), TahomaFont(24, true),
                   QPoint(20, 10), QColor(0x85, 0xC9, 0xF1), QColor(0xFB, 0xFE, 0xFF), true);
  DrawGradientText(painter, version_text_, TahomaFont(16, true), version_pos_,
                   QColor(0xFF, 0xFF, 0x00), QColor(0xE8, 0xF4, 0xF4), false);
  // The publisher line stands at (350, 440), below the window's bottom edge.
  const QFont publisher_font = TahomaFont(13);
  painter.setFont(publisher_font);
  painter.setPen(QColor(0xE1, 0xF1, 0xF4));
  painter.drawText(QPoint(350, 440 + QFontMetrics(publisher_font).ascent()),
                   QStringLiteral("Software ZELMORIC"));

  PaintList(painter);
  PaintProgress(painter);
}

void TSplash::PaintList(QPainter& painter) const {
  // The progress bar lies across the lower part of the list area; the list ends above it.
  QRect area = list_rect_;
  if (area.intersects(kProgressRect) && area.top() < kProgressRect.top()) {
    area.setBottom(kProgressRect.top() - 3);
  }
  painter.save();
  painter.setClipRect(area);
  // The newest line sits at the bottom; older lines stand above it as long as they fit
  // whole, the oldest scrolling out first. A line's closing break only separates it.
  int bottom = area.bottom() + 1;
  for (qsizetype i = list_lines_.size() - 1; i >= 0; --i) {
    QString html = list_lines_[i];
    if (html.endsWith(QStringLiteral("<br>"), Qt::CaseInsensitive)) {
      html.chop(4);
    }
    QTextDocument document;
    document.setDefaultFont(TahomaFont(11));
    document.setDocumentMargin(0);
    for (const char* name : kNamedPictures) {
      document.addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(name)),
                           QImage(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name))));
    }
    document.setTextWidth(area.width());
    document.setHtml(ForQtRichText(html));
    const int top = bottom - static_cast<int>(document.size().height() + 0.5);
    if (top < area.top() && i != list_lines_.size() - 1) {
      break;
    }
    painter.save();
    painter.translate(area.left(), top);
    document.drawContents(&painter);
    painter.restore();
    bottom = top;
  }
  painter.restore();
}

void TSplash::PaintProgress(QPainter& painter) const {
  painter.save();
  const QRectF frame = QRectF(kProgressRect).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.setBrush(QColor(0x20, 0x20, 0x20, 200));
  painter.drawRect(frame);
  const QRect inner = kProgressRect.adjusted(2, 2, -2, -2);
  const int fill = static_cast<int>(inner.width() * progress_ / 100.0 + 0.5);
  if (fill > 0) {
    QLinearGradient gradient(inner.topLeft(), inner.topRight());
    gradient.setColorAt(0, QColor(0x00, 0xD5, 0x80));
    gradient.setColorAt(1, QColor(0x01, 0x7C, 0x96));
    painter.fillRect(QRect(inner.left(), inner.top(), fill, inner.height()), gradient);
  }
  painter.setFont(TahomaFont(11, true));
  painter.setPen(Qt::white);
  painter.drawText(kProgressRect, Qt::AlignCenter, ProgressText());
  painter.restore();
}

}  // namespace app
