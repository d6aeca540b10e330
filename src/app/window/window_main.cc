#include "app/window/window_main.h"

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "app/window/main_window.h"

namespace statcrane {

namespace {

// Without a display the toolkit would abort; say what to do instead.
bool HaveDisplay() {
#if defined(__unix__) && !defined(__APPLE__)
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
#else
  return true;
#endif
}

}  // namespace

int RunWindow(int argc, char** argv) {
  if (!HaveDisplay()) {
    std::fputs(
        "statcrane: no display to open the window on (DISPLAY is not set).\n"
        "Run without the window: statcrane process FOLDER -o OUT.xlsx\n",
        stderr);
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("StatCrane"));
  QApplication::setDesktopFileName(QStringLiteral("statcrane"));
  // The toolkit takes the whole locale from the environment; numbers in the
  // workbook must not follow it (time stamps do).
  std::setlocale(LC_NUMERIC, "C");
  app.setQuitOnLastWindowClosed(false);

  MainWindow window(DesktopWindowSetup(), DesktopDialogs());
  QApplication::setWindowIcon(window.windowIcon());
  QObject::connect(&window, &MainWindow::programEnded, &app, &QCoreApplication::exit,
                   Qt::QueuedConnection);
  window.show();
  return app.exec();
}

}  // namespace statcrane
