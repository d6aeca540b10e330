#include "app/window/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCollator>
#include <QComboBox>
#include <QCompleter>
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
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/output_check.h"
#include "app/window/run_bridge.h"
#include "app/window/run_report_dialog.h"
#include "app/window/window_support.h"
#include "app/window/workbook_name.h"
#include "util/error.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

// Folder names in the order a file manager lists them: the user's language's
// collation, case ignored, numbers by value ("2" before "10").
class FoldersByName : public QSortFilterProxyModel {
 public:
  explicit FoldersByName(QObject* parent) : QSortFilterProxyModel(parent) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(true);
  }

 protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
    return collator_.compare(left.data().toString(), right.data().toString()) < 0;
  }

 private:
  QCollator collator_;
};

// How long a run may take to notice a stop request after the window closed
// before the program ends without it. Writing a large workbook cannot be
// interrupted and takes several seconds.
constexpr int kStopGraceMs = 120000;

fs::path ToPath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

QString FromPath(const fs::path& path) { return QFile::decodeName(path.native().c_str()); }

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.c_str()); }

QString Clean(const QString& folder) { return QDir::cleanPath(QDir(folder).absolutePath()); }

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

bool IsReadableFolder(const QString& folder) {
  const QFileInfo info(folder);
  return !folder.isEmpty() && info.isDir() && info.isReadable() && QStorageInfo(folder).isReady();
}

QString VolumeOf(const QString& folder) { return QStorageInfo(folder).rootPath(); }

// A typed path: "~" for the home folder, either kind of separator.
QString ExpandTypedPath(QString text) {
  text = text.trimmed();
  if (text == QLatin1String("~") || text.startsWith(QLatin1String("~/"))) {
    text.replace(0, 1, QDir::homePath());
  }
  return text.isEmpty() ? text : Clean(QDir::fromNativeSeparators(text));
}

// A run that returns instead of throwing, whatever the run function does.
RunResult CallRun(const RunFunction& run, const RunOptions& options, RunObserver& observer,
                  RememberedFolder* remembered) {
  try {
    return run(options, observer, remembered);
  } catch (...) {
    RunResult result;
    RecordRunException(result);
    return result;
  }
}

// The run saves the folder of a completed run through this; the window
// writes it once the run has ended, on its own thread.
class FolderOfCompletedRun : public RememberedFolder {
 public:
  explicit FolderOfCompletedRun(std::optional<fs::path>& folder) : folder_(folder) {}
  void Save(const fs::path& folder) override { folder_ = folder; }

 private:
  std::optional<fs::path>& folder_;
};

QLabel* BoldLabel(const QString& text, QWidget* parent, const char* name) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

// A text box the program fills: selectable with the mouse, passed over by Tab.
QLineEdit* ShownText(QWidget* parent, const char* name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::ClickFocus);
  return box;
}

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

WindowSetup DesktopSetup() {
  WindowSetup setup;
  // An installed program (in a "bin" folder) keeps its settings in the
  // user's configuration folder only; a copy run from its build or unpacked
  // folder keeps them beside itself.
  setup.program_folder = QCoreApplication::applicationDirPath();
  if (QFileInfo(setup.program_folder).fileName() == QLatin1String("bin")) {
    setup.program_folder.clear();
  }
  setup.config_folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  setup.start_folder = QDir::currentPath();
  setup.home_folder = QDir::homePath();
  setup.documents_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (setup.documents_folder.isEmpty()) setup.documents_folder = setup.home_folder;
  setup.run = RunProcessing;
  setup.open_workbook = [](const QString& path) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
      QMessageBox::information(QApplication::activeWindow(), QStringLiteral("StatCrane"),
                               QStringLiteral("No application was found to open the workbook. "
                                              "It is saved as\n%1")
                                   .arg(Native(path)));
    }
  };
  setup.message = [](QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QStringLiteral("StatCrane"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
  };
  setup.ask = [](const QString& question) {
    return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("StatCrane"),
                                 question) == QMessageBox::Yes;
  };
  setup.choose_folder = [](const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, start);
  };
  setup.choose_report_file = [](const QString& suggested) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(),
                                        QStringLiteral("Save Run Report"), suggested,
                                        QStringLiteral("Text files (*.txt)"));
  };
  setup.show_dialog = [](QDialog& dialog) { dialog.exec(); };
  return setup;
}

MainWindow::MainWindow(WindowSetup setup, QWidget* parent)
    : QWidget(parent), setup_(std::move(setup)) {
  if (!setup_.run) setup_.run = RunProcessing;
  if (!setup_.open_workbook) setup_.open_workbook = [](const QString&) {};
  if (!setup_.message) setup_.message = [](QMessageBox::Icon, const QString&) {};
  if (!setup_.ask) setup_.ask = [](const QString&) { return true; };
  if (!setup_.choose_folder)
    setup_.choose_folder = [](const QString&, const QString&) { return QString(); };
  if (!setup_.choose_report_file)
    setup_.choose_report_file = [](const QString&) { return QString(); };
  if (!setup_.show_dialog) setup_.show_dialog = [](QDialog&) {};

  setObjectName(QStringLiteral("main_window"));
  setWindowTitle(QStringLiteral("StatCrane"));
  setWindowIcon(QIcon(QStringLiteral(":/statcrane/statcrane.png")));

  auto* left = new QVBoxLayout;
  left->addLayout(BuildFolderChoice(), 1);
  auto* right = new QVBoxLayout;
  right->addLayout(BuildTimeStamps());
  right->addSpacing(6);
  right->addWidget(BuildViewingOptions());
  right->addWidget(BuildSheetOptions());
  right->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addLayout(left, 3);
  top->addSpacing(18);
  top->addLayout(right, 2);

  auto* window = new QVBoxLayout(this);
  window->setContentsMargins(18, 12, 18, 12);
  window->addLayout(top, 1);
  window->addSpacing(6);
  window->addLayout(BuildProgress());
  window->addSpacing(6);
  window->addLayout(BuildWorkbookFolder());
  window->addSpacing(6);
  window->addLayout(BuildButtons());

  bridge_ = new RunBridge(this);
  SetTabOrder();
  ConnectControls();
  RestoreState();
  folder_path_->setFocus();
  resize(std::max(640, sizeHint().width()), std::max(520, sizeHint().height()));
}

MainWindow::~MainWindow() {
  if (worker_ != nullptr) {
    bridge_->RequestStop();
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    QApplication::restoreOverrideCursor();
  }
}

QLayout* MainWindow::BuildFolderChoice() {
  folder_label_ = BoldLabel(QStringLiteral("Encyclopedia &Folder"), this, "folder_label");
  folder_path_ = Named(new QLineEdit(this), "folder_path");
  folder_path_->setPlaceholderText(QStringLiteral("Type or paste the folder's path"));
  folder_path_->setClearButtonEnabled(true);
  auto* completion_model = new QFileSystemModel(this);
  completion_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  completion_model->setRootPath(QString());
  auto* completer = new QCompleter(completion_model, this);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  folder_path_->setCompleter(completer);
  folder_label_->setBuddy(folder_path_);
  browse_button_ = Named(new QPushButton(QStringLiteral("&Browse..."), this), "browse_button");
  folder_hint_ = Named(new QLabel(this), "folder_hint");
  folder_hint_->setWordWrap(true);

  drive_label_ = BoldLabel(QStringLiteral("Encyclopedia &Drive"), this, "drive_label");
  drive_list_ = Named(new QComboBox(this), "drive_list");
  drive_label_->setBuddy(drive_list_);

  folder_model_ = new QFileSystemModel(this);
  folder_model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folder_tree_ = Named(new QTreeView(this), "folder_tree");
  // The file model keeps a folder's folders in the order it came across them
  // (the folders on the way to the one shown first); sorted here by name,
  // as a file manager lists them.
  folders_by_name_ = new FoldersByName(this);
  folders_by_name_->setSourceModel(folder_model_);
  folders_by_name_->sort(0, Qt::AscendingOrder);
  folder_tree_->setModel(folders_by_name_);
  for (int column = 1; column < folder_model_->columnCount(); ++column) {
    folder_tree_->hideColumn(column);
  }
  folder_tree_->setHeaderHidden(true);
  // Long names scroll sideways instead of being cut off.
  folder_tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  folder_tree_->header()->setStretchLastSection(false);
  folder_tree_->setMinimumSize(220, 160);
  folder_watcher_ = new QFileSystemWatcher(this);

  auto* path_row = new QHBoxLayout;
  path_row->addWidget(folder_path_, 1);
  path_row->addWidget(browse_button_);
  auto* drive_row = new QHBoxLayout;
  drive_row->addWidget(drive_label_);
  drive_row->addWidget(drive_list_, 1);
  auto* layout = new QVBoxLayout;
  layout->addWidget(folder_label_);
  layout->addLayout(path_row);
  layout->addWidget(folder_hint_);
  layout->addSpacing(4);
  layout->addLayout(drive_row);
  layout->addWidget(folder_tree_, 1);
  return layout;
}

QLayout* MainWindow::BuildTimeStamps() {
  started_label_ = Named(new QLabel(QStringLiteral("Processing Started"), this), "started_label");
  started_time_ = ShownText(this, "started_time");
  ended_label_ = Named(new QLabel(QStringLiteral("Processing Ended"), this), "ended_label");
  ended_time_ = ShownText(this, "ended_time");
  auto* layout = new QVBoxLayout;
  layout->addWidget(started_label_);
  layout->addWidget(started_time_);
  layout->addWidget(ended_label_);
  layout->addWidget(ended_time_);
  return layout;
}

QWidget* MainWindow::BuildViewingOptions() {
  viewing_group_ =
      Named(new QGroupBox(QStringLiteral("Spreadsheet Viewing"), this), "viewing_group");
  view_while_processing_ = Named(
      new QRadioButton(QStringLiteral("View &While Processing"), viewing_group_), "view_while");
  view_after_completed_ = Named(
      new QRadioButton(QStringLiteral("View &After Completed"), viewing_group_), "view_after");
  dont_open_ = Named(new QRadioButton(QStringLiteral("Do&n't open"), viewing_group_), "dont_open");
  auto* layout = new QVBoxLayout(viewing_group_);
  layout->addWidget(view_while_processing_);
  layout->addWidget(view_after_completed_);
  layout->addWidget(dont_open_);
  return viewing_group_;
}

QWidget* MainWindow::BuildSheetOptions() {
  sheets_group_ =
      Named(new QGroupBox(QStringLiteral("Spreadsheets Desired"), this), "sheets_group");
  players_only_ =
      Named(new QRadioButton(QStringLiteral("P&layers Only"), sheets_group_), "players_only");
  teams_only_ = Named(new QRadioButton(QStringLiteral("&Teams Only"), sheets_group_), "teams_only");
  players_and_teams_ = Named(new QRadioButton(QStringLiteral("Players and Tea&ms"), sheets_group_),
                             "players_and_teams");
  player_index_ =
      Named(new QCheckBox(QStringLiteral("Player &index"), sheets_group_), "player_index");
  player_index_->setToolTip(
      QStringLiteral("A first sheet \"Index\" with a link to every player and team"));
  auto* layout = new QVBoxLayout(sheets_group_);
  layout->addWidget(players_only_);
  layout->addWidget(teams_only_);
  layout->addWidget(players_and_teams_);
  layout->addSpacing(4);
  layout->addWidget(player_index_);
  return sheets_group_;
}

QLayout* MainWindow::BuildProgress() {
  progress_label_ =
      Named(new QLabel(QStringLiteral("Player being Processed"), this), "progress_label");
  progress_text_ = ShownText(this, "progress_text");
  progress_bar_ = Named(new QProgressBar(this), "progress_bar");
  progress_bar_->setRange(0, 100);
  progress_bar_->setValue(0);
  progress_bar_->setTextVisible(false);
  progress_bar_->setMaximumHeight(16);
  status_icon_ = Named(new QLabel(this), "status_icon");
  status_text_ = Named(new QLabel(this), "status_text");
  status_text_->setWordWrap(true);
  status_text_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* status = new QHBoxLayout;
  status->addWidget(status_icon_, 0, Qt::AlignTop);
  status->addWidget(status_text_, 1);
  auto* layout = new QVBoxLayout;
  layout->addWidget(progress_label_, 0, Qt::AlignHCenter);
  layout->addWidget(progress_text_);
  layout->addWidget(progress_bar_);
  layout->addLayout(status);
  return layout;
}

QLayout* MainWindow::BuildWorkbookFolder() {
  output_folder_label_ =
      Named(new QLabel(QStringLiteral("Workbook Folder"), this), "output_folder_label");
  output_folder_text_ = ShownText(this, "output_folder");
  change_output_button_ =
      Named(new QPushButton(QStringLiteral("&Change..."), this), "change_output_button");
  saved_label_ = Named(new QLabel(QStringLiteral("Workbook Saved"), this), "saved_label");
  saved_workbook_ = ShownText(this, "saved_workbook");
  auto* layout = new QGridLayout;
  layout->addWidget(output_folder_label_, 0, 0);
  layout->addWidget(output_folder_text_, 0, 1);
  layout->addWidget(change_output_button_, 0, 2);
  layout->addWidget(saved_label_, 1, 0);
  layout->addWidget(saved_workbook_, 1, 1, 1, 2);
  layout->setColumnStretch(1, 1);
  return layout;
}

QLayout* MainWindow::BuildButtons() {
  process_button_ = Named(new QPushButton(QStringLiteral("&Process"), this), "process_button");
  process_button_->setDefault(true);
  report_button_ = Named(new QPushButton(QStringLiteral("Run &Report"), this), "report_button");
  about_button_ = Named(new QPushButton(QStringLiteral("Abo&ut"), this), "about_button");
  exit_button_ = Named(new QPushButton(QStringLiteral("E&XIT"), this), "exit_button");
  for (QPushButton* button : {process_button_, report_button_, about_button_, exit_button_}) {
    button->setMinimumSize(88, 36);
  }
  auto* layout = new QHBoxLayout;
  layout->addWidget(process_button_);
  layout->addStretch(1);
  layout->addWidget(report_button_);
  layout->addWidget(about_button_);
  layout->addStretch(1);
  layout->addWidget(exit_button_);
  return layout;
}

void MainWindow::SetTabOrder() {
  // Down the left column, down the right one, then the bottom rows; the
  // boxes the program fills are passed over.
  QWidget* order[] = {folder_path_,       browse_button_,         drive_list_,
                      folder_tree_,       view_while_processing_, view_after_completed_,
                      dont_open_,         players_only_,          teams_only_,
                      players_and_teams_, player_index_,          change_output_button_,
                      process_button_,    report_button_,         about_button_,
                      exit_button_};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void MainWindow::ConnectControls() {
  connect(bridge_, &RunBridge::progressText, this, [this](const QString& text) {
    progress_.Text(text.toStdString());
    ShowProgress();
  });
  connect(bridge_, &RunBridge::phaseProgress, this,
          [this](const QString& phase, qint64 done, qint64 total) {
            progress_.Phase(phase.toStdString(), done, total);
            ShowProgress();
          });

  connect(folder_path_, &QLineEdit::editingFinished, this, &MainWindow::ApplyTypedPath);
  connect(browse_button_, &QPushButton::clicked, this, &MainWindow::BrowseForFolder);
  connect(drive_list_, &QComboBox::activated, this, &MainWindow::DriveChosen);
  connect(folder_tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) {
              FolderSelected(folder_model_->filePath(folders_by_name_->mapToSource(current)));
            }
          });
  // The folder model fills in the background: while the folders on the way
  // to the one asked for are listed, keep it in view. Once it is listed, or
  // the user scrolls, the list stays where it is.
  connect(folder_model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
    if (pending_scroll_.isEmpty()) return;
    const QString prefix = loaded.endsWith('/') ? loaded : loaded + '/';
    if (pending_scroll_ != loaded && !pending_scroll_.startsWith(prefix)) return;
    folder_tree_->scrollTo(folder_tree_->currentIndex(), QAbstractItemView::PositionAtCenter);
    if (QFileInfo(pending_scroll_).path() == loaded || pending_scroll_ == loaded) {
      pending_scroll_.clear();
    }
  });
  connect(folder_tree_->verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this] { pending_scroll_.clear(); });
  connect(folder_watcher_, &QFileSystemWatcher::directoryChanged, this, &MainWindow::UpdateProcess);
  connect(change_output_button_, &QPushButton::clicked, this, &MainWindow::ChangeOutputFolder);
  connect(process_button_, &QPushButton::clicked, this, &MainWindow::ProcessOrStop);
  connect(report_button_, &QPushButton::clicked, this, &MainWindow::ShowRunReport);
  connect(about_button_, &QPushButton::clicked, this, &MainWindow::ShowAbout);
  connect(exit_button_, &QPushButton::clicked, this, &QWidget::close);
}

void MainWindow::RestoreState() {
  view_while_processing_->setChecked(true);
  players_and_teams_->setChecked(true);
  report_button_->setEnabled(false);
  for (const QString& root : UserVolumes()) drive_list_->addItem(Native(root), root);

  remembered_ = std::make_unique<RememberedFolderFile>(ToPath(setup_.program_folder),
                                                       ToPath(setup_.config_folder));
  const std::optional<fs::path> folder = remembered_->ReadFolder();
  player_index_->setChecked(remembered_->ReadSetting(kPlayerIndexSetting) == "1");
  // First start shows the current folder. A remembered folder that is gone
  // or on a volume that cannot be read gives way to the home folder.
  const QString wanted = folder ? FromPath(*folder) : setup_.start_folder;
  if (!ShowFolder(wanted)) ShowFolder(setup_.home_folder);
  if (!remembered_->problem().empty()) {
    ShowStatus(QMessageBox::Warning, FromUtf8(remembered_->problem()));
  }

  QString output;
  if (const auto saved = remembered_->ReadOutputFolder()) output = FromPath(*saved);
  if (output.isEmpty() || !QFileInfo(output).isDir()) output = setup_.documents_folder;
  output_folder_ = Clean(output);
  output_folder_text_->setText(Native(output_folder_));
  output_folder_text_->setToolTip(output_folder_text_->text());
}

bool MainWindow::ShowFolder(const QString& folder) {
  if (!IsReadableFolder(folder)) return false;
  const QString path = Clean(folder);
  folder_model_->setRootPath(path);
  const QModelIndex index = folders_by_name_->mapFromSource(folder_model_->index(path));
  if (!index.isValid()) return false;
  pending_scroll_ = path;
  if (folder_tree_->currentIndex() == index) {
    FolderSelected(path);
  } else {
    folder_tree_->setCurrentIndex(index);
  }
  folder_tree_->expand(index);
  folder_tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
  return true;
}

void MainWindow::ApplyTypedPath() {
  const QString typed = ExpandTypedPath(folder_path_->text());
  if (typed.isEmpty() || typed == encyclopedia_folder_) return;
  if (!ShowFolder(typed)) {
    // Not a folder that can be shown: say why under the path; a run needs
    // another folder.
    encyclopedia_folder_ = typed;
    if (!folder_watcher_->directories().isEmpty()) {
      folder_watcher_->removePaths(folder_watcher_->directories());
    }
    UpdateProcess();
  }
}

void MainWindow::FolderSelected(const QString& folder) {
  encyclopedia_folder_ = folder;
  if (ExpandTypedPath(folder_path_->text()) != folder) folder_path_->setText(Native(folder));
  folder_path_->setToolTip(Native(folder));
  SelectDrive(folder);
  if (!folder_watcher_->directories().isEmpty()) {
    folder_watcher_->removePaths(folder_watcher_->directories());
  }
  folder_watcher_->addPath(folder);
  UpdateProcess();
}

void MainWindow::DriveChosen(int index) {
  const QString root = drive_list_->itemData(index).toString();
  if (!IsReadableFolder(root)) {
    SelectDrive(encyclopedia_folder_);
    setup_.message(QMessageBox::Warning,
                   QStringLiteral("The drive %1 cannot be read.").arg(Native(root)));
    return;
  }
  ShowFolder(root);
}

void MainWindow::BrowseForFolder() {
  const QString start =
      QFileInfo(encyclopedia_folder_).isDir() ? encyclopedia_folder_ : setup_.home_folder;
  const QString folder = setup_.choose_folder(QStringLiteral("Encyclopedia Folder"), start);
  if (folder.isEmpty()) return;
  if (!ShowFolder(folder)) {
    setup_.message(QMessageBox::Warning,
                   QStringLiteral("The folder %1 cannot be read.").arg(Native(folder)));
  }
}

void MainWindow::UpdateProcess() {
  const FolderVerdict verdict = JudgeEncyclopediaFolder(encyclopedia_folder_);
  process_allowed_ = verdict.process_allowed;
  folder_hint_->setText(verdict.hint);
  folder_hint_->setVisible(!verdict.hint.isEmpty());
  if (!running()) process_button_->setEnabled(process_allowed_);
  // A folder that was removed and made again needs watching anew.
  if (!encyclopedia_folder_.isEmpty() && folder_watcher_->directories().isEmpty() &&
      QFileInfo(encyclopedia_folder_).isDir()) {
    folder_watcher_->addPath(encyclopedia_folder_);
  }
}

void MainWindow::SelectDrive(const QString& folder) {
  if (folder.isEmpty()) return;
  const QString root = VolumeOf(folder);
  int index = drive_list_->findData(root);
  if (index < 0) {
    drive_list_->addItem(Native(root), root);
    index = drive_list_->count() - 1;
  }
  drive_list_->setCurrentIndex(index);
}

bool MainWindow::SetOutputFolder(const QString& folder) {
  const QString path = Clean(folder);
  if (const std::string problem = CheckOutputFolder(ToPath(path)); !problem.empty()) {
    setup_.message(QMessageBox::Warning,
                   FromUtf8(problem) +
                       QStringLiteral("\n\nWorkbooks still go to %1.").arg(Native(output_folder_)));
    return false;
  }
  output_folder_ = path;
  output_folder_text_->setText(Native(output_folder_));
  output_folder_text_->setToolTip(output_folder_text_->text());
  try {
    remembered_->SaveOutputFolder(ToPath(output_folder_));
  } catch (const StatCraneError& error) {
    setup_.message(QMessageBox::Warning,
                   FromUtf8(error.message()) +
                       QStringLiteral("\n\nThe folder is used until the program ends."));
  }
  return true;
}

void MainWindow::ChangeOutputFolder() {
  const QString folder = setup_.choose_folder(QStringLiteral("Workbook Folder"), output_folder_);
  if (!folder.isEmpty()) SetOutputFolder(folder);
}

void MainWindow::ProcessOrStop() {
  if (running()) {
    stop_asked_ = true;
    bridge_->RequestStop();
    process_button_->setText(QStringLiteral("Stopping..."));
    process_button_->setEnabled(false);
    return;
  }
  StartRun();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Return runs the default button, as in a dialog; a path typed just now
  // was applied by the path field first.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      event->modifiers() == Qt::NoModifier) {
    if (process_button_->isEnabled() && !running()) process_button_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainWindow::StartRun() {
  ApplyTypedPath();
  UpdateProcess();
  if (!process_allowed_) return;
  QDir().mkpath(output_folder_);
  if (const std::string problem = CheckOutputFolder(ToPath(output_folder_)); !problem.empty()) {
    setup_.message(QMessageBox::Warning,
                   FromUtf8(problem) +
                       QStringLiteral("\n\nChoose another workbook folder with \"Change...\"."));
    return;
  }
  RunOptions options;
  options.encyclopedia_folder = ToPath(encyclopedia_folder_);
  options.sheets = players_only_->isChecked() ? SheetChoice::kPlayersOnly
                   : teams_only_->isChecked() ? SheetChoice::kTeamsOnly
                                              : SheetChoice::kPlayersAndTeams;
  options.viewing = view_while_processing_->isChecked() ? ViewingChoice::kViewWhileProcessing
                                                        : ViewingChoice::kViewAfterCompleted;
  run_index_ = player_index_->isChecked();
  options.index = run_index_ ? IndexChoice::kIndex : IndexChoice::kNone;
  run_output_ = NewWorkbookPath(output_folder_, QDateTime::currentDateTime());
  options.output = ToPath(run_output_);
  options.overwrite = false;

  started_time_->setText(FullDateTime(QDateTime::currentDateTime()));
  ended_time_->clear();
  saved_workbook_->clear();
  saved_workbook_->setToolTip(QString());
  ShowStatus(QMessageBox::NoIcon, QString());
  progress_ = ProgressShown();
  progress_.Phase("reading", 0, 0);
  ShowProgress();
  stop_asked_ = false;
  SetRunning(true);
  bridge_->Reset();
  result_.reset();
  completed_folder_.reset();
  worker_ = QThread::create([this, options] {
    FolderOfCompletedRun remembered(completed_folder_);
    result_ = CallRun(setup_.run, options, *bridge_, &remembered);
  });
  connect(worker_, &QThread::finished, this, &MainWindow::RunEnded, Qt::QueuedConnection);
  worker_->start();
}

void MainWindow::ShowProgress() {
  progress_text_->setText(QString::fromStdString(progress_.WindowLine()));
  const int percent = progress_.percent();
  progress_bar_->setTextVisible(percent >= 0);
  progress_bar_->setValue(std::max(percent, 0));
  progress_bar_->setFormat(QStringLiteral("%p %"));
}

void MainWindow::SetRunning(bool running) {
  for (QWidget* widget : std::initializer_list<QWidget*>{
           folder_path_, browse_button_, drive_list_, folder_tree_, viewing_group_, sheets_group_,
           change_output_button_, report_button_}) {
    widget->setEnabled(!running);
  }
  report_button_->setEnabled(!running && have_report_);
  process_button_->setText(running ? QStringLiteral("&Stop") : QStringLiteral("&Process"));
  process_button_->setEnabled(running || process_allowed_);
  if (running) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!running()) {
    event->accept();
    emit programEnded(0);
    return;
  }
  if (!closing_ && !setup_.ask(QStringLiteral("A run is going on. Stop it and close StatCrane? "
                                              "No workbook is written for a stopped run."))) {
    event->ignore();
    return;
  }
  // The run stops at its next check and writes no workbook; the program
  // ends once its thread has returned.
  event->accept();
  closing_ = true;
  bridge_->RequestStop();
  QTimer::singleShot(kStopGraceMs, this, [this] {
    if (!running()) return;
    std::fputs("statcrane: the run did not stop in time; ending without it\n", stderr);
    QFile::remove(run_output_);
    std::_Exit(1);
  });
}

void MainWindow::RunEnded() {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  bridge_->Deliver();  // the last progress text, when still on its way
  const RunResult result = result_.value_or(RunResult{});
  result_.reset();
  if (closing_) {
    SetRunning(false);
    // The stop came while the workbook was being written: a stopped run
    // leaves no workbook.
    if (result.saved && result.completed) QFile::remove(run_output_);
    emit programEnded(0);
    return;
  }
  ended_time_->setText(FullDateTime(QDateTime::currentDateTime()));
  last_report_ = result.report;
  have_report_ = true;
  UpdateProcess();  // the folder may have changed while the run went on
  SetRunning(false);

  QString remember_problem;
  if (result.completed && completed_folder_) {
    try {
      remembered_->SaveSetting(kPlayerIndexSetting, run_index_ ? "1" : "0");
      remembered_->Save(*completed_folder_);
    } catch (const StatCraneError& error) {
      remember_problem = FromUtf8(error.message());
    }
  }
  const QString saved_path =
      result.report.output_path.empty() ? run_output_ : FromUtf8(result.report.output_path);
  if (result.saved) {
    saved_workbook_->setText(Native(saved_path));
    saved_workbook_->setToolTip(saved_workbook_->text());
  }
  if (result.completed) {
    progress_bar_->setTextVisible(false);
    progress_bar_->setValue(progress_bar_->maximum());
  }
  ReportOutcome(result, remember_problem);
  if (result.completed && !dont_open_->isChecked()) setup_.open_workbook(saved_path);
  emit runFinished();
}

void MainWindow::ReportOutcome(const RunResult& result, const QString& remember_problem) {
  const QString saved_path =
      Native(result.report.output_path.empty() ? run_output_ : FromUtf8(result.report.output_path));
  if (result.error) {
    ShowStatus(QMessageBox::Critical, QStringLiteral("The run failed: see the message."));
    QString text = FromUtf8(result.error->message()) + QStringLiteral("\n\n");
    if (result.saved && result.report.incomplete) {
      text += QStringLiteral(
                  "What was built before the error was saved as an incomplete "
                  "workbook:\n%1")
                  .arg(saved_path);
    } else if (result.saved) {
      text += QStringLiteral("The workbook was saved:\n%1").arg(saved_path);
    } else {
      text += QStringLiteral("No workbook was written.");
    }
    setup_.message(QMessageBox::Critical, text);
    return;
  }
  if (!result.completed) {
    progress_text_->setText(QStringLiteral("Stopped"));
    ShowStatus(QMessageBox::Information, QStringLiteral("Stopped: no workbook was written."));
    return;
  }
  const RunReport& report = result.report;
  if (!report.HasWarnings() && remember_problem.isEmpty()) {
    ShowStatus(QMessageBox::Information,
               QStringLiteral("Completed: %1 players and %2 teams written.")
                   .arg(report.players_written)
                   .arg(report.teams_written));
    return;
  }
  QString summary;
  QString text;
  if (report.HasWarnings()) {
    summary = QStringLiteral("Completed with warnings: %1 \u2014 see Run Report")
                  .arg(FromUtf8(report.WarningsSummary()));
    text = summary + QLatin1Char('.');
    if (const std::string types = report.SeasonTypeMessage(); !types.empty()) {
      text += QStringLiteral("\n\n") + FromUtf8(types);
    }
  } else {
    summary = QStringLiteral("Completed; the folder will not be remembered.");
    text = QStringLiteral("The workbook was written.");
  }
  if (!remember_problem.isEmpty()) text += QStringLiteral("\n\n") + remember_problem;
  ShowStatus(QMessageBox::Warning, summary);
  setup_.message(QMessageBox::Warning, text);
}

void MainWindow::ShowStatus(QMessageBox::Icon icon, const QString& text) {
  QStyle::StandardPixmap pixmap = QStyle::SP_MessageBoxInformation;
  if (icon == QMessageBox::Warning) pixmap = QStyle::SP_MessageBoxWarning;
  if (icon == QMessageBox::Critical) pixmap = QStyle::SP_MessageBoxCritical;
  const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
  status_icon_->setPixmap(icon == QMessageBox::NoIcon || text.isEmpty()
                              ? QPixmap()
                              : style()->standardIcon(pixmap).pixmap(size, size));
  status_icon_->setProperty("severity", static_cast<int>(icon));
  status_text_->setText(text);
}

void MainWindow::ShowRunReport() {
  if (!have_report_) return;
  RunReportDialog dialog(
      FromUtf8(last_report_.Format()), setup_.choose_report_file,
      [this](const QString& text) { setup_.message(QMessageBox::Warning, text); }, this);
  setup_.show_dialog(dialog);
}

void MainWindow::ShowAbout() {
  setup_.message(QMessageBox::Information,
                 QStringLiteral("StatCrane %1\n\n"
                                "Turns the encyclopedia of a baseball simulation game into a "
                                "statistics workbook (.xlsx).\n\n"
                                "Free software under the MIT licence: you may use, copy, change "
                                "and pass it on; it comes without any warranty.")
                     .arg(QStringLiteral(STATCRANE_VERSION)));
}

}  // namespace statcrane
