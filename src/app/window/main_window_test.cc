// The Qt window as a view of the window model, on the offscreen platform:
// its controls and captions, the keyboard, the folder lists following the
// model, runs started and stopped through the buttons, the Run Report
// dialog, closing during a run, plain-text boxes and a window that fits a
// small screen. The rules themselves are the model's tests
// (app/window_model_test.cc).
#include "app/window/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeView>
#include <atomic>
#include <memory>

#include "app/window/run_report_dialog.h"
#include "app/window/window_support.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

fs::path ToPath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

// Every folder of one window under a temporary folder, and what the window
// showed, asked or opened.
class Place {
 public:
  Place() {
    for (const char* name : {"prog", "start", "home"}) QDir(root_.path()).mkpath(name);
  }
  QString Path(const QString& name) const { return QDir(root_.path()).filePath(name); }

  WindowSetup Setup(RunFunction run = nullptr) const {
    WindowSetup setup;
    setup.program_folder = ToPath(Path("prog"));
    setup.config_folder = ToPath(Path("config"));
    setup.start_folder = ToPath(Path("start"));
    setup.home_folder = ToPath(Path("home"));
    setup.documents_folder = ToPath(Path("Documents"));
    setup.run = std::move(run);
    return setup;
  }

  WindowDialogs Dialogs() {
    WindowDialogs dialogs;
    dialogs.message = [this](Severity severity, const QString& text, MessageButtons buttons) {
      (severity == Severity::kError     ? errors
       : severity == Severity::kWarning ? warnings
                                        : messages)
          << text;
      if (while_modal) while_modal();
      return buttons == MessageButtons::kOkAndShowReport ? message_answer : MessageAnswer::kOk;
    };
    dialogs.ask = [this](const QString& question) {
      questions << question;
      if (while_modal) while_modal();
      return answer;
    };
    dialogs.choose_folder = [this](const QString&, const QString&) { return chosen_folder; };
    dialogs.choose_report_file = [this](const QString&) { return chosen_file; };
    dialogs.show_dialog = [this](QDialog& dialog) {
      if (on_dialog) on_dialog(dialog);
    };
    dialogs.open_workbook = [this](const QString& path) {
      opened << path;
      return true;
    };
    return dialogs;
  }

  // A folder holding the named files, each empty.
  QString Folder(const QString& name, const QStringList& files) {
    QDir(root_.path()).mkpath(name);
    for (const QString& file : files) WriteFile(Path(name + "/" + file), {});
    return Path(name);
  }

  QStringList opened, messages, warnings, errors, questions;
  bool answer = true;
  MessageAnswer message_answer = MessageAnswer::kOk;
  std::function<void()> while_modal;
  QString chosen_folder, chosen_file;
  std::function<void(QDialog&)> on_dialog;

 private:
  QTemporaryDir root_;
};

template <typename T>
T* Child(const QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) qFatal("no control %s", name);
  return child;
}

// A control's text without its mnemonic marker.
QString Text(const QWidget& window, const char* name) {
  QString text;
  if (auto* label = window.findChild<QLabel*>(name))
    text = label->text();
  else if (auto* box = window.findChild<QGroupBox*>(name))
    text = box->title();
  else if (auto* button = window.findChild<QAbstractButton*>(name))
    text = button->text();
  else if (auto* edit = window.findChild<QLineEdit*>(name))
    text = edit->text();
  else
    qFatal("no control %s", name);
  return text.remove(QLatin1Char('&'));
}

QString ShownFolder(const QWidget& window) {
  auto* tree = Child<QTreeView>(window, "folder_tree");
  return tree->currentIndex().data(QFileSystemModel::FilePathRole).toString();
}

// The tree's row of `path` (the tree shows the file model through a sorting
// proxy).
QModelIndex TreeRow(QTreeView* tree, const QString& path) {
  auto* by_name = qobject_cast<QSortFilterProxyModel*>(tree->model());
  return by_name->mapFromSource(
      static_cast<QFileSystemModel*>(by_name->sourceModel())->index(path));
}

// The tree's current row is within its visible height.
bool InView(QTreeView* tree) {
  const QRect row = tree->visualRect(tree->currentIndex());
  return row.isValid() && row.top() >= 0 && row.bottom() <= tree->viewport()->height();
}

QPushButton* Process(const QWidget& window) { return Child<QPushButton>(window, "process_button"); }

// A run that reports what the test asks and returns at once.
RunFunction FakeRun(std::function<void(RunResult&, const RunOptions&)> fill) {
  return [fill](const RunOptions& options, RunObserver& observer, RememberedFolder* remembered) {
    observer.ProgressText("TEAMS COMPLETED");
    RunResult result;
    fill(result, options);
    if (result.outcome == RunOutcome::kCompleted && remembered != nullptr)
      remembered->Save(options.encyclopedia_folder);
    return result;
  };
}

// A run that goes on until it is stopped or `finish` is set.
RunFunction LongRun(std::atomic<bool>& finish) {
  return [&finish](const RunOptions&, RunObserver& observer, RememberedFolder*) {
    observer.PhaseProgress("players", 1, 12);
    observer.ProgressText("Aaron,Hank");
    while (!finish) {
      CheckStop(observer);
      QThread::msleep(1);
    }
    RunResult result;
    result.outcome = RunOutcome::kCompleted;
    return result;
  };
}

QString SampleFolder(Place& place) {
  const QString sample = QStringLiteral(STATCRANE_SOURCE_DIR "/samples/sample-encyclopedia");
  if (QFileInfo(sample).isDir()) return sample;
  qInfo("no bundled sample; running on an empty ENCTEAM.DAT");
  return place.Folder("tiny", {"ENCTEAM.DAT"});
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void FirstStartShowsTheInitialState();
  void KeyboardFollowsTheLayout();
  void FolderListsFollowTheModel();
  void RunThroughTheButtonsWritesANewWorkbookEachTime();
  void RunReportCanBeCopiedAndSavedAndOpenedFromTheWarning();
  void StopGivesTheFocusBackToProcess();
  void ClosingDuringARunAsksFirstAndEndsTheProgram();
  void TextFromDataIsNeverMarkup();
  void TheWindowFitsASmallScreen();
  void HelpersOfTheWindow();
};

void MainWindowTest::FirstStartShowsTheInitialState() {
  Place place;
  MainWindow window(place.Setup(), place.Dialogs());
  QCOMPARE(window.windowTitle(), QString("StatCrane"));
  // The program's own icon, not the toolkit's.
  QVERIFY(!window.windowIcon().pixmap(32, 32).isNull());
  const std::pair<const char*, const char*> captions[] = {
      {"drive_label", "Encyclopedia Drive"},
      {"folder_label", "Encyclopedia Folder"},
      {"progress_label", "Player being Processed"},
      {"started_label", "Processing Started"},
      {"ended_label", "Processing Ended"},
      {"viewing_group", "Spreadsheet Viewing"},
      {"sheets_group", "Spreadsheets Desired"},
      {"view_after", "View After Completed"},
      {"dont_open", "Don't open"},
      {"players_only", "Players Only"},
      {"teams_only", "Teams Only"},
      {"players_and_teams", "Players and Teams"},
      {"player_index", "Player index"},
      {"leaders", "Leaders"},
      {"process_button", "Process"},
      {"report_button", "Run Report"},
      {"about_button", "About"},
      {"exit_button", "Exit"}};
  for (const auto& [name, caption] : captions) QCOMPARE(Text(window, name), QString(caption));
  QVERIFY(Child<QLabel>(window, "drive_label")->font().bold());
  QVERIFY(Child<QRadioButton>(window, "view_after")->isChecked());
  QVERIFY(Child<QRadioButton>(window, "players_and_teams")->isChecked());
  QVERIFY(!Child<QCheckBox>(window, "player_index")->isChecked());
  for (const char* name : {"progress_text", "started_time", "ended_time", "saved_workbook"}) {
    QVERIFY2(Text(window, name).isEmpty(), name);
  }
  QCOMPARE(window.EncyclopediaFolder(), place.Path("start"));
  QCOMPARE(Text(window, "folder_path"), QDir::toNativeSeparators(place.Path("start")));
  QCOMPARE(ShownFolder(window), place.Path("start"));
  QCOMPARE(Child<QComboBox>(window, "drive_list")->currentData().toString(),
           QStorageInfo(place.Path("start")).rootPath());
  QCOMPARE(Text(window, "output_folder"), QDir::toNativeSeparators(place.Path("Documents")));
  QVERIFY(!Process(window)->isEnabled());
  QVERIFY(!Child<QPushButton>(window, "report_button")->isEnabled());
  QVERIFY(Text(window, "folder_hint").contains("ENCTEAM.DAT"));

  // The drive list offers no pseudo file systems.
  auto* drives = Child<QComboBox>(window, "drive_list");
  for (int i = 0; i < drives->count(); ++i) {
    const QString root = drives->itemData(i).toString();
    QVERIFY2(!root.startsWith("/proc") && !root.startsWith("/sys"), qPrintable(root));
  }

  QTest::mouseClick(Child<QPushButton>(window, "about_button"), Qt::LeftButton);
  QCOMPARE(place.messages.size(), 1);
  QVERIFY(place.messages[0].contains(STATCRANE_VERSION));
}

void MainWindowTest::KeyboardFollowsTheLayout() {
  Place place;
  const QString league = place.Folder("league", {"ENCTEAM.DAT"});
  std::atomic<int> runs = 0;
  MainWindow window(place.Setup(FakeRun([&](RunResult& result, const RunOptions&) {
    ++runs;
    result.outcome = RunOutcome::kCompleted;
  })),
                    place.Dialogs());
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QCOMPARE(QApplication::focusWidget(), Child<QWidget>(window, "folder_path"));
  QVERIFY(Process(window)->isDefault());

  // Tab goes down the left column, the right one, then the bottom row, and
  // passes over the boxes the program fills.
  QStringList chain;
  QWidget* widget = Child<QWidget>(window, "folder_path");
  for (int i = 0; i < 16; ++i, widget = widget->nextInFocusChain()) {
    while (!(widget->focusPolicy() & Qt::TabFocus)) widget = widget->nextInFocusChain();
    chain << widget->objectName();
  }
  QCOMPARE(chain,
           QStringList({"folder_path", "browse_button", "drive_list", "folder_tree", "view_after",
                        "dont_open", "players_only", "teams_only", "players_and_teams",
                        "player_index", "leaders", "change_output_button", "process_button",
                        "report_button", "about_button", "exit_button"}));

  // Every control the user works has a mnemonic: its own or its label's.
  for (auto* button : window.findChildren<QAbstractButton*>()) {
    if (button->objectName().isEmpty()) continue;  // the path field's clear button
    QVERIFY2(button->text().contains('&'), qPrintable(button->objectName()));
  }
  for (const char* name : {"folder_path", "drive_list"}) {
    bool labelled = false;
    for (auto* label : window.findChildren<QLabel*>()) {
      labelled |= label->buddy() == Child<QWidget>(window, name) && label->text().contains('&');
    }
    QVERIFY2(labelled, name);
  }

  // A path typed into the field and Return at once: that folder is checked
  // and processed.
  auto* path = Child<QLineEdit>(window, "folder_path");
  path->selectAll();
  QTest::keyClicks(path, league);
  QTest::keyClick(path, Qt::Key_Return);
  QCOMPARE(window.EncyclopediaFolder(), league);
  QTRY_COMPARE(runs.load(), 1);
  QTRY_VERIFY(!window.running());
}

void MainWindowTest::FolderListsFollowTheModel() {
  Place place;
  const QString capitals = place.Folder("capitals", {"ENCTEAM.DAT"});
  const QString other = place.Folder("other", {"ENCTEAM.DAT"});
  MainWindow window(place.Setup(), place.Dialogs());
  window.resize(640, 520);
  window.show();
  auto* tree = Child<QTreeView>(window, "folder_tree");
  auto* path = Child<QLineEdit>(window, "folder_path");

  // Choosing in the folder list is a folder change like any other.
  tree->setCurrentIndex(TreeRow(tree, capitals));
  QCOMPARE(window.EncyclopediaFolder(), capitals);
  QCOMPARE(path->text(), QDir::toNativeSeparators(capitals));
  QVERIFY(Process(window)->isEnabled());

  // Typing: the line under the path follows after the pause, and so does
  // the tree, while the text stays as typed.
  path->selectAll();
  QTest::keyClicks(path, place.Path("no such"));
  QVERIFY(!Process(window)->isEnabled());
  QTRY_COMPARE(Text(window, "folder_hint"), QString("This folder does not exist."));
  path->selectAll();
  QTest::keyClicks(path, other + "/");
  QTRY_COMPARE(ShownFolder(window), other);
  QCOMPARE(path->text(), other + "/");
  QVERIFY(Process(window)->isEnabled());

  // The folder shown is removed: it stays the chosen one and is said not to
  // exist (the tree moving on to a neighbour is no choice of the user's).
  const QString doomed = place.Folder("doomed", {"ENCTEAM.DAT"});
  place.Folder("doomed-neighbour", {"ENCTEAM.DAT"});
  QVERIFY(window.ShowFolder(doomed));
  QVERIFY(QDir(doomed).removeRecursively());
  QTRY_COMPARE(Text(window, "folder_hint"), QString("This folder does not exist."));
  QTest::qWait(500);
  QCOMPARE(window.EncyclopediaFolder(), doomed);
  QVERIFY(!Process(window)->isEnabled());

  // Browse...: the folder dialog's choice is shown; cancelling changes nothing.
  place.chosen_folder = capitals;
  QTest::mouseClick(Child<QPushButton>(window, "browse_button"), Qt::LeftButton);
  QCOMPARE(ShownFolder(window), capitals);
  QCOMPARE(path->text(), QDir::toNativeSeparators(capitals));
  place.chosen_folder.clear();
  QTest::mouseClick(Child<QPushButton>(window, "browse_button"), Qt::LeftButton);
  QCOMPARE(window.EncyclopediaFolder(), capitals);

  // The tree lists folders by name, also the ones beside a folder shown
  // before its parent was listed, and keeps the chosen folder in view.
  for (const char* name : {"b", "C", "a"}) place.Folder(QStringLiteral("sorted/") + name, {});
  for (int i = 0; i < 40; ++i)
    place.Folder(QStringLiteral("sorted/b/%1").arg(i, 2, 10, QChar('0')), {});
  QVERIFY(window.ShowFolder(place.Path("sorted/b/33")));
  const auto names = [&] {  // the folders are listed in the background
    const QModelIndex sorted = TreeRow(tree, place.Path("sorted"));
    QStringList found;
    for (int row = 0; row < tree->model()->rowCount(sorted); ++row) {
      found << tree->model()->index(row, 0, sorted).data().toString();
    }
    return found.join(",");
  };
  QTRY_COMPARE(names(), QStringLiteral("a,b,C"));
  QTRY_VERIFY(InView(tree));

  // At the next start the tree opens on the remembered folder, in view.
  WriteFile(place.Path("prog/data/STATCRANE.txt"),
            "\"" + QFile::encodeName(place.Path("sorted/b/33")) + "\"\r\n");
  MainWindow again(place.Setup(), place.Dialogs());
  auto* again_tree = Child<QTreeView>(again, "folder_tree");
  again.show();
  QTRY_COMPARE(ShownFolder(again), place.Path("sorted/b/33"));
  QTRY_VERIFY(InView(again_tree));
}

void MainWindowTest::RunThroughTheButtonsWritesANewWorkbookEachTime() {
  Place place;
  const QString folder = SampleFolder(place);
  MainWindow window(place.Setup(), place.Dialogs());
  QVERIFY(window.ShowFolder(folder));
  QSignalSpy finished(&window, &MainWindow::runFinished);

  QTest::mouseClick(Process(window), Qt::LeftButton);
  // While the run goes on, Process is Stop and the choices are off.
  QVERIFY(window.running());
  QCOMPARE(Text(window, "process_button"), QString("Stop"));
  QVERIFY(Process(window)->isEnabled());
  for (const char* name :
       {"folder_path", "browse_button", "drive_list", "folder_tree", "viewing_group",
        "sheets_group", "change_output_button", "report_button"}) {
    QVERIFY2(!Child<QWidget>(window, name)->isEnabled(), name);
  }
  QVERIFY(QApplication::overrideCursor() != nullptr);
  QVERIFY(finished.wait(120000));
  QCOMPARE(QApplication::overrideCursor(), nullptr);
  QCOMPARE(Text(window, "process_button"), QString("Process"));
  QVERIFY2(place.errors.isEmpty(), qPrintable(place.errors.join('\n')));
  QCOMPARE(Text(window, "progress_text"), QString("Processing Completed"));
  QCOMPARE(Child<QProgressBar>(window, "progress_bar")->value(), 100);
  // Both time stamps are of this run, with the year in full.
  const QRegularExpression full_year(R"(\b20\d\d\b)");
  QVERIFY2(full_year.match(Text(window, "started_time")).hasMatch(),
           qPrintable(Text(window, "started_time")));
  QVERIFY2(full_year.match(Text(window, "ended_time")).hasMatch(),
           qPrintable(Text(window, "ended_time")));
  QVERIFY(Child<QPushButton>(window, "report_button")->isEnabled());
  const QStringList written = QDir(place.Path("Documents")).entryList(QDir::Files);
  QCOMPARE(written.size(), 1);
  const QString first = place.Path("Documents/" + written[0]);
  QCOMPARE(Text(window, "saved_workbook"), QDir::toNativeSeparators(first));
  QCOMPARE(place.opened, QStringList{first});

  // The choices reach the model through their controls: teams only, not
  // opened, into another folder.
  place.chosen_folder = place.Path("Workbooks");
  QDir().mkpath(place.chosen_folder);
  QTest::mouseClick(Child<QPushButton>(window, "change_output_button"), Qt::LeftButton);
  QCOMPARE(window.OutputFolder(), place.Path("Workbooks"));
  QTest::mouseClick(Child<QCheckBox>(window, "leaders"), Qt::LeftButton);
  QVERIFY(window.model().state().leaders);
  QTest::mouseClick(Child<QRadioButton>(window, "teams_only"), Qt::LeftButton);
  QVERIFY(!Child<QCheckBox>(window, "leaders")->isEnabled());  // teams have no leaders
  QTest::mouseClick(Child<QRadioButton>(window, "dont_open"), Qt::LeftButton);
  QTest::mouseClick(Child<QCheckBox>(window, "player_index"), Qt::LeftButton);
  QCOMPARE(window.model().state().sheets, SheetChoice::kTeamsOnly);
  QCOMPARE(window.model().state().viewing, WorkbookViewing::kDontOpen);
  QVERIFY(window.model().state().index);
  QTest::mouseClick(Process(window), Qt::LeftButton);
  QVERIFY(finished.wait(120000));
  QCOMPARE(QDir(place.Path("Workbooks")).entryList(QDir::Files).size(), 1);
  QCOMPARE(place.opened.size(), 1);

  // The next start shows the choices of that run.
  MainWindow again(place.Setup(), place.Dialogs());
  QVERIFY(Child<QRadioButton>(again, "teams_only")->isChecked());
  QVERIFY(Child<QRadioButton>(again, "dont_open")->isChecked());
  QVERIFY(Child<QCheckBox>(again, "player_index")->isChecked());
  QVERIFY(Child<QCheckBox>(again, "leaders")->isChecked());
  QVERIFY(!Child<QCheckBox>(again, "leaders")->isEnabled());
}

void MainWindowTest::RunReportCanBeCopiedAndSavedAndOpenedFromTheWarning() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  MainWindow window(place.Setup(FakeRun([](RunResult& result, const RunOptions&) {
    result.outcome = RunOutcome::kCompleted;
    result.report.RecordsRead("ENCTEAM.DAT", 30);
    result.report.RecordSkipped("ENCTEAM.DAT", {"deleted record", "deleted records"});
  })),
                    place.Dialogs());
  QVERIFY(window.ShowFolder(folder));
  QSignalSpy finished(&window, &MainWindow::runFinished);
  // "Show Report" in the warning box opens the dialog.
  place.message_answer = MessageAnswer::kShowReport;
  place.chosen_file = place.Path("report.txt");
  QString shown;
  place.on_dialog = [&](QDialog& dialog) {
    auto* text = Child<QPlainTextEdit>(dialog, "report_text");
    shown = text->toPlainText();
    QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByMouse);
    QTest::mouseClick(Child<QPushButton>(dialog, "copy_button"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(dialog, "save_button"), Qt::LeftButton);
  };
  QTest::mouseClick(Process(window), Qt::LeftButton);
  QVERIFY(finished.wait(10000));
  QCOMPARE(place.warnings.size(), 1);
  QVERIFY2(shown.contains("ENCTEAM.DAT") && shown.contains("1 deleted record\n"),
           qPrintable(shown));
  QCOMPARE(QApplication::clipboard()->text(), shown);
  QCOMPARE(QString::fromUtf8(FileBytes(place.chosen_file)), shown);

  // And "Run Report" opens it again.
  shown.clear();
  place.on_dialog = [&](QDialog& dialog) {
    shown = Child<QPlainTextEdit>(dialog, "report_text")->toPlainText();
  };
  QTest::mouseClick(Child<QPushButton>(window, "report_button"), Qt::LeftButton);
  QVERIFY(shown.contains("1 deleted record\n"));
}

// After Stop the focus went on to "About" and the bar stayed where the run
// had been.
void MainWindowTest::StopGivesTheFocusBackToProcess() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  std::atomic<bool> finish = false;
  MainWindow window(place.Setup(LongRun(finish)), place.Dialogs());
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QVERIFY(window.ShowFolder(folder));
  QSignalSpy finished(&window, &MainWindow::runFinished);
  Process(window)->setFocus();
  QTest::keyClick(Process(window), Qt::Key_Space);
  QTRY_COMPARE(Text(window, "progress_text"), QString("Players: Aaron,Hank"));
  QCOMPARE(Child<QProgressBar>(window, "progress_bar")->value(), 8);
  QCOMPARE(Text(window, "progress_label"), QString("Player being Processed"));
  QTest::keyClick(Process(window), Qt::Key_Space);  // Stop
  QVERIFY(finished.wait(5000));
  QCOMPARE(Text(window, "progress_text"), QString("Stopped"));
  QCOMPARE(Child<QProgressBar>(window, "progress_bar")->value(), 0);
  QVERIFY(Text(window, "status_text").startsWith("Stopped"));
  QCOMPARE(QApplication::focusWidget(), Process(window));
  QVERIFY(QDir(place.Path("Documents")).entryList(QDir::Files).isEmpty());
}

// Closing during a run left the question open while the run ended, with its
// box on top; answering Yes closed the window but left the program running.
void MainWindowTest::ClosingDuringARunAsksFirstAndEndsTheProgram() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  std::atomic<bool> finish = false;
  MainWindow window(place.Setup(LongRun(finish)), place.Dialogs());
  window.show();
  QVERIFY(window.ShowFolder(folder));
  QSignalSpy ended(&window, &MainWindow::programEnded);
  QSignalSpy finished(&window, &MainWindow::runFinished);

  // No, while the run ends: nothing is told before the answer.
  QTest::mouseClick(Process(window), Qt::LeftButton);
  place.answer = false;
  place.while_modal = [&] {
    finish = true;
    QTest::qWait(300);
    QVERIFY(finished.isEmpty() && place.opened.isEmpty());
  };
  QTest::mouseClick(Child<QPushButton>(window, "exit_button"), Qt::LeftButton);
  QCOMPARE(place.questions.size(), 1);
  QVERIFY(window.isVisible());
  QCOMPARE(finished.size(), 1);
  QCOMPARE(place.opened.size(), 1);
  QVERIFY(ended.isEmpty());

  // Yes: the window goes, and the program ends once the run has stopped.
  place.while_modal = nullptr;
  finish = false;
  QTest::mouseClick(Process(window), Qt::LeftButton);
  place.answer = true;
  QTest::mouseClick(Child<QPushButton>(window, "exit_button"), Qt::LeftButton);
  QVERIFY(!window.isVisible());
  QVERIFY(ended.wait(5000));
  QCOMPARE(ended.first().first().toInt(), 0);
  QCOMPARE(finished.size(), 1);
  QCOMPARE(QDir(place.Path("Documents")).entryList(QDir::Files).size(), 0);
}

// A folder name holding markup was drawn as markup in the error box.
void MainWindowTest::TextFromDataIsNeverMarkup() {
  const QString html = QStringLiteral("<h1 style=\"color:red\">big</h1><img src=\"/x.png\">");
  const auto box = MakeMessageBox(Severity::kError, html, MessageButtons::kOk, nullptr);
  QCOMPARE(box->textFormat(), Qt::PlainText);
  QCOMPARE(box->text(), html);
  QCOMPARE(box->windowTitle(), QString("StatCrane"));
  QVERIFY(box->findChild<QPushButton*>("show_report_button") == nullptr);
  const auto warning =
      MakeMessageBox(Severity::kWarning, html, MessageButtons::kOkAndShowReport, nullptr);
  QVERIFY(warning->findChild<QPushButton*>("show_report_button") != nullptr);

  Place place;
  MainWindow window(place.Setup(), place.Dialogs());
  for (const char* name : {"folder_hint", "status_text"}) {
    QCOMPARE(Child<QLabel>(window, name)->textFormat(), Qt::PlainText);
  }
  window.model().PathTyped(html.toStdString());
  window.model().PathEditingFinished();
  QVERIFY(!Child<QLineEdit>(window, "folder_path")->toolTip().contains("<h1"));
}

// At a scale of 2 on a 1280x900 screen (640x450 to the window) the window
// was 926x1188 at least: Process and Exit off the screen.
void MainWindowTest::TheWindowFitsASmallScreen() {
  Place place;
  MainWindow window(place.Setup(), place.Dialogs());
  const QSize smallest = window.minimumSizeHint();
  QVERIFY2(smallest.width() <= 600 && smallest.height() <= 400,
           qPrintable(QStringLiteral("%1x%2").arg(smallest.width()).arg(smallest.height())));
  window.resize(600, 400);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  for (const char* name : {"process_button", "exit_button"}) {
    const QWidget* button = Child<QWidget>(window, name);
    QVERIFY2(window.rect().contains(QRect(button->mapTo(&window, QPoint(0, 0)), button->size())),
             name);
  }
}

void MainWindowTest::HelpersOfTheWindow() {
  QVERIFY(IsUserVolume("/", "overlay"));
  QVERIFY(IsUserVolume("/home", "ext4"));
  QVERIFY(IsUserVolume("/run/media/me/STICK", "vfat"));
  QVERIFY(!IsUserVolume("/proc", "proc"));
  QVERIFY(!IsUserVolume("/sys/fs/cgroup", "cgroup2"));
  QVERIFY(!IsUserVolume("/dev/shm", "tmpfs"));
  QVERIFY(!IsUserVolume("/run/user/1000", "ext4"));
  QVERIFY(!IsUserVolume("/snap/core/1", "squashfs"));

  // Time stamps as the locale writes them, with the year in four digits
  // and no time zone.
  const QDateTime when(QDate(2011, 7, 10), QTime(9, 5, 3));
  for (const char* name : {"en_US", "de_DE", "en_GB", "ja_JP"}) {
    const QString text = FullDateTime(when, QLocale(QString::fromLatin1(name)));
    QVERIFY2(text.contains("2011") && text.contains("05") && text.contains("03"),
             qPrintable(name + (": " + text)));
  }
  QCOMPARE(FullDateTime(when, QLocale("de_DE")), QString("10.07.2011 09:05:03"));
}

}  // namespace statcrane

QTEST_MAIN(statcrane::MainWindowTest)
#include "main_window_test.moc"
