#include "app/skin.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

namespace {

// The balloon hints are framed in the dark 3D-shadow colour (the palette's Shadow role, the
// darker of the two shadow colours), not the ordinary button shadow (the Dark role).
TEST(BlackSkinStyleSheet, BalloonFrameUsesTheDark3DShadowColour) {
  const QPalette saved = QApplication::palette();
  QPalette palette = saved;
  palette.setColor(QPalette::Dark, QColor(0xA0, 0xA0, 0xA0));
  palette.setColor(QPalette::Shadow, QColor(0x69, 0x69, 0x69));
  QApplication::setPalette(palette);
  const QString sheet = app::BlackSkinStyleSheet();
  QApplication::setPalette(saved);

  const qsizetype tool_tip = sheet.indexOf(QStringLiteral("QToolTip {"));
  ASSERT_GE(tool_tip, 0);
  const QString rule = sheet.mid(tool_tip, sheet.indexOf(QLatin1Char('}'), tool_tip) - tool_tip);
  EXPECT_TRUE(rule.contains(QStringLiteral("border: 1px solid #696969"))) << rule.toStdString();
  EXPECT_FALSE(rule.contains(QStringLiteral("#a0a0a0"))) << rule.toStdString();
}

}  // namespace
