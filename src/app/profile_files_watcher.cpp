#include "app/profile_files_watcher.h"

#include <sys/stat.h>

#include <QFile>

namespace drovik {

namespace {

// Long enough to take in the two replacements of one transaction and the events of each.
constexpr int kSettleMs = 100;

QString qtPath(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace

ProfileFilesWatcher::ProfileFilesWatcher(const StorePaths& paths, QObject* parent)
    : QObject(parent), files_{qtPath(paths.indexFile), qtPath(paths.settingsFile)} {
  settleTimer_.setSingleShot(true);
  settleTimer_.setInterval(kSettleMs);
  connect(&settleTimer_, &QTimer::timeout, this, &ProfileFilesWatcher::settle);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ProfileFilesWatcher::noticeEvent);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
          &ProfileFilesWatcher::noticeEvent);
  // The folders see a file appear where none was, and every rename into place.
  for (const auto& path : {paths.indexFile, paths.settingsFile}) {
    const QString folder = qtPath(path.parent_path().empty() ? "." : path.parent_path());
    if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
  }
  watchFiles();
  read_ = stampsNow();
}

void ProfileFilesWatcher::markRead() { read_ = stampsNow(); }

bool ProfileFilesWatcher::changedSinceRead() const { return stampsNow() != read_; }

ProfileFilesWatcher::Stamps ProfileFilesWatcher::stampsNow() const {
  Stamps stamps;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    struct stat info {};
    if (::stat(QFile::encodeName(files_[i]).constData(), &info) != 0) continue;
    stamps[i] = {true, info.st_dev, info.st_ino, info.st_size,
                 std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec};
  }
  return stamps;
}

void ProfileFilesWatcher::noticeEvent() {
  watchFiles();
  settleTimer_.start();
}

void ProfileFilesWatcher::watchFiles() {
  const QStringList watched = watcher_.files();
  for (const QString& file : files_)
    if (!watched.contains(file) && QFile::exists(file)) watcher_.addPath(file);
}

void ProfileFilesWatcher::settle() {
  if (changedSinceRead()) Q_EMIT changed();
}

}  // namespace drovik
