#include "app/window/run_report_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace statcrane {

RunReportDialog::RunReportDialog(const QString& report,
                                 std::function<QString(const QString&)> choose_file,
                                 std::function<void(const QString&)> message, QWidget* parent)
    : QDialog(parent), choose_file_(std::move(choose_file)), message_(std::move(message)) {
  setObjectName(QStringLiteral("run_report_dialog"));
  setWindowTitle(QStringLiteral("Run Report"));
  text_ = new QPlainTextEdit(report, this);
  text_->setObjectName(QStringLiteral("report_text"));
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttons = new QDialogButtonBox(this);
  copy_button_ = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
  copy_button_->setObjectName(QStringLiteral("copy_button"));
  save_button_ = buttons->addButton(QStringLiteral("&Save..."), QDialogButtonBox::ActionRole);
  save_button_->setObjectName(QStringLiteral("save_button"));
  close_button_ = buttons->addButton(QDialogButtonBox::Close);
  close_button_->setObjectName(QStringLiteral("close_button"));
  close_button_->setDefault(true);
  connect(copy_button_, &QPushButton::clicked, this, &RunReportDialog::Copy);
  connect(save_button_, &QPushButton::clicked, this, &RunReportDialog::Save);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(buttons);
  const QFontMetrics metrics(text_->font());
  resize(metrics.horizontalAdvance(QLatin1Char('x')) * 84, metrics.lineSpacing() * 28);
}

QString RunReportDialog::text() const { return text_->toPlainText(); }

void RunReportDialog::Copy() { QApplication::clipboard()->setText(text()); }

bool RunReportDialog::Save() {
  const QString path =
      choose_file_(QDir::home().filePath(QStringLiteral("StatCrane run report.txt")));
  if (path.isEmpty()) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(text().toUtf8()) < 0 ||
      !file.commit()) {
    message_(QStringLiteral("The report could not be saved as %1: %2")
                 .arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
  }
  return true;
}

}  // namespace statcrane
