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
  // `choose_file` asks where to save (a suggested path in, "" for cancel);
  // `message` tells the user when saving fails.
  RunReportDialog(const QString& report, std::function<QString(const QString&)> choose_file,
                  std::function<void(const QString&)> message, QWidget* parent = nullptr);

  QString text() const;
  // Puts the whole report on the clipboard.
  void Copy();
  // Asks for a file and writes the report into it; true when written.
  bool Save();

 private:
  std::function<QString(const QString&)> choose_file_;
  std::function<void(const QString&)> message_;
  QPlainTextEdit* text_ = nullptr;
  QPushButton* copy_button_ = nullptr;
  QPushButton* save_button_ = nullptr;
  QPushButton* close_button_ = nullptr;
};

}  // namespace statcrane
