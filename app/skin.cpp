#include "app/skin.h"

#include <QApplication>
#include <QPalette>
#include <QStringList>

namespace app {
namespace {

QFont MakeFont(const QString& family, int pixel_size, bool bold) {
  QFont font;
  font.setFamilies({family, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

}  // namespace

QFont TahomaFont(int pixel_size, bool bold) {
  return MakeFont(QStringLiteral("Tahoma"), pixel_size, bold);
}

QFont MsSansSerifFont(int pixel_size, bool bold) {
  return MakeFont(QStringLiteral("MS Sans Serif"), pixel_size, bold);
}

QString BlackSkinStyleSheet() {
  // The balloon frame: the dark 3D-shadow colour, which is the Shadow role (Dark is the
  // lighter button shadow).
  const QString shadow = QApplication::palette().color(QPalette::Shadow).name();
  return QStringLiteral(
             "QPushButton {"
             "  color: #F0F0F0; border: 1px solid #000000; border-radius: 3px;"
             "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5A5A5A,"
             "    stop:0.5 #2B2B2B, stop:1 #101010);"
             "  padding: 2px 8px; }"
             "QPushButton:hover { color: #FFFFFF; border-color: #7FB2F0;"
             "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #6E6E6E,"
             "    stop:0.5 #3A3A3A, stop:1 #1A1A1A); }"
             "QPushButton:pressed { background: #0A0A0A; }"
             "QPushButton:focus { border-color: #A0C8F8; }"
             "QPushButton:disabled { color: #7A7A7A; border-color: #2A2A2A;"
             "  background: #262626; }"
             "QPlainTextEdit#Memo { background: #1C1C1C; color: #E6E6E6;"
             "  border: 1px solid #000000; selection-background-color: #3A6EA5; }"
             "QComboBox#Combo_Path { background: #2B2B2B; color: #F0F0F0;"
             "  border: 1px solid #000000; border-radius: 2px; padding: 1px 4px; }"
             "QComboBox#Combo_Path:hover { border-color: #7FB2F0; }"
             "QTreeWidget#Combo_Path_List { background: #1C1C1C; color: #F0F0F0;"
             "  border: 1px solid #000000; selection-background-color: #3A6EA5; }"
             "QToolTip { font-family: Tahoma, 'Liberation Sans', 'DejaVu Sans';"
             "  font-size: 11px; color: #000000; background: #FFFFE1;"
             "  border: 1px solid %1; border-radius: 6px; padding: 3px; }")
      .arg(shadow);
}

}  // namespace app
