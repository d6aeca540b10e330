#include "app/window/workbook_name.h"

#include <QDir>
#include <QFileInfo>

namespace statcrane {

QString NewWorkbookPath(const QString& folder, const QDateTime& when) {
  const QDir dir(folder);
  const QString base =
      QStringLiteral("StatCrane ") + when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
  QString path = dir.filePath(base + QStringLiteral(".xlsx"));
  for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n) {
    path = dir.filePath(base + QStringLiteral(" (%1).xlsx").arg(n));
  }
  return path;
}

}  // namespace statcrane
