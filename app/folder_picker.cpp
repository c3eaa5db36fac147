#include "app/folder_picker.h"

#include <QDir>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QTreeWidget>

#include "app/text_1252.h"
#include "platform/windows_path.h"

namespace app {
namespace {

constexpr int kHostPathRole = Qt::UserRole;
constexpr int kWindowsPathRole = Qt::UserRole + 1;
constexpr int kPopupHeight = 260;

QTreeWidgetItem* MakeItem(const QString& label, const QString& host, const QString& windows) {
  auto* item = new QTreeWidgetItem(QStringList{label});
  item->setIcon(0, QFileIconProvider().icon(QFileIconProvider::Folder));
  item->setData(0, kHostPathRole, host);
  item->setData(0, kWindowsPathRole, windows);
  item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  return item;
}

}  // namespace

TFolderPicker::TFolderPicker(const QString& root, QWidget* parent)
    : QComboBox(parent), root_(root) {
  setEditable(false);
}

void TFolderPicker::SetText(const QString& text) {
  if (text == text_) {
    return;
  }
  text_ = text;
  clear();
  if (!text_.isEmpty()) {
    addItem(QFileIconProvider().icon(QFileIconProvider::Folder), text_);
    setCurrentIndex(0);
  }
  emit Changed();
}

void TFolderPicker::showPopup() {
  if (popup_ != nullptr) {
    return;
  }
  const std::string root_1252 = ToWindows1252(root_);
  const QString host_root = QString::fromStdString(platform::ToHostPath(root_1252));
  const QString windows_root =
      FromWindows1252(platform::ToWindowsPath(host_root.toStdString(), root_1252.at(0)));

  // Owned by the window rather than the drop-down itself, whose children the toolkit does
  // not skin.
  popup_ = new QTreeWidget(window());
  popup_->setObjectName(QStringLiteral("Combo_Path_List"));  // before polishing picks the skin
  popup_->setWindowFlags(Qt::Popup);
  popup_->setAttribute(Qt::WA_DeleteOnClose);
  popup_->setHeaderHidden(true);
  QTreeWidgetItem* const top = MakeItem(root_, host_root, windows_root);
  popup_->addTopLevelItem(top);
  connect(popup_, &QTreeWidget::itemExpanded, this, &TFolderPicker::Populate);
  connect(popup_, &QTreeWidget::itemClicked, this, &TFolderPicker::Choose);
  connect(popup_, &QTreeWidget::itemActivated, this, &TFolderPicker::Choose);
  connect(popup_, &QObject::destroyed, this, [this] { popup_ = nullptr; });
  top->setExpanded(true);

  const int width = drop_down_width_ > 0 ? drop_down_width_ : this->width();
  popup_->setGeometry(QRect(mapToGlobal(QPoint(0, height())), QSize(width, kPopupHeight)));
  popup_->show();
  popup_->setFocus();
}

void TFolderPicker::hidePopup() {
  if (popup_ != nullptr) {
    popup_->close();
  }
  QComboBox::hidePopup();
}

void TFolderPicker::Populate(QTreeWidgetItem* item) {
  if (item->childCount() > 0) {
    return;
  }
  const QString host = item->data(0, kHostPathRole).toString();
  const QDir dir(host);
  const QStringList names =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  const char letter = ToWindows1252(root_).at(0);
  for (const QString& name : names) {
    const QString child_host = dir.filePath(name);
    const std::string windows = platform::ToWindowsPath(child_host.toStdString(), letter);
    if (windows.empty()) {
      continue;  // a name the recorded path could not hold
    }
    item->addChild(MakeItem(name, child_host, FromWindows1252(windows)));
  }
  if (item->childCount() == 0) {
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
  }
}

void TFolderPicker::Choose(QTreeWidgetItem* item) {
  const QString windows = item->data(0, kWindowsPathRole).toString();
  hidePopup();
  if (!windows.isEmpty()) {
    SetText(windows);
  }
}

}  // namespace app
