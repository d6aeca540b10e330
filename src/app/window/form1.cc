#include "app/window/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>

#include "app/window/run_bridge.h"
#include "app/window/workbook_name.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "util/error.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

// How long a run may take to notice a stop request after the window closed
// before the program ends without it. Writing a large workbook cannot be
// interrupted and takes several seconds.
constexpr int kStopGraceMs = 120000;

fs::path ToPath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

QString FromPath(const fs::path& path) { return QFile::decodeName(path.native().c_str()); }

QString Clean(const QString& folder) { return QDir::cleanPath(QDir(folder).absolutePath()); }

bool IsReadableFolder(const QString& folder) {
  const QFileInfo info(folder);
  return !folder.isEmpty() && info.isDir() && info.isReadable() && QStorageInfo(folder).isReady();
}

QString VolumeOf(const QString& folder) { return QStorageInfo(folder).rootPath(); }

// The machine's mounted volumes that hold folders.
QStringList MountedVolumes() {
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir()) {
      roots << volume.rootPath();
    }
  }
  roots.sort();
  roots.removeDuplicates();
  return roots;
}

// A run that returns instead of throwing, whatever the run function does.
RunResult CallRun(const RunFunction& run, const RunOptions& options, RunObserver& observer,
                  RememberedFolder* remembered) {
  try {
    return run(options, observer, remembered);
  } catch (const RunStopped&) {
    RunResult result;
    result.stopped = true;
    return result;
  } catch (const StatCraneError& error) {
    RunResult result;
    result.error = error;
    return result;
  } catch (const std::bad_alloc&) {
    RunResult result;
    result.error = StatCraneError("Out of memory");
    return result;
  } catch (const std::exception& error) {
    RunResult result;
    result.error = StatCraneError(error.what());
    return result;
  }
}

QString ErrorText(const StatCraneError& error) {
  return QString::fromUtf8(error.message().c_str());
}

}  // namespace

WindowSetup DesktopSetup() {
  WindowSetup setup;
  setup.program_folder = QCoreApplication::applicationDirPath();
  setup.config_folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  setup.start_folder = QDir::currentPath();
  setup.home_folder = QDir::homePath();
  setup.documents_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (setup.documents_folder.isEmpty()) setup.documents_folder = setup.home_folder;
  setup.run = RunProcessing;
  setup.open_workbook = [](const QString& path) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
      QMessageBox::information(QApplication::activeWindow(), QCoreApplication::applicationName(),
                               QStringLiteral("No application was found to open the workbook. "
                                              "It is saved as\n%1")
                                   .arg(QDir::toNativeSeparators(path)));
    }
  };
  setup.message = [](QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
  };
  return setup;
}

Form1::Form1(WindowSetup setup, QWidget* parent) : QWidget(parent), setup_(std::move(setup)) {
  if (!setup_.run) setup_.run = RunProcessing;
  if (!setup_.open_workbook) setup_.open_workbook = [](const QString&) {};
  if (!setup_.message) setup_.message = [](QMessageBox::Icon, const QString&) {};
  BuildControls();
  Form_Load();
}

Form1::~Form1() {
  if (worker_ != nullptr) {
    bridge_->RequestStop();
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    QApplication::restoreOverrideCursor();
  }
}

void Form1::BuildControls() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("STATCRANE (07/10/2011)"));

  auto bold = [](QLabel* label) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  };
  auto named = [](QWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
  };
  auto text_box = [&](const char* name) {
    auto* box = new QLineEdit(this);
    named(box, name);
    box->setReadOnly(true);
    return box;
  };

  Label1 = new QLabel(QStringLiteral("Encyclopedia Drive"), this);
  named(Label1, "Label1");
  bold(Label1);
  drv1 = new QComboBox(this);
  named(drv1, "drv1");
  Label2 = new QLabel(QStringLiteral("Encyclopedia Folder"), this);
  named(Label2, "Label2");
  bold(Label2);

  dir1_model_ = new QFileSystemModel(this);
  dir1_model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  dir1_model_->setRootPath(QString());
  dir1 = new QTreeView(this);
  named(dir1, "dir1");
  dir1->setModel(dir1_model_);
  for (int column = 1; column < dir1_model_->columnCount(); ++column) dir1->hideColumn(column);
  dir1->setHeaderHidden(true);
  dir1->setMinimumSize(145, 111);
  fle1 = new QFileSystemWatcher(this);
  fle1->setObjectName(QStringLiteral("fle1"));

  Label4 = new QLabel(QStringLiteral("Processing Started"), this);
  named(Label4, "Label4");
  txtstarttime = text_box("txtstarttime");
  Label5 = new QLabel(QStringLiteral("Processing Ended"), this);
  named(Label5, "Label5");
  txtendtime = text_box("txtendtime");

  Frame1 = new QGroupBox(QStringLiteral("Spreadsheet Viewing"), this);
  named(Frame1, "Frame1");
  opt1 = new QRadioButton(QStringLiteral("View While Processing"), Frame1);
  named(opt1, "opt1");
  opt2 = new QRadioButton(QStringLiteral("View After Completed"), Frame1);
  named(opt2, "opt2");
  auto* frame1_layout = new QVBoxLayout(Frame1);
  frame1_layout->addWidget(opt1);
  frame1_layout->addWidget(opt2);

  Frame2 = new QGroupBox(QStringLiteral("Spreadsheets Desired"), this);
  named(Frame2, "Frame2");
  opt3 = new QRadioButton(QStringLiteral("Players Only"), Frame2);
  named(opt3, "opt3");
  opt4 = new QRadioButton(QStringLiteral("Teams Only"), Frame2);
  named(opt4, "opt4");
  opt5 = new QRadioButton(QStringLiteral("Players and Teams"), Frame2);
  named(opt5, "opt5");
  auto* frame2_layout = new QVBoxLayout(Frame2);
  frame2_layout->addWidget(opt3);
  frame2_layout->addWidget(opt4);
  frame2_layout->addWidget(opt5);

  Label3 = new QLabel(QStringLiteral("Player being Processed"), this);
  named(Label3, "Label3");
  txt1 = text_box("txt1");
  prgPhase = new QProgressBar(this);
  named(prgPhase, "prgPhase");
  prgPhase->setRange(0, 1000);
  prgPhase->setValue(0);
  prgPhase->setTextVisible(false);
  prgPhase->setMaximumHeight(16);

  lblOutputFolder = new QLabel(QStringLiteral("Workbook Folder"), this);
  named(lblOutputFolder, "lblOutputFolder");
  txtOutputFolder = text_box("txtOutputFolder");
  cmdOutputFolder = new QPushButton(QStringLiteral("&Change..."), this);
  named(cmdOutputFolder, "cmdOutputFolder");
  lblSavedWorkbook = new QLabel(QStringLiteral("Workbook Saved"), this);
  named(lblSavedWorkbook, "lblSavedWorkbook");
  txtSavedWorkbook = text_box("txtSavedWorkbook");

  cmdProcess = new QPushButton(QStringLiteral("Process"), this);
  named(cmdProcess, "cmdProcess");
  cmdReport = new QPushButton(QStringLiteral("Run &Report"), this);
  named(cmdReport, "cmdReport");
  cmdExit = new QPushButton(QStringLiteral("E&XIT"), this);
  named(cmdExit, "cmdExit");
  for (QPushButton* button : {cmdProcess, cmdReport, cmdExit}) button->setMinimumSize(73, 41);

  // Drive and folder on the left, time stamps and options on the right.
  auto* left = new QVBoxLayout;
  left->addWidget(Label1);
  left->addWidget(drv1);
  left->addSpacing(6);
  left->addWidget(Label2);
  left->addWidget(dir1, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(Label4);
  right->addWidget(txtstarttime);
  right->addWidget(Label5);
  right->addWidget(txtendtime);
  right->addSpacing(6);
  right->addWidget(Frame1);
  right->addWidget(Frame2);
  right->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addLayout(left, 1);
  top->addSpacing(24);
  top->addLayout(right, 1);

  auto* progress = new QVBoxLayout;
  progress->addWidget(Label3, 0, Qt::AlignHCenter);
  progress->addWidget(txt1);
  progress->addWidget(prgPhase);

  auto* files = new QGridLayout;
  files->addWidget(lblOutputFolder, 0, 0);
  files->addWidget(txtOutputFolder, 0, 1);
  files->addWidget(cmdOutputFolder, 0, 2);
  files->addWidget(lblSavedWorkbook, 1, 0);
  files->addWidget(txtSavedWorkbook, 1, 1, 1, 2);
  files->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdProcess);
  buttons->addStretch(1);
  buttons->addWidget(cmdReport);
  buttons->addStretch(1);
  buttons->addWidget(cmdExit);
  buttons->addStretch(1);

  auto* form = new QVBoxLayout(this);
  form->setContentsMargins(24, 12, 24, 12);
  form->addLayout(top, 1);
  form->addSpacing(6);
  form->addLayout(progress);
  form->addSpacing(6);
  form->addLayout(files);
  form->addSpacing(6);
  form->addLayout(buttons);

  // E&XIT first, then Process, the lists, the progress texts and the options;
  // the workbook controls last.
  QWidget* order[] = {cmdExit,
                      cmdProcess,
                      drv1,
                      dir1,
                      txt1,
                      txtstarttime,
                      txtendtime,
                      opt1,
                      opt2,
                      opt3,
                      opt4,
                      opt5,
                      txtOutputFolder,
                      cmdOutputFolder,
                      txtSavedWorkbook,
                      cmdReport};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  cmdExit->setFocus();
  resize(std::max(483, sizeHint().width()), std::max(414, sizeHint().height()));

  bridge_ = new RunBridge(this);
  connect(bridge_, &RunBridge::progressText, txt1, &QLineEdit::setText);
  connect(bridge_, &RunBridge::startTime, txtstarttime, &QLineEdit::setText, Qt::QueuedConnection);
  connect(bridge_, &RunBridge::endTime, txtendtime, &QLineEdit::setText, Qt::QueuedConnection);
  connect(bridge_, &RunBridge::phaseProgress, this, &Form1::ShowPhaseProgress);
  connect(bridge_, &RunBridge::viewingTookEffect, this, &Form1::ViewingTookEffect,
          Qt::QueuedConnection);

  connect(drv1, &QComboBox::activated, this, &Form1::drv1_Change);
  connect(dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) dir1_Change(dir1_model_->filePath(current));
          });
  // The folder model fills in the background: once the folders on the way
  // to the shown one are listed, bring it into view.
  connect(dir1_model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
    const QString shown = dir1_model_->filePath(dir1->currentIndex());
    if (shown == loaded || shown.startsWith(loaded.endsWith('/') ? loaded : loaded + '/')) {
      dir1->scrollTo(dir1->currentIndex(), QAbstractItemView::PositionAtCenter);
    }
  });
  connect(fle1, &QFileSystemWatcher::directoryChanged, this, &Form1::UpdateProcess);
  connect(cmdProcess, &QPushButton::clicked, this, &Form1::cmdProcess_Click);
  connect(cmdExit, &QPushButton::clicked, this, &Form1::cmdExit_Click);
  connect(cmdOutputFolder, &QPushButton::clicked, this, &Form1::cmdOutputFolder_Click);
  connect(cmdReport, &QPushButton::clicked, this, &Form1::cmdReport_Click);
}

void Form1::Form_Load() {
  opt1->setChecked(true);
  opt5->setChecked(true);
  cmdProcess->setEnabled(false);
  cmdReport->setEnabled(false);
  txt1->clear();
  txtstarttime->clear();
  txtendtime->clear();
  for (const QString& root : MountedVolumes()) drv1->addItem(root, root);
  read_path();

  QString output;
  if (remembered_ != nullptr && !startup_error_) {
    if (const auto saved = remembered_->ReadOutputFolder()) output = FromPath(*saved);
  }
  if (output.isEmpty() || !QFileInfo(output).isDir()) output = setup_.documents_folder;
  output_folder_ = Clean(output);
  txtOutputFolder->setText(QDir::toNativeSeparators(output_folder_));
  txtOutputFolder->setToolTip(txtOutputFolder->text());
}

void Form1::read_path() {
  remembered_ = std::make_unique<RememberedFolderFile>(ToPath(setup_.program_folder),
                                                       ToPath(setup_.config_folder));
  std::optional<fs::path> folder;
  try {
    folder = remembered_->read_path();
  } catch (const StatCraneError& error) {
    startup_error_ = error;
  }
  // First start shows the current folder. A remembered folder that is gone
  // or on a volume that cannot be read gives way to the home folder.
  const QString wanted = folder ? FromPath(*folder) : setup_.start_folder;
  if (!ShowFolder(wanted)) ShowFolder(setup_.home_folder);
}

bool Form1::ShowFolder(const QString& folder) {
  if (!IsReadableFolder(folder)) return false;
  const QString path = Clean(folder);
  const QModelIndex index = dir1_model_->index(path);
  if (!index.isValid()) return false;
  if (dir1->currentIndex() == index) {
    dir1_Change(path);
  } else {
    dir1->setCurrentIndex(index);
  }
  dir1->expand(index);
  dir1->scrollTo(index, QAbstractItemView::PositionAtCenter);
  return true;
}

void Form1::drv1_Change(int index) {
  const QString root = drv1->itemData(index).toString();
  if (!IsReadableFolder(root)) {
    SelectDrive(EncyclopediaFolder_);
    setup_.message(
        QMessageBox::Warning,
        QStringLiteral("The drive %1 cannot be read.").arg(QDir::toNativeSeparators(root)));
    return;
  }
  // The folder list goes to the folder last shown on that drive, or its root.
  if (!ShowFolder(drive_folders_.value(root, root))) ShowFolder(root);
}

void Form1::dir1_Change(const QString& folder) {
  EncyclopediaFolder_ = folder;
  SelectDrive(folder);
  drive_folders_.insert(VolumeOf(folder), folder);
  if (!fle1->directories().isEmpty()) fle1->removePaths(fle1->directories());
  fle1->addPath(folder);
  UpdateProcess();
}

void Form1::UpdateProcess() {
  process_allowed_ = !EncyclopediaFolder_.isEmpty() &&
                     statcrane::EncyclopediaFolder(ToPath(EncyclopediaFolder_)).HasTeamFile();
  cmdProcess->setEnabled(process_allowed_ && !running());
  // A folder that was removed and made again needs watching anew.
  if (!EncyclopediaFolder_.isEmpty() && fle1->directories().isEmpty() &&
      QFileInfo(EncyclopediaFolder_).isDir()) {
    fle1->addPath(EncyclopediaFolder_);
  }
}

void Form1::SelectDrive(const QString& folder) {
  if (folder.isEmpty()) return;
  const QString root = VolumeOf(folder);
  int index = drv1->findData(root);
  if (index < 0) {
    drv1->addItem(root, root);
    index = drv1->count() - 1;
  }
  drv1->setCurrentIndex(index);
}

void Form1::SetOutputFolder(const QString& folder) {
  output_folder_ = Clean(folder);
  txtOutputFolder->setText(QDir::toNativeSeparators(output_folder_));
  txtOutputFolder->setToolTip(txtOutputFolder->text());
  try {
    if (remembered_ != nullptr) remembered_->SaveOutputFolder(ToPath(output_folder_));
  } catch (const StatCraneError& error) {
    setup_.message(
        QMessageBox::Warning,
        ErrorText(error) + QStringLiteral("\n\nThe folder is used until the program ends."));
  }
}

void Form1::cmdOutputFolder_Click() {
  const QString folder =
      QFileDialog::getExistingDirectory(this, QStringLiteral("Workbook Folder"), output_folder_);
  if (!folder.isEmpty()) SetOutputFolder(folder);
}

void Form1::cmdReport_Click() {
  if (!have_report_) return;
  setup_.message(QMessageBox::Information, QStringLiteral("Run report\n\n") +
                                               QString::fromUtf8(last_report_.Format().c_str()));
}

void Form1::cmdExit_Click() { close(); }

void Form1::closeEvent(QCloseEvent* event) {
  event->accept();
  if (running()) {
    // The run stops at its next check and writes no workbook; the program
    // ends once its thread has returned.
    closing_ = true;
    bridge_->RequestStop();
    QTimer::singleShot(kStopGraceMs, this, [this] {
      if (!running()) return;
      std::fputs("statcrane: the run did not stop in time; ending without it\n", stderr);
      QFile::remove(run_output_);
      std::_Exit(exit_status_ != 0 ? exit_status_ : 1);
    });
    return;
  }
  emit programEnded(exit_status_);
}

void Form1::cmdProcess_Click() {
  if (running() || !process_allowed_) return;
  RunOptions options;
  options.EncyclopediaFolder = ToPath(EncyclopediaFolder_);
  options.sheets = opt3->isChecked()   ? SheetChoice::kPlayersOnly
                   : opt4->isChecked() ? SheetChoice::kTeamsOnly
                                       : SheetChoice::kPlayersAndTeams;
  options.viewing =
      opt2->isChecked() ? ViewingChoice::kViewAfterCompleted : ViewingChoice::kViewWhileProcessing;
  QDir().mkpath(output_folder_);
  run_output_ = NewWorkbookPath(output_folder_, QDateTime::currentDateTime());
  options.output = ToPath(run_output_);
  options.overwrite = false;

  viewing_this_run_ = false;
  txtSavedWorkbook->clear();
  txtSavedWorkbook->setToolTip(QString());
  prgPhase->setValue(0);
  SetInputEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bridge_->Reset();
  result_.reset();
  RememberedFolder* remembered = remembered_.get();
  worker_ = QThread::create([this, options, remembered] {
    result_ = CallRun(setup_.run, options, *bridge_, remembered);
  });
  connect(worker_, &QThread::finished, this, &Form1::RunEnded, Qt::QueuedConnection);
  worker_->start();
}

void Form1::ViewingTookEffect() {
  viewing_this_run_ = true;
  viewing_fixed_ = true;
  opt1->setEnabled(false);
  opt2->setEnabled(false);
}

void Form1::ShowPhaseProgress(const QString& phase, qint64 done, qint64 total) {
  prgPhase->setTextVisible(true);
  prgPhase->setFormat(phase + QStringLiteral(" %p%"));
  prgPhase->setValue(total > 0 ? static_cast<int>(std::clamp<qint64>(done, 0, total) * 1000 / total)
                               : 0);
}

void Form1::SetInputEnabled(bool enabled) {
  for (QWidget* widget :
       std::initializer_list<QWidget*>{drv1, dir1, opt3, opt4, opt5, cmdOutputFolder}) {
    widget->setEnabled(enabled);
  }
  opt1->setEnabled(enabled && !viewing_fixed_);
  opt2->setEnabled(enabled && !viewing_fixed_);
  cmdProcess->setEnabled(enabled && process_allowed_);
  cmdReport->setEnabled(enabled && have_report_);
}

void Form1::RunEnded() {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  QApplication::restoreOverrideCursor();
  bridge_->Deliver();  // the last progress text, when still on its way
  const RunResult result = result_.value_or(RunResult{});
  result_.reset();
  if (closing_) {
    // The stop came while the workbook was being written: a stopped run
    // leaves no workbook.
    if (result.saved) QFile::remove(run_output_);
    emit programEnded(exit_status_);
    return;
  }

  last_report_ = result.report;
  have_report_ = true;
  UpdateProcess();  // the folder may have changed while the run went on
  SetInputEnabled(true);
  if (result.saved) {
    txtSavedWorkbook->setText(QDir::toNativeSeparators(run_output_));
    txtSavedWorkbook->setToolTip(txtSavedWorkbook->text());
  }
  if (result.completed) {
    prgPhase->setFormat(QStringLiteral("%p%"));
    prgPhase->setValue(prgPhase->maximum());
  }

  for (const std::string& message : result.report.SeasonTypeMessages()) {
    setup_.message(QMessageBox::Information, QString::fromUtf8(message.c_str()));
  }
  if (result.error) {
    QString text = ErrorText(*result.error) + QStringLiteral("\n\n");
    if (result.saved && result.report.incomplete) {
      text += QStringLiteral("The run ended early. The workbook was saved incomplete:\n%1")
                  .arg(QDir::toNativeSeparators(run_output_));
    } else if (result.saved) {
      text +=
          QStringLiteral("The workbook was saved:\n%1").arg(QDir::toNativeSeparators(run_output_));
    } else {
      text += QStringLiteral("The run ended early. No workbook could be saved.");
    }
    text += QStringLiteral("\n\nThe program ends.");
    setup_.message(QMessageBox::Critical, text);
  }
  if (result.saved && viewing_this_run_) setup_.open_workbook(run_output_);
  emit runFinished();
  if (result.error) {
    exit_status_ = 1;
    close();
  }
}

}  // namespace statcrane
