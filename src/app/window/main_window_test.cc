// The main window on the offscreen platform: start-up and the remembered
// folder, choosing the folder, the keyboard, runs started through the button
// and how they end (completed, with warnings, failed, stopped).
#include "app/window/main_window.h"

#include <sys/stat.h>

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
#include <QPlainTextEdit>
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
#include "app/window/workbook_name.h"
#include "util/error.h"

namespace statcrane {
namespace {

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

QByteArray RememberedLine(const QString& folder) {
  return "\"" + QFile::encodeName(folder) + "\"\r\n";
}

// Every folder of one window under a temporary folder, and what the window
// showed, asked or opened.
class Place {
 public:
  Place() {
    for (const char* name : {"prog", "start", "home"}) QDir(root_.path()).mkpath(name);
  }
  QString Path(const QString& name) const { return QDir(root_.path()).filePath(name); }
  QString RememberedFile() const { return Path("prog/data/STATCRANE.txt"); }

  WindowSetup Setup() {
    WindowSetup setup;
    setup.program_folder = Path("prog");
    setup.config_folder = Path("config");
    setup.start_folder = Path("start");
    setup.home_folder = Path("home");
    setup.documents_folder = Path("Documents");
    setup.open_workbook = [this](const QString& path) { opened << path; };
    setup.message = [this](QMessageBox::Icon icon, const QString& text) {
      (icon == QMessageBox::Critical  ? errors
       : icon == QMessageBox::Warning ? warnings
                                      : messages)
          << text;
    };
    setup.ask = [this](const QString& question) {
      questions << question;
      return answer;
    };
    setup.choose_folder = [this](const QString&, const QString&) { return chosen_folder; };
    setup.choose_report_file = [this](const QString&) { return chosen_file; };
    setup.show_dialog = [this](QDialog& dialog) {
      if (on_dialog) on_dialog(dialog);
    };
    return setup;
  }

  // A folder holding the named files, each empty.
  QString Folder(const QString& name, const QStringList& files) {
    QDir(root_.path()).mkpath(name);
    for (const QString& file : files) WriteFile(Path(name + "/" + file), {});
    return Path(name);
  }

  QStringList opened, messages, warnings, errors, questions;
  bool answer = true;
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

QPushButton* Process(const QWidget& window) { return Child<QPushButton>(window, "process_button"); }

// A run that reports what the test asks and returns at once.
RunFunction FakeRun(std::function<void(RunResult&, const RunOptions&)> fill) {
  return [fill](const RunOptions& options, RunObserver& observer, RememberedFolder* remembered) {
    observer.ProgressText("TEAMS COMPLETED");
    RunResult result;
    fill(result, options);
    if (result.completed && remembered != nullptr) remembered->Save(options.encyclopedia_folder);
    return result;
  };
}

// The folder with the bundled sample encyclopedia, or a stand-in holding
// only an empty team file while the sample is not there.
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
  void ProcessSaysWhyItIsDisabled();
  void PathFieldAndBrowseChooseTheFolder();
  void SecondStartShowsTheRememberedFolderAtOnce();
  void RememberedFilesThatAreNotSmallRegularFilesAreIgnored();
  void RunThroughTheButtonWritesANewWorkbookEachTime();
  void RunReportCanBeCopiedAndSaved();
  void FailedRunIsToldAndTheWindowIsReadyAgain();
  void WarningsAreToldInOneMessage();
  void PlayerIndexGoesToTheRunAndIsRememberedWithTheFolder();
  void WorkbookFolderIsCheckedWhenChosenAndBeforeARun();
  void StopEndsTheRunWithoutAWorkbook();
  void ClosingDuringARunAsksFirst();
  void ExitWhileTheWorkbookIsWrittenLeavesNoWorkbook();
  void HelpersOfTheWindow();
};

void MainWindowTest::FirstStartShowsTheInitialState() {
  Place place;
  MainWindow window(place.Setup());
  QCOMPARE(window.windowTitle(), QString("StatCrane"));
  QVERIFY(!window.windowIcon().isNull());
  const std::pair<const char*, const char*> captions[] = {
      {"drive_label", "Encyclopedia Drive"},
      {"folder_label", "Encyclopedia Folder"},
      {"progress_label", "Player being Processed"},
      {"started_label", "Processing Started"},
      {"ended_label", "Processing Ended"},
      {"viewing_group", "Spreadsheet Viewing"},
      {"sheets_group", "Spreadsheets Desired"},
      {"view_while", "View While Processing"},
      {"view_after", "View After Completed"},
      {"dont_open", "Don't open"},
      {"players_only", "Players Only"},
      {"teams_only", "Teams Only"},
      {"players_and_teams", "Players and Teams"},
      {"player_index", "Player index"},
      {"process_button", "Process"},
      {"exit_button", "EXIT"}};
  for (const auto& [name, caption] : captions) QCOMPARE(Text(window, name), QString(caption));
  QVERIFY(Child<QLabel>(window, "drive_label")->font().bold());
  QVERIFY(Child<QRadioButton>(window, "view_while")->isChecked());
  QVERIFY(Child<QRadioButton>(window, "players_and_teams")->isChecked());
  QVERIFY(!Child<QCheckBox>(window, "player_index")->isChecked());
  for (const char* name : {"progress_text", "started_time", "ended_time", "saved_workbook"}) {
    QVERIFY2(Text(window, name).isEmpty(), name);
  }

  // First start: the file is made holding the program's folder, and the
  // path and the lists show the current folder on its drive.
  QCOMPARE(FileBytes(place.RememberedFile()), RememberedLine(place.Path("prog")));
  QCOMPARE(window.EncyclopediaFolder(), place.Path("start"));
  QCOMPARE(Text(window, "folder_path"), QDir::toNativeSeparators(place.Path("start")));
  QCOMPARE(ShownFolder(window), place.Path("start"));
  QCOMPARE(Child<QComboBox>(window, "drive_list")->currentData().toString(),
           QStorageInfo(place.Path("start")).rootPath());
  QCOMPARE(window.OutputFolder(), place.Path("Documents"));
  QVERIFY(!Process(window)->isEnabled());
  QVERIFY(place.messages.isEmpty() && place.warnings.isEmpty() && place.errors.isEmpty());

  // The drive list offers no pseudo file systems.
  auto* drives = Child<QComboBox>(window, "drive_list");
  for (int i = 0; i < drives->count(); ++i) {
    const QString root = drives->itemData(i).toString();
    QVERIFY2(!root.startsWith("/proc") && !root.startsWith("/sys"), qPrintable(root));
  }

  // About: the version and the licence.
  QTest::mouseClick(Child<QPushButton>(window, "about_button"), Qt::LeftButton);
  QCOMPARE(place.messages.size(), 1);
  QVERIFY(place.messages[0].contains(STATCRANE_VERSION_TEXT) &&
          place.messages[0].contains("licence"));
}

void MainWindowTest::KeyboardFollowsTheLayout() {
  Place place;
  const QString league = place.Folder("league", {"ENCTEAM.DAT"});
  std::atomic<int> runs = 0;
  WindowSetup setup = place.Setup();
  setup.run = FakeRun([&](RunResult& result, const RunOptions&) {
    ++runs;
    result.completed = true;
  });
  MainWindow window(setup);
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
           QStringList({"folder_path", "browse_button", "drive_list", "folder_tree", "view_while",
                        "view_after", "dont_open", "players_only", "teams_only",
                        "players_and_teams", "player_index", "change_output_button",
                        "process_button", "report_button", "about_button", "exit_button"}));

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

  // A path typed into the field and Return: the folder is shown and
  // processed.
  auto* path = Child<QLineEdit>(window, "folder_path");
  path->selectAll();
  QTest::keyClicks(path, league);
  QTest::keyClick(path, Qt::Key_Return);
  QCOMPARE(window.EncyclopediaFolder(), league);
  QTRY_COMPARE(runs.load(), 1);
  QTRY_VERIFY(!window.running());
}

void MainWindowTest::ProcessSaysWhyItIsDisabled() {
  Place place;
  const QString capitals = place.Folder("capitals", {"ENCTEAM.DAT"});
  const QString others = place.Folder(
      "others", {"ENCPLYR.DAT", "ENCPLSTATS.DAT", "encleag.dat", "enclgyr.dat", "enctmyr.dat"});
  MainWindow window(place.Setup());
  auto* hint = Child<QLabel>(window, "folder_hint");

  QVERIFY(window.ShowFolder(capitals));
  QVERIFY(Process(window)->isEnabled());
  QVERIFY2(hint->text().contains("ENCPLYR.DAT") && hint->text().contains("enctmyr.dat"),
           qPrintable(hint->text()));
  QVERIFY(window.ShowFolder(others));
  QVERIFY(!Process(window)->isEnabled());
  QVERIFY2(hint->text().contains("ENCTEAM.DAT"), qPrintable(hint->text()));

  // Choosing in the folder list is a folder change like any other.
  auto* tree = Child<QTreeView>(window, "folder_tree");
  tree->setCurrentIndex(TreeRow(tree, capitals));
  QCOMPARE(window.EncyclopediaFolder(), capitals);
  QVERIFY(Process(window)->isEnabled());

  // The file appearing and disappearing while the folder is shown.
  QVERIFY(window.ShowFolder(others));
  WriteFile(others + "/EncTeam.Dat", {});
  QTRY_VERIFY_WITH_TIMEOUT(Process(window)->isEnabled(), 10000);
  QVERIFY(hint->text().isEmpty());
  QVERIFY(QFile::remove(others + "/EncTeam.Dat"));
  QTRY_VERIFY_WITH_TIMEOUT(!Process(window)->isEnabled(), 10000);
}

void MainWindowTest::PathFieldAndBrowseChooseTheFolder() {
  Place place;
  const QString league = place.Folder("my league/enc", {"encteam.dat"});
  const QString other = place.Folder("other", {"ENCTEAM.DAT"});
  MainWindow window(place.Setup());
  auto* path = Child<QLineEdit>(window, "folder_path");
  QVERIFY(!path->isReadOnly());

  // Pasted with a trailing separator and blanks.
  path->setText("  " + league + "/ ");
  emit path->editingFinished();
  QCOMPARE(window.EncyclopediaFolder(), league);
  QCOMPARE(ShownFolder(window), league);
  QVERIFY(Process(window)->isEnabled());

  // A path that is no folder keeps Process off and says so.
  path->setText(place.Path("no such folder"));
  emit path->editingFinished();
  QVERIFY(!Process(window)->isEnabled());
  QVERIFY(Text(window, "folder_hint").contains("does not exist"));

  // Browse...: the folder dialog's choice is shown; cancelling changes nothing.
  place.chosen_folder = other;
  QTest::mouseClick(Child<QPushButton>(window, "browse_button"), Qt::LeftButton);
  QCOMPARE(window.EncyclopediaFolder(), other);
  QCOMPARE(Text(window, "folder_path"), QDir::toNativeSeparators(other));
  QVERIFY(Process(window)->isEnabled());
  place.chosen_folder.clear();
  QTest::mouseClick(Child<QPushButton>(window, "browse_button"), Qt::LeftButton);
  QCOMPARE(window.EncyclopediaFolder(), other);

  // The tree lists folders by name, also the ones beside a folder shown
  // before its parent was listed.
  for (const char* name : {"b", "C", "a"}) place.Folder(QStringLiteral("sorted/") + name, {});
  QVERIFY(window.ShowFolder(place.Path("sorted/b")));
  auto* tree = Child<QTreeView>(window, "folder_tree");
  const auto names = [&] {  // the folders are listed in the background
    const QModelIndex sorted = TreeRow(tree, place.Path("sorted"));
    tree->expand(sorted);
    QStringList found;
    for (int row = 0; row < tree->model()->rowCount(sorted); ++row) {
      found << tree->model()->index(row, 0, sorted).data().toString();
    }
    return found.join(",");
  };
  QTRY_COMPARE(names(), QStringLiteral("a,b,C"));
}

void MainWindowTest::SecondStartShowsTheRememberedFolderAtOnce() {
  Place place;
  const QString league = place.Folder("league", {"encteam.dat"});
  QDir().mkpath(place.Path("prog/data"));
  WriteFile(place.RememberedFile(), "  " + RememberedLine(league));
  {
    MainWindow window(place.Setup());
    QCOMPARE(window.EncyclopediaFolder(), league);
    QCOMPARE(Text(window, "folder_path"), QDir::toNativeSeparators(league));
    QCOMPARE(ShownFolder(window), league);
    QVERIFY(Process(window)->isEnabled());
  }
  // Reading leaves the file as it was.
  QCOMPARE(FileBytes(place.RememberedFile()), "  " + RememberedLine(league));

  // A remembered folder that is gone gives way to the home folder.
  WriteFile(place.RememberedFile(), RememberedLine(place.Path("gone/league")));
  MainWindow again(place.Setup());
  QCOMPARE(again.EncyclopediaFolder(), place.Path("home"));
  QVERIFY(place.warnings.isEmpty() && place.errors.isEmpty());
}

void MainWindowTest::RememberedFilesThatAreNotSmallRegularFilesAreIgnored() {
  const std::pair<const char*, std::function<void(const QString&)>> cases[] = {
      {"folder", [](const QString& file) { QDir().mkpath(file); }},
      {"pipe", [](const QString& file) { QCOMPARE(mkfifo(QFile::encodeName(file), 0600), 0); }},
      {"huge",
       [](const QString& file) { WriteFile(file, "\"/enc\"\r\n" + QByteArray(1 << 20, ' ')); }},
  };
  for (const auto& [what, make] : cases) {
    Place place;
    QDir().mkpath(place.Path("prog/data"));
    make(place.RememberedFile());
    make(place.Path("prog/data/OUTPUT.txt"));
    MainWindow window(place.Setup());
    QVERIFY2(window.EncyclopediaFolder() == place.Path("start"), what);
    QVERIFY2(window.OutputFolder() == place.Path("Documents"), what);
    QVERIFY2(place.errors.isEmpty(), what);
  }
  // Nowhere to keep the file: the window starts and says so.
  Place place;
  WriteFile(place.Path("prog/data"), "a file where the data folder belongs");
  WriteFile(place.Path("config"), "a file where the configuration folder belongs");
  MainWindow window(place.Setup());
  QCOMPARE(window.EncyclopediaFolder(), place.Path("start"));
  QVERIFY2(Text(window, "status_text").contains("STATCRANE.txt"),
           qPrintable(Text(window, "status_text")));
}

void MainWindowTest::RunThroughTheButtonWritesANewWorkbookEachTime() {
  Place place;
  const QString folder = SampleFolder(place);
  auto window = std::make_unique<MainWindow>(place.Setup());
  QVERIFY(window->ShowFolder(folder));
  QVERIFY(Process(*window)->isEnabled());
  QSignalSpy finished(window.get(), &MainWindow::runFinished);

  QTest::mouseClick(Process(*window), Qt::LeftButton);
  // While the run goes on, Process is Stop and the choices are off.
  QVERIFY(window->running());
  QCOMPARE(Text(*window, "process_button"), QString("Stop"));
  QVERIFY(Process(*window)->isEnabled());
  for (const char* name :
       {"folder_path", "browse_button", "drive_list", "folder_tree", "viewing_group",
        "sheets_group", "change_output_button", "report_button"}) {
    QVERIFY2(!Child<QWidget>(*window, name)->isEnabled(), name);
  }
  QVERIFY(QApplication::overrideCursor() != nullptr);
  QVERIFY(finished.wait(120000));
  QVERIFY(!window->running());
  QCOMPARE(QApplication::overrideCursor(), nullptr);
  QCOMPARE(Text(*window, "process_button"), QString("Process"));

  QVERIFY2(place.errors.isEmpty(), qPrintable(place.errors.join('\n')));
  QCOMPARE(Text(*window, "progress_text"), QString("Processing Completed"));
  // Both time stamps are of this run, with the year in full.
  const QRegularExpression full_year(R"(\b20\d\d\b)");
  QVERIFY2(full_year.match(Text(*window, "started_time")).hasMatch(),
           qPrintable(Text(*window, "started_time")));
  QVERIFY2(full_year.match(Text(*window, "ended_time")).hasMatch(),
           qPrintable(Text(*window, "ended_time")));
  for (const char* name : {"view_while", "view_after", "dont_open", "players_only"}) {
    QVERIFY2(Child<QWidget>(*window, name)->isEnabled(), name);
  }
  QVERIFY(Child<QPushButton>(*window, "report_button")->isEnabled());

  const QStringList written = QDir(place.Path("Documents")).entryList(QDir::Files);
  QCOMPARE(written.size(), 1);
  QVERIFY2(QRegularExpression(R"(^StatCrane \d{4}-\d\d-\d\d \d\d-\d\d-\d\d\.xlsx$)")
               .match(written[0])
               .hasMatch(),
           qPrintable(written[0]));
  const QString first = place.Path("Documents/" + written[0]);
  const QByteArray first_bytes = FileBytes(first);
  QVERIFY(first_bytes.startsWith("PK"));
  QCOMPARE(Text(*window, "saved_workbook"), QDir::toNativeSeparators(first));
  QCOMPARE(place.opened, QStringList{first});
  QVERIFY(FileBytes(place.RememberedFile()).startsWith(RememberedLine(QDir::cleanPath(folder))));

  // A second run, teams only, not opened, into another folder the user
  // picked: a new file, the first one untouched.
  place.chosen_folder = place.Path("Workbooks");
  QDir().mkpath(place.chosen_folder);
  QTest::mouseClick(Child<QPushButton>(*window, "change_output_button"), Qt::LeftButton);
  QCOMPARE(window->OutputFolder(), place.Path("Workbooks"));
  QTest::mouseClick(Child<QRadioButton>(*window, "teams_only"), Qt::LeftButton);
  QTest::mouseClick(Child<QRadioButton>(*window, "dont_open"), Qt::LeftButton);
  QTest::mouseClick(Process(*window), Qt::LeftButton);
  QVERIFY(finished.wait(120000));
  QCOMPARE(Text(*window, "progress_text"), QString("Processing Completed"));
  QCOMPARE(QDir(place.Path("Workbooks")).entryList(QDir::Files).size(), 1);
  QCOMPARE(FileBytes(first), first_bytes);
  QCOMPARE(place.opened.size(), 1);

  // The next start opens on the run's folder and the chosen workbook folder.
  window.reset();
  MainWindow again(place.Setup());
  QCOMPARE(again.EncyclopediaFolder(), QDir::cleanPath(folder));
  QVERIFY(Process(again)->isEnabled());
  QCOMPARE(again.OutputFolder(), place.Path("Workbooks"));
}

void MainWindowTest::RunReportCanBeCopiedAndSaved() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  WindowSetup setup = place.Setup();
  setup.run = FakeRun([](RunResult& result, const RunOptions&) {
    result.completed = result.saved = true;
    result.report.RecordsRead("ENCTEAM.DAT", 30);
    result.report.RecordSkipped("ENCTEAM.DAT", "deleted records");
  });
  MainWindow window(setup);
  QVERIFY(window.ShowFolder(folder));
  QVERIFY(!Child<QPushButton>(window, "report_button")->isEnabled());
  QSignalSpy finished(&window, &MainWindow::runFinished);
  QTest::mouseClick(Process(window), Qt::LeftButton);
  QVERIFY(finished.wait(10000));

  place.chosen_file = place.Path("report.txt");
  QString shown;
  bool selectable = false;
  place.on_dialog = [&](QDialog& dialog) {
    auto* text = Child<QPlainTextEdit>(dialog, "report_text");
    shown = text->toPlainText();
    selectable = text->textInteractionFlags() & Qt::TextSelectableByMouse;
    QTest::mouseClick(Child<QPushButton>(dialog, "copy_button"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(dialog, "save_button"), Qt::LeftButton);
  };
  QTest::mouseClick(Child<QPushButton>(window, "report_button"), Qt::LeftButton);
  QVERIFY2(shown.contains("ENCTEAM.DAT") && shown.contains("1 deleted records"), qPrintable(shown));
  QVERIFY(selectable);
  QCOMPARE(QApplication::clipboard()->text(), shown);
  QCOMPARE(QString::fromUtf8(FileBytes(place.chosen_file)), shown);

  // A file that cannot be written is told.
  place.warnings.clear();
  RunReportDialog dialog(
      "text", [](const QString&) { return QString("/proc/no/report.txt"); },
      [&](const QString& text) { place.warnings << text; });
  QVERIFY(!dialog.Save());
  QCOMPARE(place.warnings.size(), 1);
}

void MainWindowTest::FailedRunIsToldAndTheWindowIsReadyAgain() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  WindowSetup setup = place.Setup();
  setup.run = FakeRun([](RunResult& result, const RunOptions& options) {
    result.error = StatCraneError("ENCPLSTATS.DAT: the file cannot be read (Input/output error)");
    result.saved = true;
    result.report.incomplete = true;
    result.report.output_path = options.output.string() + " (incomplete).xlsx";
  });
  MainWindow window(setup);
  QVERIFY(window.ShowFolder(folder));
  QSignalSpy finished(&window, &MainWindow::runFinished);
  QSignalSpy ended(&window, &MainWindow::programEnded);
  QTest::mouseClick(Process(window), Qt::LeftButton);
  QVERIFY(finished.wait(10000));
  QVERIFY(ended.isEmpty());
  QCOMPARE(place.errors.size(), 1);
  const QString& error = place.errors.first();
  QVERIFY2(error.contains("ENCPLSTATS.DAT: the file cannot be read") &&
               error.contains("incomplete workbook") && error.contains("(incomplete).xlsx"),
           qPrintable(error));
  QVERIFY(Text(window, "saved_workbook").endsWith("(incomplete).xlsx"));
  QVERIFY(!Text(window, "ended_time").isEmpty());
  QVERIFY(place.opened.isEmpty());
  // Ready again: Process works, the choices are on, the folder is not
  // remembered.
  QVERIFY(Process(window)->isEnabled());
  QCOMPARE(Text(window, "process_button"), QString("Process"));
  QVERIFY(Child<QWidget>(window, "folder_path")->isEnabled());
  QCOMPARE(FileBytes(place.RememberedFile()), RememberedLine(place.Path("prog")));
}

void MainWindowTest::WarningsAreToldInOneMessage() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  WindowSetup setup = place.Setup();
  setup.run = FakeRun([](RunResult& result, const RunOptions&) {
    result.completed = result.saved = true;
    for (const char* file : {"ENCPLYR.DAT", "encleag.dat"}) result.report.FileMissing(file);
    for (int i = 0; i < 60; ++i) result.report.RecordSkipped("ENCTEAM.DAT", "deleted records");
    for (const int type : {0, 3, 3, 4, 8, 8, 8}) result.report.UnknownSeasonType(type);
  });
  MainWindow window(setup);
  QVERIFY(window.ShowFolder(folder));
  QSignalSpy finished(&window, &MainWindow::runFinished);
  QTest::mouseClick(Process(window), Qt::LeftButton);
  QVERIFY(finished.wait(10000));
  QVERIFY(place.messages.isEmpty() && place.errors.isEmpty());
  QCOMPARE(place.warnings.size(), 1);
  const QString& text = place.warnings.first();
  QVERIFY2(text.startsWith("Completed with warnings: 2 files missing, 60 records skipped, 7 "
                           "records of unknown season types \u2014 see Run Report"),
           qPrintable(text));
  QVERIFY2(text.contains("0 (1 record), 3 (2 records), 4 (1 record), 8 (3 records)"),
           qPrintable(text));
  QVERIFY(Text(window, "status_text").startsWith("Completed with warnings: 2 files missing"));
  QCOMPARE(Child<QLabel>(window, "status_icon")->property("severity").toInt(),
           static_cast<int>(QMessageBox::Warning));
  QCOMPARE(place.opened.size(), 1);
}

void MainWindowTest::PlayerIndexGoesToTheRunAndIsRememberedWithTheFolder() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  std::vector<IndexChoice> asked;
  bool fail = false;
  WindowSetup setup = place.Setup();
  setup.run = FakeRun([&](RunResult& result, const RunOptions& options) {
    asked.push_back(options.index);
    if (fail) {
      result.error = StatCraneError("broken");
    } else {
      result.completed = result.saved = true;
    }
  });
  auto window = std::make_unique<MainWindow>(setup);
  auto* index = Child<QCheckBox>(*window, "player_index");
  QVERIFY(window->ShowFolder(folder));
  QSignalSpy finished(window.get(), &MainWindow::runFinished);
  QTest::mouseClick(Process(*window), Qt::LeftButton);
  QVERIFY(finished.wait(10000));
  QTest::mouseClick(index, Qt::LeftButton);
  QVERIFY(index->isChecked());
  QTest::mouseClick(Process(*window), Qt::LeftButton);
  QVERIFY(finished.wait(10000));
  QCOMPARE(asked, (std::vector<IndexChoice>{IndexChoice::kNone, IndexChoice::kIndex}));
  QVERIFY2(FileBytes(place.RememberedFile()).contains("\r\nplayer-index \"1\"\r\n"),
           FileBytes(place.RememberedFile()).constData());

  // A failed run remembers neither its folder nor its choice.
  fail = true;
  QTest::mouseClick(index, Qt::LeftButton);
  QTest::mouseClick(Process(*window), Qt::LeftButton);
  QVERIFY(finished.wait(10000));
  QCOMPARE(asked.back(), IndexChoice::kNone);

  // The next start shows the choice of the last completed run.
  window.reset();
  MainWindow again(place.Setup());
  QVERIFY(Child<QCheckBox>(again, "player_index")->isChecked());
}

void MainWindowTest::WorkbookFolderIsCheckedWhenChosenAndBeforeARun() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  std::atomic<int> runs = 0;
  WindowSetup setup = place.Setup();
  setup.run = FakeRun([&](RunResult& result, const RunOptions&) {
    ++runs;
    result.completed = true;
  });
  MainWindow window(setup);
  QVERIFY(window.ShowFolder(folder));

  // /proc takes no files, whatever its permission bits say to the superuser.
  QVERIFY(!window.SetOutputFolder("/proc"));
  QCOMPARE(window.OutputFolder(), place.Path("Documents"));
  QCOMPARE(place.warnings.size(), 1);
  QVERIFY2(place.warnings[0].contains("/proc"), qPrintable(place.warnings[0]));

  // A chosen folder that became a file before the run: told, no run.
  QVERIFY(window.SetOutputFolder(place.Folder("books", {})));
  QVERIFY(QDir(place.Path("books")).removeRecursively());
  WriteFile(place.Path("books"), "now a file");
  QTest::mouseClick(Process(window), Qt::LeftButton);
  QVERIFY(!window.running());
  QCOMPARE(runs.load(), 0);
  QCOMPARE(place.warnings.size(), 2);
  QVERIFY2(place.warnings[1].contains("Change"), qPrintable(place.warnings[1]));
}

void MainWindowTest::StopEndsTheRunWithoutAWorkbook() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  WindowSetup setup = place.Setup();
  setup.run = [](const RunOptions&, RunObserver& observer, RememberedFolder*) {
    observer.PhaseProgress("players", 1, 4);
    observer.ProgressText("Aaron,Hank");
    for (int i = 0; i < 20000; ++i) {
      CheckStop(observer);
      QThread::msleep(1);
    }
    return RunResult{};
  };
  MainWindow window(setup);
  QVERIFY(window.ShowFolder(folder));
  QSignalSpy finished(&window, &MainWindow::runFinished);
  QTest::mouseClick(Process(window), Qt::LeftButton);
  QTRY_COMPARE(Text(window, "progress_text"), QString("Players: Aaron,Hank"));
  QTest::mouseClick(Process(window), Qt::LeftButton);  // Stop
  QVERIFY(finished.wait(5000));
  QVERIFY(!window.running());
  QVERIFY(Text(window, "status_text").startsWith("Stopped"));
  QVERIFY(Process(window)->isEnabled());
  QVERIFY(QDir(place.Path("Documents")).entryList(QDir::Files).isEmpty());
  QVERIFY(place.opened.isEmpty() && place.warnings.isEmpty() && place.errors.isEmpty());
}

void MainWindowTest::ClosingDuringARunAsksFirst() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  WindowSetup setup = place.Setup();
  setup.run = [](const RunOptions&, RunObserver& observer, RememberedFolder*) {
    for (int i = 0; i < 20000; ++i) {
      CheckStop(observer);
      QThread::msleep(1);
    }
    return RunResult{};
  };
  MainWindow window(setup);
  QVERIFY(window.ShowFolder(folder));
  QSignalSpy ended(&window, &MainWindow::programEnded);
  QTest::mouseClick(Process(window), Qt::LeftButton);

  place.answer = false;
  QTest::mouseClick(Child<QPushButton>(window, "exit_button"), Qt::LeftButton);
  QCOMPARE(place.questions.size(), 1);
  QTest::qWait(100);
  QVERIFY(window.running());
  QVERIFY(ended.isEmpty());

  place.answer = true;
  QTest::mouseClick(Child<QPushButton>(window, "exit_button"), Qt::LeftButton);
  QVERIFY(ended.wait(5000));
  QCOMPARE(ended.first().first().toInt(), 0);
  QVERIFY(!window.running());
  QVERIFY(QDir(place.Path("Documents")).entryList(QDir::Files).isEmpty());
  QCOMPARE(FileBytes(place.RememberedFile()), RememberedLine(place.Path("prog")));
}

void MainWindowTest::ExitWhileTheWorkbookIsWrittenLeavesNoWorkbook() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  WindowSetup setup = place.Setup();
  // A run past its last stop check: it writes its workbook whatever happens.
  setup.run = [](const RunOptions& options, RunObserver& observer, RememberedFolder*) {
    for (int i = 0; i < 5000 && !observer.StopRequested(); ++i) QThread::msleep(1);
    QFile file(QFile::decodeName(options.output.c_str()));
    file.open(QIODevice::WriteOnly);
    file.write("PK");
    file.close();
    RunResult result;
    result.saved = result.completed = true;
    return result;
  };
  MainWindow window(setup);
  QVERIFY(window.ShowFolder(folder));
  QSignalSpy ended(&window, &MainWindow::programEnded);
  QTest::mouseClick(Process(window), Qt::LeftButton);
  window.close();
  QVERIFY(ended.wait(10000));
  QVERIFY(QDir(place.Path("Documents")).entryList(QDir::Files).isEmpty());
  QVERIFY(place.opened.isEmpty() && place.warnings.isEmpty() && place.errors.isEmpty());
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

  // Workbook names never repeat.
  QTemporaryDir dir;
  const QString first = NewWorkbookPath(dir.path(), when);
  QCOMPARE(first, dir.filePath("StatCrane 2011-07-10 09-05-03.xlsx"));
  WriteFile(first, "x");
  const QString second = NewWorkbookPath(dir.path(), when);
  QCOMPARE(second, dir.filePath("StatCrane 2011-07-10 09-05-03 (2).xlsx"));
}

}  // namespace statcrane

QTEST_MAIN(statcrane::MainWindowTest)
#include "main_window_test.moc"
