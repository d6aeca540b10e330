// The name of the workbook a run from the window writes.
#pragma once

#include <QDateTime>
#include <QString>

namespace statcrane {

// "<folder>/StatCrane yyyy-mm-dd hh-mm-ss.xlsx" for the local time `when`.
// When a file of that name exists already, " (2)", " (3)", ... goes before
// the extension, so no run replaces an earlier workbook.
QString NewWorkbookPath(const QString& folder, const QDateTime& when);

}  // namespace statcrane
