#pragma once
// The folder picker of the parameters page: a drop-down whose list is the folder tree below a
// Windows drive root, and whose text is the full Windows-form path of the chosen folder
// ("D:\", "D:\Apps\Data"). The folders are read from the host place that the drive maps to.
// Folders whose names Windows-1252 cannot store are not offered.

#include <QComboBox>

class QTreeWidget;
class QTreeWidgetItem;

namespace app {

class TFolderPicker final : public QComboBox {
  Q_OBJECT

 public:
  // `root`: the custom root, a drive such as "D:".
  TFolderPicker(const QString& root, QWidget* parent);

  QString Root() const { return root_; }
  QString Text() const { return text_; }
  // Sets the text as if that folder had been chosen; fires Changed when it differs.
  void SetText(const QString& text);
  // The drop-down width, in pixels.
  void SetDropDownWidth(int width) { drop_down_width_ = width; }

  void showPopup() override;
  void hidePopup() override;

  // The open drop-down list, or null while it is closed.
  QTreeWidget* Popup() const { return popup_; }

 signals:
  // Fires whenever the text changes.
  void Changed();

 private:
  void Populate(QTreeWidgetItem* item);
  void Choose(QTreeWidgetItem* item);

  QString root_;
  QString text_;
  int drop_down_width_ = 0;
  QTreeWidget* popup_ = nullptr;  // owned by this picker while open
};

}  // namespace app
