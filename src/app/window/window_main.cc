#include "app/window/window_main.h"

#include <QApplication>
#include <QMessageBox>
#include <clocale>

#include "app/window/form1.h"

namespace statcrane {

int RunWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("StatCrane"));
  // The toolkit takes the whole locale from the environment; numbers in the
  // workbook must not follow it (time stamps do).
  std::setlocale(LC_NUMERIC, "C");
  app.setQuitOnLastWindowClosed(false);

  Form1 form(DesktopSetup());
  if (const auto& error = form.startup_error()) {
    QMessageBox::critical(nullptr, QApplication::applicationName(),
                          QStringLiteral("Error %1: %2\n\nThe program ends.")
                              .arg(error->number())
                              .arg(QString::fromUtf8(error->description().c_str())));
    return 1;
  }
  QObject::connect(&form, &Form1::programEnded, &app, &QCoreApplication::exit,
                   Qt::QueuedConnection);
  form.show();
  return app.exec();
}

}  // namespace statcrane
