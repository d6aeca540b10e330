#include "app/window/window_support.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace statcrane {
namespace {

bool IsBelow(const QString& root, const QString& folder) {
  return root == folder || root.startsWith(folder + QLatin1Char('/'));
}

// Removes the time-zone letters of a time format, outside quoted text.
QString WithoutTimeZone(const QString& format) {
  QString out;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (!quoted && c == QLatin1Char('t')) continue;
    out += c;
  }
  return out.simplified();
}

}  // namespace

bool IsUserVolume(const QString& root, const QByteArray& file_system_type) {
  if (root == QLatin1String("/")) return true;
  static const char* const kPseudo[] = {"proc",       "sysfs",           "devtmpfs",   "devpts",
                                        "tmpfs",      "cgroup",          "cgroup2",    "pstore",
                                        "securityfs", "debugfs",         "tracefs",    "bpf",
                                        "mqueue",     "hugetlbfs",       "configfs",   "fusectl",
                                        "autofs",     "binfmt_misc",     "efivarfs",   "nsfs",
                                        "ramfs",      "rpc_pipefs",      "squashfs",   "overlay",
                                        "selinuxfs",  "fuse.gvfsd-fuse", "fuse.portal"};
  for (const char* pseudo : kPseudo) {
    if (file_system_type == pseudo) return false;
  }
  for (const char* system : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot"}) {
    if (IsBelow(root, QLatin1String(system)) && !IsBelow(root, QStringLiteral("/run/media"))) {
      return false;
    }
  }
  return true;
}

QStringList UserVolumes() {
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir() &&
        IsUserVolume(volume.rootPath(), volume.fileSystemType())) {
      roots << volume.rootPath();
    }
  }
  if (!roots.contains(QStringLiteral("/"))) roots << QStringLiteral("/");
  roots.sort();
  roots.removeDuplicates();
  return roots;
}

QString FullDateTime(const QDateTime& when, const QLocale& locale) {
  QString date = locale.dateFormat(QLocale::ShortFormat);
  if (!date.contains(QLatin1String("yyyy")))
    date.replace(QLatin1String("yy"), QLatin1String("yyyy"));
  const QString time = WithoutTimeZone(locale.timeFormat(QLocale::LongFormat));
  return locale.toString(when, date + QLatin1Char(' ') + time);
}

}  // namespace statcrane
