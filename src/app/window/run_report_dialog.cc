#include "app/window/run_report_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/window_texts.h"

namespace statcrane {
namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

RunReportDialog::RunReportDialog(const QString& report, std::function<bool()> save, QWidget* parent)
    : QDialog(parent), save_(std::move(save)) {
  setObjectName(QStringLiteral("run_report_dialog"));
  setWindowTitle(Text(window_text::kReportTitle));
  text_ = new QPlainTextEdit(report, this);
  text_->setObjectName(QStringLiteral("report_text"));
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttons = new QDialogButtonBox(this);
  copy_button_ = buttons->addButton(Text(window_text::kCopy), QDialogButtonBox::ActionRole);
  copy_button_->setObjectName(QStringLiteral("copy_button"));
  save_button_ = buttons->addButton(Text(window_text::kSave), QDialogButtonBox::ActionRole);
  save_button_->setObjectName(QStringLiteral("save_button"));
  close_button_ = buttons->addButton(QDialogButtonBox::Close);
  close_button_->setObjectName(QStringLiteral("close_button"));
  close_button_->setDefault(true);
  connect(copy_button_, &QPushButton::clicked, this, &RunReportDialog::Copy);
  connect(save_button_, &QPushButton::clicked, this, [this] { save_(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(buttons);
  const QFontMetrics metrics(text_->font());
  resize(metrics.horizontalAdvance(QLatin1Char('x')) * 84, metrics.lineSpacing() * 28);
}

QString RunReportDialog::text() const { return text_->toPlainText(); }

void RunReportDialog::Copy() { QApplication::clipboard()->setText(text()); }

}  // namespace statcrane
