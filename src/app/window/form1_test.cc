// Form1 on the offscreen platform: start-up, the remembered folder, when
// "Process" is enabled, and runs started through the button.
#include "app/window/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeView>
#include <memory>

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
// showed or opened.
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
      (icon == QMessageBox::Critical ? errors : messages) << text;
    };
    return setup;
  }

  // A folder holding the named files, each empty.
  QString Folder(const QString& name, const QStringList& files) {
    QDir(root_.path()).mkpath(name);
    for (const QString& file : files) WriteFile(Path(name + "/" + file), {});
    return Path(name);
  }

  QStringList opened;
  QStringList messages;
  QStringList errors;

 private:
  QTemporaryDir root_;
};

template <typename T>
T* Child(const Form1& form, const char* name) {
  T* child = form.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) qFatal("no control %s", name);
  return child;
}

QString Text(const Form1& form, const char* name) {
  if (auto* label = form.findChild<QLabel*>(name)) return label->text();
  if (auto* box = form.findChild<QGroupBox*>(name)) return box->title();
  if (auto* button = form.findChild<QAbstractButton*>(name)) return button->text();
  if (auto* edit = form.findChild<QLineEdit*>(name)) return edit->text();
  qFatal("no control %s", name);
}

QString ShownFolder(const Form1& form) {
  auto* tree = Child<QTreeView>(form, "dir1");
  return static_cast<QFileSystemModel*>(tree->model())->filePath(tree->currentIndex());
}

// The folder with the bundled sample encyclopedia, or a stand-in holding
// only an empty team file while the sample is not there.
QString SampleFolder(Place& place) {
  const QString sample = QStringLiteral(STATCRANE_SOURCE_DIR "/samples/sample-encyclopedia");
  if (QFileInfo(sample).isDir()) return sample;
  qInfo("no bundled sample yet; running on an empty ENCTEAM.DAT");
  return place.Folder("tiny", {"ENCTEAM.DAT"});
}

}  // namespace

class Form1Test : public QObject {
  Q_OBJECT

 private slots:
  void FirstStartShowsTheInitialState();
  void ProcessFollowsTheTeamFileInAnySpelling();
  void SecondStartOpensTheRememberedFolder();
  void RememberedFolderThatIsGoneStartsAtHome();
  void NowhereToKeepTheRememberedFolderIsAStartupError();
  void RunThroughTheButtonWritesANewWorkbookEachTime();
  void FailedRunReportsAndEndsTheProgram();
  void ExitDuringARunStopsItWithoutAWorkbook();
  void ExitWhileTheWorkbookIsWrittenLeavesNoWorkbook();
  void WorkbookNamesNeverRepeat();
};

void Form1Test::FirstStartShowsTheInitialState() {
  Place place;
  Form1 form(place.Setup());
  QVERIFY(!form.startup_error());

  QCOMPARE(form.windowTitle(), QString("STATCRANE (07/10/2011)"));
  const std::pair<const char*, const char*> captions[] = {{"Label1", "Encyclopedia Drive"},
                                                          {"Label2", "Encyclopedia Folder"},
                                                          {"Label3", "Player being Processed"},
                                                          {"Label4", "Processing Started"},
                                                          {"Label5", "Processing Ended"},
                                                          {"Frame1", "Spreadsheet Viewing"},
                                                          {"Frame2", "Spreadsheets Desired"},
                                                          {"opt1", "View While Processing"},
                                                          {"opt2", "View After Completed"},
                                                          {"opt3", "Players Only"},
                                                          {"opt4", "Teams Only"},
                                                          {"opt5", "Players and Teams"},
                                                          {"cmdProcess", "Process"},
                                                          {"cmdExit", "E&XIT"}};
  for (const auto& [name, caption] : captions) QCOMPARE(Text(form, name), QString(caption));
  QVERIFY(Child<QLabel>(form, "Label1")->font().bold());
  QVERIFY(Child<QLabel>(form, "Label2")->font().bold());

  QVERIFY(Child<QRadioButton>(form, "opt1")->isChecked());
  QVERIFY(!Child<QRadioButton>(form, "opt2")->isChecked());
  QVERIFY(!Child<QRadioButton>(form, "opt3")->isChecked());
  QVERIFY(!Child<QRadioButton>(form, "opt4")->isChecked());
  QVERIFY(Child<QRadioButton>(form, "opt5")->isChecked());
  QVERIFY(!Child<QPushButton>(form, "cmdProcess")->isEnabled());
  QVERIFY(Child<QPushButton>(form, "cmdExit")->isEnabled());
  for (const char* name : {"txt1", "txtstarttime", "txtendtime", "txtSavedWorkbook"}) {
    QVERIFY2(Text(form, name).isEmpty(), name);
  }

  // First start: the file is made holding the program's folder, and the
  // lists show the current folder on its drive.
  QCOMPARE(FileBytes(place.RememberedFile()), RememberedLine(place.Path("prog")));
  QCOMPARE(form.EncyclopediaFolder(), place.Path("start"));
  QCOMPARE(ShownFolder(form), place.Path("start"));
  QCOMPARE(Child<QComboBox>(form, "drv1")->currentData().toString(),
           QStorageInfo(place.Path("start")).rootPath());
  QCOMPARE(form.OutputFolder(), place.Path("Documents"));
  QCOMPARE(Text(form, "txtOutputFolder"), QDir::toNativeSeparators(place.Path("Documents")));
  QVERIFY(place.messages.isEmpty() && place.errors.isEmpty());

  // Tab order: E&XIT, Process, drive, folder, progress, time stamps, options.
  QStringList chain;
  QWidget* widget = Child<QWidget>(form, "cmdExit");
  for (int i = 0; i < 12; ++i, widget = widget->nextInFocusChain()) {
    while (widget->focusPolicy() == Qt::NoFocus) widget = widget->nextInFocusChain();
    chain << widget->objectName();
  }
  QCOMPARE(chain, QStringList({"cmdExit", "cmdProcess", "drv1", "dir1", "txt1", "txtstarttime",
                               "txtendtime", "opt1", "opt2", "opt3", "opt4", "opt5"}));
}

void Form1Test::ProcessFollowsTheTeamFileInAnySpelling() {
  Place place;
  const QString capitals = place.Folder("capitals", {"ENCTEAM.DAT"});
  const QString others = place.Folder(
      "others", {"ENCPLYR.DAT", "ENCPLSTATS.DAT", "encleag.dat", "enclgyr.dat", "enctmyr.dat"});
  Form1 form(place.Setup());
  auto* process = Child<QPushButton>(form, "cmdProcess");

  QVERIFY(form.ShowFolder(capitals));
  QCOMPARE(form.EncyclopediaFolder(), capitals);
  QVERIFY(process->isEnabled());
  QVERIFY(form.ShowFolder(others));
  QVERIFY(!process->isEnabled());

  // Choosing in the folder list is a folder change like any other.
  auto* tree = Child<QTreeView>(form, "dir1");
  tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(capitals));
  QCOMPARE(form.EncyclopediaFolder(), capitals);
  QVERIFY(process->isEnabled());

  // The file appearing and disappearing while the folder is shown.
  QVERIFY(form.ShowFolder(others));
  WriteFile(others + "/EncTeam.Dat", {});
  QTRY_VERIFY_WITH_TIMEOUT(process->isEnabled(), 10000);
  QVERIFY(QFile::remove(others + "/EncTeam.Dat"));
  QTRY_VERIFY_WITH_TIMEOUT(!process->isEnabled(), 10000);

  // A folder that cannot be shown changes nothing.
  QVERIFY(!form.ShowFolder(place.Path("no such folder")));
  QCOMPARE(form.EncyclopediaFolder(), others);
}

void Form1Test::SecondStartOpensTheRememberedFolder() {
  Place place;
  const QString league = place.Folder("league", {"encteam.dat"});
  QDir().mkpath(place.Path("prog/data"));
  WriteFile(place.RememberedFile(), "  " + RememberedLine(league));
  Form1 form(place.Setup());
  QVERIFY(!form.startup_error());
  QCOMPARE(form.EncyclopediaFolder(), league);
  QCOMPARE(ShownFolder(form), league);
  QVERIFY(Child<QPushButton>(form, "cmdProcess")->isEnabled());
  // Reading leaves the file as it was.
  QCOMPARE(FileBytes(place.RememberedFile()), "  " + RememberedLine(league));
}

void Form1Test::RememberedFolderThatIsGoneStartsAtHome() {
  Place place;
  QDir().mkpath(place.Path("prog/data"));
  WriteFile(place.RememberedFile(), RememberedLine(place.Path("gone/league")));
  Form1 form(place.Setup());
  QVERIFY(!form.startup_error());
  QCOMPARE(form.EncyclopediaFolder(), place.Path("home"));
  QVERIFY(!Child<QPushButton>(form, "cmdProcess")->isEnabled());
  QVERIFY(place.messages.isEmpty() && place.errors.isEmpty());
}

void Form1Test::NowhereToKeepTheRememberedFolderIsAStartupError() {
  Place place;
  WriteFile(place.Path("prog/data"), "a file where the data folder belongs");
  WriteFile(place.Path("config"), "a file where the configuration folder belongs");
  Form1 form(place.Setup());
  QVERIFY(form.startup_error().has_value());
  QVERIFY(form.startup_error()->message().find("STATCRANE.txt") != std::string::npos);
}

void Form1Test::RunThroughTheButtonWritesANewWorkbookEachTime() {
  Place place;
  const QString folder = SampleFolder(place);
  auto form = std::make_unique<Form1>(place.Setup());
  QVERIFY(form->ShowFolder(folder));
  auto* process = Child<QPushButton>(*form, "cmdProcess");
  QVERIFY(process->isEnabled());
  QSignalSpy finished(form.get(), &Form1::runFinished);
  QSignalSpy ended(form.get(), &Form1::programEnded);

  QTest::mouseClick(process, Qt::LeftButton);
  // While the run goes on, the window takes no input but E&XIT.
  QVERIFY(form->running());
  for (const char* name : {"drv1", "dir1", "opt1", "opt2", "opt3", "opt4", "opt5", "cmdProcess",
                           "cmdOutputFolder", "cmdReport"}) {
    QVERIFY2(!Child<QWidget>(*form, name)->isEnabled(), name);
  }
  QVERIFY(Child<QPushButton>(*form, "cmdExit")->isEnabled());
  QVERIFY(QApplication::overrideCursor() != nullptr);
  QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QVERIFY(finished.wait(120000));
  QVERIFY(!form->running());
  QCOMPARE(QApplication::overrideCursor(), nullptr);

  QVERIFY2(place.errors.isEmpty(), qPrintable(place.errors.join('\n')));
  for (const QString& message : place.messages) {
    QVERIFY2(message.startsWith("this case is "), qPrintable(message));
  }
  QCOMPARE(Text(*form, "txt1"), QString("Processing Completed"));
  QVERIFY(!Text(*form, "txtstarttime").isEmpty());
  QVERIFY(!Text(*form, "txtendtime").isEmpty());
  QVERIFY(!Child<QRadioButton>(*form, "opt1")->isEnabled());
  QVERIFY(!Child<QRadioButton>(*form, "opt2")->isEnabled());
  QVERIFY(Child<QRadioButton>(*form, "opt3")->isEnabled());
  QVERIFY(process->isEnabled());
  QVERIFY(Child<QPushButton>(*form, "cmdReport")->isEnabled());

  const QStringList written = QDir(place.Path("Documents")).entryList(QDir::Files);
  QCOMPARE(written.size(), 1);
  QVERIFY2(QRegularExpression(R"(^StatCrane \d{4}-\d\d-\d\d \d\d-\d\d-\d\d\.xlsx$)")
               .match(written[0])
               .hasMatch(),
           qPrintable(written[0]));
  const QString first = place.Path("Documents/" + written[0]);
  const QByteArray first_bytes = FileBytes(first);
  QVERIFY(first_bytes.startsWith("PK"));
  QCOMPARE(Text(*form, "txtSavedWorkbook"), QDir::toNativeSeparators(first));
  QCOMPARE(place.opened, QStringList{first});
  QCOMPARE(FileBytes(place.RememberedFile()), RememberedLine(folder));

  // The run report on request.
  const qsizetype before = place.messages.size();
  QTest::mouseClick(Child<QPushButton>(*form, "cmdReport"), Qt::LeftButton);
  QCOMPARE(place.messages.size(), before + 1);
  QVERIFY2(place.messages.last().contains("ENCTEAM.DAT"), qPrintable(place.messages.last()));

  // A second run, teams only, into another folder the user picked: a new
  // file, the first one untouched, the viewing options still off.
  form->SetOutputFolder(place.Path("Workbooks"));
  QTest::mouseClick(Child<QRadioButton>(*form, "opt4"), Qt::LeftButton);
  QVERIFY(Child<QRadioButton>(*form, "opt4")->isChecked());
  QTest::mouseClick(process, Qt::LeftButton);
  QVERIFY(finished.wait(120000));
  QCOMPARE(Text(*form, "txt1"), QString("Processing Completed"));
  QVERIFY(!Child<QRadioButton>(*form, "opt1")->isEnabled());
  QVERIFY(!Child<QRadioButton>(*form, "opt2")->isEnabled());
  QCOMPARE(QDir(place.Path("Workbooks")).entryList(QDir::Files).size(), 1);
  QCOMPARE(FileBytes(first), first_bytes);
  QCOMPARE(place.opened.size(), 2);
  QVERIFY(place.opened[1].startsWith(place.Path("Workbooks/")));
  QVERIFY(ended.isEmpty());

  // The next start opens on the run's folder and the chosen output folder.
  form.reset();
  Form1 again(place.Setup());
  QCOMPARE(again.EncyclopediaFolder(), QDir::cleanPath(folder));
  QVERIFY(Child<QPushButton>(again, "cmdProcess")->isEnabled());
  QCOMPARE(again.OutputFolder(), place.Path("Workbooks"));
  QVERIFY(Child<QRadioButton>(again, "opt1")->isEnabled());
}

void Form1Test::FailedRunReportsAndEndsTheProgram() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  WindowSetup setup = place.Setup();
  setup.run = [](const RunOptions& options, RunObserver& observer, RememberedFolder*) {
    observer.StartTime("then");
    observer.ViewingTookEffect();
    observer.ProgressText("TEAMS COMPLETED");
    RunResult result;
    result.report.UnknownSeasonType(7);
    result.report.UnknownSeasonType(9);
    result.report.UnknownSeasonType(7);
    result.error = StatCraneError("the file ENCPLYR.DAT was not found");
    result.saved = true;
    result.report.incomplete = true;
    result.report.output_path = options.output.string();
    return result;
  };
  Form1 form(setup);
  QVERIFY(form.ShowFolder(folder));
  QSignalSpy ended(&form, &Form1::programEnded);
  QTest::mouseClick(Child<QPushButton>(form, "cmdProcess"), Qt::LeftButton);
  QVERIFY(ended.wait(10000));
  QCOMPARE(ended.first().first().toInt(), 1);
  QCOMPARE(place.messages, QStringList({"this case is 7", "this case is 9"}));
  QCOMPARE(place.errors.size(), 1);
  const QString& error = place.errors.first();
  QVERIFY2(error.contains("the file ENCPLYR.DAT was not found") && error.contains("incomplete"),
           qPrintable(error));
  // "View While Processing" had taken effect: the incomplete workbook is shown.
  QCOMPARE(place.opened.size(), 1);
  QCOMPARE(Text(form, "txt1"), QString("TEAMS COMPLETED"));
}

void Form1Test::ExitDuringARunStopsItWithoutAWorkbook() {
  Place place;
  const QString folder = place.Folder("league", {"ENCTEAM.DAT"});
  WindowSetup setup = place.Setup();
  setup.run = [](const RunOptions&, RunObserver& observer, RememberedFolder*) {
    observer.ProgressText("Aaron, Hank");
    for (int i = 0; i < 20000; ++i) {
      CheckStop(observer);
      QThread::msleep(1);
    }
    return RunResult{};
  };
  Form1 form(setup);
  QVERIFY(form.ShowFolder(folder));
  QSignalSpy ended(&form, &Form1::programEnded);
  QSignalSpy finished(&form, &Form1::runFinished);
  QTest::mouseClick(Child<QPushButton>(form, "cmdProcess"), Qt::LeftButton);
  QTRY_COMPARE(Text(form, "txt1"), QString("Aaron, Hank"));
  QTest::mouseClick(Child<QPushButton>(form, "cmdExit"), Qt::LeftButton);
  QVERIFY(ended.wait(5000));
  QCOMPARE(ended.first().first().toInt(), 0);
  QVERIFY(!form.running());
  QVERIFY(finished.isEmpty());
  QVERIFY(place.opened.isEmpty() && place.messages.isEmpty() && place.errors.isEmpty());
  QCOMPARE(FileBytes(place.RememberedFile()), RememberedLine(place.Path("prog")));
}

void Form1Test::ExitWhileTheWorkbookIsWrittenLeavesNoWorkbook() {
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
  Form1 form(setup);
  QVERIFY(form.ShowFolder(folder));
  QSignalSpy ended(&form, &Form1::programEnded);
  QTest::mouseClick(Child<QPushButton>(form, "cmdProcess"), Qt::LeftButton);
  form.close();
  QVERIFY(ended.wait(10000));
  QVERIFY(QDir(place.Path("Documents")).entryList(QDir::Files).isEmpty());
  QVERIFY(place.opened.isEmpty() && place.messages.isEmpty() && place.errors.isEmpty());
}

void Form1Test::WorkbookNamesNeverRepeat() {
  QTemporaryDir dir;
  const QDateTime when(QDate(2011, 7, 10), QTime(9, 5, 3));
  const QString first = NewWorkbookPath(dir.path(), when);
  QCOMPARE(first, dir.filePath("StatCrane 2011-07-10 09-05-03.xlsx"));
  WriteFile(first, "x");
  const QString second = NewWorkbookPath(dir.path(), when);
  QCOMPARE(second, dir.filePath("StatCrane 2011-07-10 09-05-03 (2).xlsx"));
  WriteFile(second, "x");
  QCOMPARE(NewWorkbookPath(dir.path(), when),
           dir.filePath("StatCrane 2011-07-10 09-05-03 (3).xlsx"));
}

}  // namespace statcrane

QTEST_MAIN(statcrane::Form1Test)
#include "form1_test.moc"
