// Small pieces of the Qt window that need no window: which mounted volumes
// the drive list offers, and how time stamps are shown.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace statcrane {

// True for a volume a user keeps files on: not a pseudo file system (proc,
// sysfs, cgroup, ...) and not mounted below /proc, /sys, /dev or /run (except
// removable media under /run/media). "/" always is one.
bool IsUserVolume(const QString& root, const QByteArray& file_system_type);

// The roots of the mounted volumes that pass IsUserVolume, sorted.
QStringList UserVolumes();

// `when` as `locale` shows dates and times, with the year in four digits
// and the seconds, without the time zone ("12/8/2026 7:50:03 AM").
QString FullDateTime(const QDateTime& when, const QLocale& locale = QLocale());

}  // namespace statcrane
