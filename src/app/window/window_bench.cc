// window_bench FOLDER: what the window adds to a run of FOLDER, on the
// offscreen platform.
//
//   direct   RunProcessing on this thread with an observer that ignores
//            everything (the run's own time);
//   window   the same run started with "Process", until the window is idle
//            again; also the longest time the window's event loop went
//            without turning (how long a click could wait);
//   stop     "Process", then "Exit" after --stop-after seconds (default 3):
//            how long until the program may end, and whether a workbook was
//            left behind (it must not be; a stop that comes while the
//            workbook is being written waits for the writing to end).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/window/main_window.h"

namespace statcrane {
namespace {

WindowSetup BenchSetup(const QTemporaryDir& dir) {
  const auto path = [&dir](const char* name) {
    return std::filesystem::path(QFile::encodeName(dir.filePath(name)).toStdString());
  };
  WindowSetup setup;
  setup.program_folder = path("prog");
  setup.config_folder = path("config");
  setup.start_folder = path(".");
  setup.home_folder = path(".");
  setup.documents_folder = path("out");
  QDir(dir.path()).mkpath("prog");
  return setup;
}

// No boxes, no questions (closing stops the run), no application opened.
WindowDialogs QuietDialogs() {
  WindowDialogs dialogs;
  dialogs.message = [](Severity, const QString&, MessageButtons) { return MessageAnswer::kOk; };
  dialogs.ask = [](const QString&) { return true; };
  dialogs.choose_folder = [](const QString&, const QString&) { return QString(); };
  dialogs.choose_report_file = [](const QString&) { return QString(); };
  dialogs.show_dialog = [](QDialog&) {};
  dialogs.open_workbook = [](const QString&) { return true; };
  return dialogs;
}

int Main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: window_bench FOLDER [--stop-after SECONDS]\n", stderr);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  double stop_after = 3;
  if (argc >= 4 && QByteArray(argv[2]) == "--stop-after") stop_after = std::atof(argv[3]);

  {
    QTemporaryDir dir;
    RunOptions options;
    options.encyclopedia_folder = QFile::encodeName(folder).toStdString();
    options.output = QFile::encodeName(dir.filePath("direct.xlsx")).toStdString();
    RunObserver quiet;
    QElapsedTimer clock;
    clock.start();
    const RunResult result = RunProcessing(options, quiet, nullptr);
    std::printf("direct  %8.2f s  %s\n", clock.elapsed() / 1000.0,
                result.outcome == RunOutcome::kCompleted ? "completed" : "NOT completed");
  }
  {
    QTemporaryDir dir;
    MainWindow form(BenchSetup(dir), QuietDialogs());
    if (!form.ShowFolder(folder)) {
      std::fprintf(stderr, "window_bench: cannot show %s\n", argv[1]);
      return 2;
    }
    // The event loop's longest pause while the run goes on.
    QElapsedTimer tick;
    qint64 longest_pause = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { longest_pause = std::max(longest_pause, tick.restart()); });
    QSignalSpy finished(&form, &MainWindow::runFinished);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(form.findChild<QPushButton*>("process_button"), Qt::LeftButton);
    tick.start();
    probe.start(10);
    finished.wait(3600 * 1000);
    probe.stop();
    const qint64 files = QDir(dir.filePath("out")).entryList(QDir::Files).size();
    std::printf("window  %8.2f s  %lld workbook(s); longest event-loop pause %lld ms\n",
                clock.elapsed() / 1000.0, static_cast<long long>(files),
                static_cast<long long>(longest_pause));
  }
  {
    QTemporaryDir dir;
    MainWindow form(BenchSetup(dir), QuietDialogs());
    form.ShowFolder(folder);
    QSignalSpy ended(&form, &MainWindow::programEnded);
    QTest::mouseClick(form.findChild<QPushButton*>("process_button"), Qt::LeftButton);
    QTest::qWait(static_cast<int>(stop_after * 1000));
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(form.findChild<QPushButton*>("exit_button"), Qt::LeftButton);
    ended.wait(3600 * 1000);
    const qint64 files = QDir(dir.filePath("out")).entryList(QDir::Files).size();
    std::printf("stop    %8.2f s  after Exit at %.1f s; %lld workbook(s)\n",
                clock.elapsed() / 1000.0, stop_after, static_cast<long long>(files));
  }
  return 0;
}

}  // namespace
}  // namespace statcrane

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return statcrane::Main(argc, argv);
}
