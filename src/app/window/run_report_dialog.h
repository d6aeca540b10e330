// The Run Report dialog: the report of the last run as text the user can
// select, copy and save.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace statcrane {

class RunReportDialog : public QDialog {
  Q_OBJECT

 public:
  // `save` asks where to save and saves (WindowModel::SaveReport); true when
  // saved.
  RunReportDialog(const QString& report, std::function<bool()> save, QWidget* parent = nullptr);

  QString text() const;
  // Puts the whole report on the clipboard.
  void Copy();

 private:
  std::function<bool()> save_;
  QPlainTextEdit* text_ = nullptr;
  QPushButton* copy_button_ = nullptr;
  QPushButton* save_button_ = nullptr;
  QPushButton* close_button_ = nullptr;
};

}  // namespace statcrane
