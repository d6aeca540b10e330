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
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "app/window/run_report_dialog.h"
#include "app/window/window_support.h"
#include "app/window_texts.h"

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

fs::path ToPath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

QString FromPath(const fs::path& path) { return QFile::decodeName(path.native().c_str()); }

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A tool tip that shows `text` as it is: without the marker, a tool tip
// that looks like markup would be drawn as markup.
QString PlainToolTip(const QString& text) {
  return text.isEmpty() ? text : QStringLiteral("<qt>") + text.toHtmlEscaped() + "</qt>";
}

QLabel* BoldLabel(std::string_view text, QWidget* parent, const char* name) {
  auto* label = new QLabel(Text(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

// A label whose text comes from data: never drawn as markup. It keeps room
// for two lines, so that the window does not grow when it gets a text.
QLabel* PlainLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setMinimumHeight(label->fontMetrics().lineSpacing() * 2);
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

void SetShownText(QLineEdit* box, const QString& text) {
  box->setText(text);
  box->setToolTip(PlainToolTip(text));
}

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QStyle::StandardPixmap SeverityPixmap(Severity severity) {
  switch (severity) {
    case Severity::kWarning:
      return QStyle::SP_MessageBoxWarning;
    case Severity::kError:
      return QStyle::SP_MessageBoxCritical;
    case Severity::kNone:
    case Severity::kInformation:
      break;
  }
  return QStyle::SP_MessageBoxInformation;
}

}  // namespace
}  // namespace statcrane

// The icon lives in a static library's resources, which the linker keeps
// only when they are named.
static void InitWindowResources() { Q_INIT_RESOURCE(statcrane); }

namespace statcrane {

std::unique_ptr<QMessageBox> MakeMessageBox(Severity severity, const QString& text,
                                            MessageButtons buttons, QWidget* parent) {
  QMessageBox::Icon icon = QMessageBox::Information;
  if (severity == Severity::kWarning) icon = QMessageBox::Warning;
  if (severity == Severity::kError) icon = QMessageBox::Critical;
  auto box = std::make_unique<QMessageBox>(icon, Text(window_text::kTitle), QString(),
                                           QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  box->setText(text);
  box->setTextInteractionFlags(Qt::TextSelectableByMouse);
  if (buttons == MessageButtons::kOkAndShowReport) {
    box->addButton(Text(window_text::kShowReport), QMessageBox::ActionRole)
        ->setObjectName(QStringLiteral("show_report_button"));
  }
  box->setDefaultButton(QMessageBox::Ok);
  return box;
}

WindowDialogs DesktopDialogs() {
  WindowDialogs dialogs;
  dialogs.message = [](Severity severity, const QString& text, MessageButtons buttons) {
    const auto box = MakeMessageBox(severity, text, buttons, QApplication::activeWindow());
    box->exec();
    return box->clickedButton() != nullptr &&
                   box->clickedButton()->objectName() == QLatin1String("show_report_button")
               ? MessageAnswer::kShowReport
               : MessageAnswer::kOk;
  };
  dialogs.ask = [](const QString& question) {
    QMessageBox box(QMessageBox::Question, Text(window_text::kTitle), QString(),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setText(question);
    return box.exec() == QMessageBox::Yes;
  };
  dialogs.choose_folder = [](const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, start);
  };
  dialogs.choose_report_file = [](const QString& suggested) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(),
                                        Text(window_text::kSaveReportTitle), suggested,
                                        QStringLiteral("Text files (*.txt)"));
  };
  dialogs.show_dialog = [](QDialog& dialog) { dialog.exec(); };
  dialogs.open_workbook = [](const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  };
  return dialogs;
}

MainWindow::MainWindow(WindowSetup setup, WindowDialogs dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(std::move(dialogs)) {
  InitWindowResources();
  setObjectName(QStringLiteral("main_window"));
  setWindowTitle(Text(window_text::kTitle));
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

  // Everything but the buttons scrolls when the window is smaller than its
  // content (a small screen, large scaling); the buttons stay in view.
  auto* content = new QWidget;
  content->setObjectName(QStringLiteral("content"));
  auto* column = new QVBoxLayout(content);
  column->setContentsMargins(18, 12, 18, 6);
  column->addLayout(top, 1);
  column->addSpacing(6);
  column->addLayout(BuildProgress());
  column->addSpacing(6);
  column->addLayout(BuildWorkbookFolder());
  auto* scroll = Named(new QScrollArea(this), "scroll_area");
  scroll->setWidget(content);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setFocusPolicy(Qt::NoFocus);

  auto* window = new QVBoxLayout(this);
  window->setContentsMargins(0, 0, 0, 12);
  window->addWidget(scroll, 1);
  auto* buttons = new QVBoxLayout;
  buttons->setContentsMargins(18, 6, 18, 0);
  buttons->addLayout(BuildButtons());
  window->addLayout(buttons);

  path_pause_timer_ = new QTimer(this);
  stop_grace_timer_ = new QTimer(this);
  for (QTimer* timer : {path_pause_timer_, stop_grace_timer_}) timer->setSingleShot(true);
  folder_watcher_ = new QFileSystemWatcher(this);
  for (const QString& root : UserVolumes()) {
    drive_list_->addItem(QDir::toNativeSeparators(root), root);
  }

  SetTabOrder();
  model_ = std::make_unique<WindowModel>(std::move(setup), static_cast<WindowHost&>(*this));
  ConnectControls();
  model_->Start();
  folder_path_->setFocus();
  FitToScreen();
}

MainWindow::~MainWindow() {
  model_.reset();
  if (busy_) QApplication::restoreOverrideCursor();
}

void MainWindow::FitToScreen() {
  // The whole content without scrolling, where the screen has room for it.
  const auto* scroll = findChild<QScrollArea*>(QStringLiteral("scroll_area"));
  const QSize content = scroll->widget()->sizeHint();
  QSize size(content.width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
             content.height() + sizeHint().height() - scroll->sizeHint().height());
  size = size.expandedTo(QSize(640, 520));
  if (const QScreen* screen = QApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    // Room for the frame and the title bar.
    size = size.boundedTo(QSize(available.width() - 16, available.height() - 48));
  }
  resize(size);
}

QLayout* MainWindow::BuildFolderChoice() {
  folder_label_ = BoldLabel(window_text::kFolderLabel, this, "folder_label");
  folder_path_ = Named(new QLineEdit(this), "folder_path");
  folder_path_->setPlaceholderText(Text(window_text::kPathPlaceholder));
  folder_path_->setClearButtonEnabled(true);
  auto* completion_model = new QFileSystemModel(this);
  completion_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  completion_model->setRootPath(QString());
  auto* completer = new QCompleter(completion_model, this);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  folder_path_->setCompleter(completer);
  folder_label_->setBuddy(folder_path_);
  browse_button_ = Named(new QPushButton(Text(window_text::kBrowse), this), "browse_button");
  folder_hint_ = PlainLabel(this, "folder_hint");

  drive_label_ = BoldLabel(window_text::kDriveLabel, this, "drive_label");
  drive_list_ = Named(new QComboBox(this), "drive_list");
  drive_label_->setBuddy(drive_list_);

  folder_model_ = new QFileSystemModel(this);
  folder_model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folder_tree_ = Named(new QTreeView(this), "folder_tree");
  // The file model keeps a folder's folders in the order it came across them
  // (the folders on the way to the one shown first); sorted here by name,
  // as a file manager lists them.
  folders_by_name_ = new FoldersByName(this);
  // While the file model removes folders, the sorting model's rows are half
  // gone: a column sized to its contents would measure them (the tree moves
  // its current row off a removed folder) and read a row that is no longer
  // there. Connected before the sorting model's own handlers, so it runs
  // first; the sizing comes back once the removal is through.
  connect(folder_model_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
          [this] { folder_tree_->header()->setSectionResizeMode(0, QHeaderView::Interactive); });
  connect(
      folder_model_, &QAbstractItemModel::rowsRemoved, this,
      [this] { folder_tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents); },
      Qt::QueuedConnection);
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
  folder_tree_->setMinimumSize(200, 120);

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
  started_label_ = Named(new QLabel(Text(window_text::kStartedLabel), this), "started_label");
  started_time_ = ShownText(this, "started_time");
  ended_label_ = Named(new QLabel(Text(window_text::kEndedLabel), this), "ended_label");
  ended_time_ = ShownText(this, "ended_time");
  auto* layout = new QVBoxLayout;
  layout->addWidget(started_label_);
  layout->addWidget(started_time_);
  layout->addWidget(ended_label_);
  layout->addWidget(ended_time_);
  return layout;
}

QWidget* MainWindow::BuildViewingOptions() {
  viewing_group_ = Named(new QGroupBox(Text(window_text::kViewingGroup), this), "viewing_group");
  view_after_completed_ =
      Named(new QRadioButton(Text(window_text::kViewAfterCompleted), viewing_group_), "view_after");
  dont_open_ = Named(new QRadioButton(Text(window_text::kDontOpen), viewing_group_), "dont_open");
  auto* layout = new QVBoxLayout(viewing_group_);
  layout->addWidget(view_after_completed_);
  layout->addWidget(dont_open_);
  return viewing_group_;
}

QWidget* MainWindow::BuildSheetOptions() {
  sheets_group_ = Named(new QGroupBox(Text(window_text::kSheetsGroup), this), "sheets_group");
  players_only_ =
      Named(new QRadioButton(Text(window_text::kPlayersOnly), sheets_group_), "players_only");
  teams_only_ = Named(new QRadioButton(Text(window_text::kTeamsOnly), sheets_group_), "teams_only");
  players_and_teams_ = Named(new QRadioButton(Text(window_text::kPlayersAndTeams), sheets_group_),
                             "players_and_teams");
  player_index_ =
      Named(new QCheckBox(Text(window_text::kPlayerIndex), sheets_group_), "player_index");
  player_index_->setToolTip(Text(window_text::kPlayerIndexTip));
  leaders_ = Named(new QCheckBox(Text(window_text::kLeaders), sheets_group_), "leaders");
  leaders_->setToolTip(Text(window_text::kLeadersTip));
  auto* layout = new QVBoxLayout(sheets_group_);
  layout->addWidget(players_only_);
  layout->addWidget(teams_only_);
  layout->addWidget(players_and_teams_);
  layout->addSpacing(4);
  layout->addWidget(player_index_);
  layout->addWidget(leaders_);
  return sheets_group_;
}

QLayout* MainWindow::BuildProgress() {
  progress_label_ = Named(new QLabel(this), "progress_label");
  progress_text_ = ShownText(this, "progress_text");
  progress_bar_ = Named(new QProgressBar(this), "progress_bar");
  progress_bar_->setRange(0, 100);
  progress_bar_->setValue(0);
  progress_bar_->setTextVisible(false);
  progress_bar_->setFormat(QStringLiteral("%p %"));
  progress_bar_->setMaximumHeight(16);
  status_icon_ = Named(new QLabel(this), "status_icon");
  status_text_ = PlainLabel(this, "status_text");
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
      Named(new QLabel(Text(window_text::kOutputFolderLabel), this), "output_folder_label");
  output_folder_text_ = ShownText(this, "output_folder");
  change_output_button_ =
      Named(new QPushButton(Text(window_text::kChangeOutputFolder), this), "change_output_button");
  saved_label_ = Named(new QLabel(Text(window_text::kSavedLabel), this), "saved_label");
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
  process_button_ = Named(new QPushButton(Text(window_text::kProcess), this), "process_button");
  process_button_->setDefault(true);
  report_button_ = Named(new QPushButton(Text(window_text::kRunReport), this), "report_button");
  about_button_ = Named(new QPushButton(Text(window_text::kAbout), this), "about_button");
  exit_button_ = Named(new QPushButton(Text(window_text::kExit), this), "exit_button");
  for (QPushButton* button : {process_button_, report_button_, about_button_, exit_button_}) {
    button->setMinimumSize(88, 32);
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
  QWidget* order[] = {folder_path_,          browse_button_, drive_list_,   folder_tree_,
                      view_after_completed_, dont_open_,     players_only_, teams_only_,
                      players_and_teams_,    player_index_,  leaders_,      change_output_button_,
                      process_button_,       report_button_, about_button_, exit_button_};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void MainWindow::ConnectControls() {
  WindowModel& model = *model_;
  // Every change of the text but the model's own: typing, pasting, the
  // clear button, a completion taken from the list.
  connect(folder_path_, &QLineEdit::textChanged, this, [this, &model](const QString& text) {
    if (!setting_path_text_) model.PathTyped(text.toStdString());
  });
  connect(folder_path_, &QLineEdit::editingFinished, this,
          [&model] { model.PathEditingFinished(); });
  connect(browse_button_, &QPushButton::clicked, this, [&model] { model.Browse(); });
  connect(drive_list_, &QComboBox::activated, this, [this, &model](int index) {
    model.DrivePicked(ToPath(drive_list_->itemData(index).toString()));
  });
  connect(folder_tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this, &model](const QModelIndex& current, const QModelIndex& previous) {
            if (!current.isValid()) return;
            const QString folder = FolderAt(current);
            if (folder == shown_folder_) return;
            // The folder shown was removed and the tree moved on to a
            // neighbour: that is no choice of the user's. The folder stays
            // the chosen one, and its line says it does not exist.
            if (previous.isValid() && FolderAt(previous) == shown_folder_ &&
                !QFileInfo::exists(shown_folder_)) {
              folder_tree_->selectionModel()->clearCurrentIndex();
              model.FolderContentChanged();
              return;
            }
            // A folder that cannot be listed is not chosen: the tree
            // returns to the folder shown.
            if (!model.ChooseFolder(ToPath(folder))) ShowChosenFolder();
          });
  // The folder model fills in the background: while the folders on the way
  // to the one asked for are listed, keep it in view. Once it is listed, or
  // the user scrolls, the list stays where it is.
  connect(folder_model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
    if (pending_scroll_.isEmpty()) return;
    const QString prefix = loaded.endsWith('/') ? loaded : loaded + '/';
    if (pending_scroll_ != loaded && !pending_scroll_.startsWith(prefix)) return;
    // The proxy sorts what was just listed after this signal: scroll once
    // it has.
    QTimer::singleShot(0, this, [this] {
      folder_tree_->scrollTo(folder_tree_->currentIndex(), QAbstractItemView::PositionAtCenter);
    });
    if (QFileInfo(pending_scroll_).path() == loaded || pending_scroll_ == loaded) {
      pending_scroll_.clear();
    }
  });
  connect(folder_tree_->verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this] { pending_scroll_.clear(); });
  connect(folder_watcher_, &QFileSystemWatcher::directoryChanged, this,
          [&model] { model.FolderContentChanged(); });

  const auto on_checked = [this](QAbstractButton* button, std::function<void()> action) {
    connect(button, &QAbstractButton::toggled, this, [action](bool checked) {
      if (checked) action();
    });
  };
  on_checked(view_after_completed_,
             [&model] { model.SetViewing(WorkbookViewing::kViewAfterCompleted); });
  on_checked(dont_open_, [&model] { model.SetViewing(WorkbookViewing::kDontOpen); });
  on_checked(players_only_, [&model] { model.SetSheets(SheetChoice::kPlayersOnly); });
  on_checked(teams_only_, [&model] { model.SetSheets(SheetChoice::kTeamsOnly); });
  on_checked(players_and_teams_, [&model] { model.SetSheets(SheetChoice::kPlayersAndTeams); });
  connect(player_index_, &QCheckBox::toggled, this, [&model](bool on) { model.SetIndex(on); });
  connect(leaders_, &QCheckBox::toggled, this, [&model](bool on) { model.SetLeaders(on); });

  connect(change_output_button_, &QPushButton::clicked, this,
          [&model] { model.ChangeOutputFolder(); });
  connect(process_button_, &QPushButton::clicked, this, [this, &model] {
    if (model.state().run == RunPhase::kRunning) refocus_process_ = process_button_->hasFocus();
    model.ProcessOrStop();
  });
  connect(report_button_, &QPushButton::clicked, this, [&model] { model.ShowReport(); });
  connect(about_button_, &QPushButton::clicked, this, [&model] { model.About(); });
  connect(exit_button_, &QPushButton::clicked, this, &QWidget::close);
  connect(path_pause_timer_, &QTimer::timeout, this,
          [&model] { model.TimerFired(WindowTimer::kPathPause); });
  connect(stop_grace_timer_, &QTimer::timeout, this,
          [&model] { model.TimerFired(WindowTimer::kStopGrace); });
}

// ---------------------------------------------------------------------------
// Drawing the state.

void MainWindow::Refresh(unsigned parts) {
  const WindowState& state = model_->state();
  if (parts & kPathTextPart) {
    setting_path_text_ = true;
    folder_path_->setText(Text(state.path_text));
    setting_path_text_ = false;
    folder_path_->setToolTip(PlainToolTip(folder_path_->text()));
  }
  if (parts & kFolderPart) {
    folder_hint_->setText(Text(state.folder_hint));
    ShowChosenFolder();
  }
  if (parts & kChoicesPart) {
    // Checking one radio button unchecks the others of its group.
    (state.viewing == WorkbookViewing::kDontOpen ? dont_open_ : view_after_completed_)
        ->setChecked(true);
    (state.sheets == SheetChoice::kPlayersOnly ? players_only_
     : state.sheets == SheetChoice::kTeamsOnly ? teams_only_
                                               : players_and_teams_)
        ->setChecked(true);
    player_index_->setChecked(state.index);
    leaders_->setChecked(state.leaders);
    // Team sheets only have no leaders.
    leaders_->setEnabled(PlayersWanted(state.sheets));
  }
  if (parts & kOutputPart) {
    SetShownText(output_folder_text_, QDir::toNativeSeparators(FromPath(state.output_folder)));
    SetShownText(saved_workbook_, QDir::toNativeSeparators(FromPath(state.saved_workbook)));
  }
  if (parts & (kRunPart | kFolderPart)) ShowRunState();
  if (parts & kProgressPart) {
    progress_label_->setText(Text(state.progress_label));
    progress_text_->setText(Text(state.progress_text));
    progress_bar_->setValue(state.progress_value);
    progress_bar_->setTextVisible(state.progress_figure);
  }
  if (parts & kStatusPart) {
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    status_icon_->setPixmap(
        state.status_severity == Severity::kNone
            ? QPixmap()
            : style()->standardIcon(SeverityPixmap(state.status_severity)).pixmap(size, size));
    status_icon_->setProperty("severity", static_cast<int>(state.status_severity));
    status_text_->setText(Text(state.status_text));
  }
}

void MainWindow::ShowRunState() {
  const WindowState& state = model_->state();
  const bool idle = state.choices_enabled();
  for (QWidget* widget :
       std::initializer_list<QWidget*>{folder_path_, browse_button_, drive_list_, folder_tree_,
                                       viewing_group_, sheets_group_, change_output_button_}) {
    widget->setEnabled(idle);
  }
  report_button_->setEnabled(idle && state.report_available);
  process_button_->setText(Text(state.process_caption()));
  process_button_->setEnabled(state.process_enabled());
  started_time_->setText(Text(state.started_time));
  ended_time_->setText(Text(state.ended_time));
  if (busy_ != !idle) {
    busy_ = !idle;
    if (busy_) {
      QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  }
  if (idle && refocus_process_) {
    refocus_process_ = false;
    process_button_->setFocus();
  }
}

void MainWindow::ShowChosenFolder() {
  const QString folder = FromPath(model_->state().shown_folder);
  if (folder.isEmpty()) return;
  if (folder != shown_folder_) {
    shown_folder_ = folder;
    folder_model_->setRootPath(folder);
  }
  const QModelIndex index = folders_by_name_->mapFromSource(folder_model_->index(folder));
  if (index.isValid() && folder_tree_->currentIndex() != index) {
    pending_scroll_ = folder;
    folder_tree_->setCurrentIndex(index);
    folder_tree_->expand(index);
    folder_tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
  }
  SelectDrive(folder);
}

void MainWindow::SelectDrive(const QString& folder) {
  const QString root = QStorageInfo(folder).rootPath();
  if (root.isEmpty()) return;
  int index = drive_list_->findData(root);
  if (index < 0) {
    drive_list_->addItem(QDir::toNativeSeparators(root), root);
    index = drive_list_->count() - 1;
  }
  drive_list_->setCurrentIndex(index);
}

// ---------------------------------------------------------------------------
// What the window does for the model.

MessageAnswer MainWindow::Message(Severity severity, const std::string& text,
                                  MessageButtons buttons) {
  return dialogs_.message(severity, Text(text), buttons);
}

bool MainWindow::Ask(const std::string& question) { return dialogs_.ask(Text(question)); }

std::optional<fs::path> MainWindow::ChooseFolder(const std::string& title, const fs::path& start) {
  const QString folder = dialogs_.choose_folder(Text(title), FromPath(start));
  if (folder.isEmpty()) return std::nullopt;
  return ToPath(folder);
}

std::optional<fs::path> MainWindow::ChooseReportFile(const fs::path& suggested) {
  const QString file = dialogs_.choose_report_file(FromPath(suggested));
  if (file.isEmpty()) return std::nullopt;
  return ToPath(file);
}

void MainWindow::ShowRunReport() {
  RunReportDialog dialog(
      Text(model_->ReportText()), [this] { return model_->SaveReport(); }, this);
  dialogs_.show_dialog(dialog);
}

bool MainWindow::OpenWorkbook(const fs::path& workbook) {
  return dialogs_.open_workbook(FromPath(workbook));
}

std::string MainWindow::TimeStamp(std::chrono::system_clock::time_point when) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
  return FullDateTime(QDateTime::fromMSecsSinceEpoch(ms.count())).toStdString();
}

void MainWindow::WatchFolder(const fs::path& folder) {
  if (!folder_watcher_->directories().isEmpty()) {
    folder_watcher_->removePaths(folder_watcher_->directories());
  }
  if (!folder.empty()) folder_watcher_->addPath(FromPath(folder));
}

QString MainWindow::FolderAt(const QModelIndex& index) const {
  return folder_model_->filePath(folders_by_name_->mapToSource(index));
}

QTimer* MainWindow::Timer(WindowTimer timer) const {
  return timer == WindowTimer::kPathPause ? path_pause_timer_ : stop_grace_timer_;
}

void MainWindow::StartTimer(WindowTimer timer, std::chrono::milliseconds delay) {
  Timer(timer)->start(delay);
}

void MainWindow::StopTimer(WindowTimer timer) { Timer(timer)->stop(); }

std::unique_ptr<BackgroundWork> MainWindow::StartBackground(std::function<void()> work) {
  return StartThread(std::move(work));
}

void MainWindow::PostToWindow(std::function<void()> task) {
  QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void MainWindow::EndAtOnce(int status) { std::_Exit(status); }

// ---------------------------------------------------------------------------
// Events.

QString MainWindow::EncyclopediaFolder() const { return FromPath(model_->state().folder); }

bool MainWindow::ShowFolder(const QString& folder) { return model_->ChooseFolder(ToPath(folder)); }

QString MainWindow::OutputFolder() const { return FromPath(model_->state().output_folder); }

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Return runs the default button, as in a dialog: the model checks a
  // typed path first.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      event->modifiers() == Qt::NoModifier) {
    model_->Return();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (model_->CloseRequested()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace statcrane
