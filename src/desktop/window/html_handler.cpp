#include "desktop/window/html_handler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTextStream>

#include "files/help_launcher.h"

namespace wandrix::desktop {
namespace {

constexpr int kFound = 42;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kBadFormat = 11;
constexpr int kNoAssociation = 31;
constexpr int kXdgMimeTimeoutMs = 3000;
constexpr char kHtmlType[] = "text/html";

// The desktop id that xdg-mime names, or empty when it is not installed or
// knows of none.
QString xdg_mime_default() {
  QProcess process;
  process.start(QStringLiteral("xdg-mime"), {"query", "default", kHtmlType});
  if (!process.waitForFinished(kXdgMimeTimeoutMs) || process.exitCode() != 0) {
    process.kill();
    return {};
  }
  return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// Value of "key=" in the group of an ini-like desktop file, or nothing.
std::optional<QString> read_key(const QString& path, const QString& group, const QString& key) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return std::nullopt;
  }
  QTextStream in(&file);
  bool in_group = false;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.startsWith('[')) {
      in_group = line == '[' + group + ']';
    } else if (in_group) {
      const qsizetype eq = line.indexOf('=');
      if (eq > 0 && line.left(eq).trimmed() == key) {
        return line.mid(eq + 1).trimmed();
      }
    }
  }
  return std::nullopt;
}

// The mimeapps.list files in the order the freedesktop specification reads
// them: user configuration, system configuration, then the data folders.
QStringList mimeapps_lists() {
  QStringList lists;
  for (const QString& dir :
       QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
    lists << dir + "/mimeapps.list";
  }
  for (const QString& dir :
       QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
    lists << dir + "/mimeapps.list" << dir + "/defaults.list";
  }
  return lists;
}

// Unescapes a desktop entry string value: \s \n \t \r and \\.
QString unescape_value(const QString& value) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const QChar c = value[++i];
      out += c == 's'   ? QChar(' ')
             : c == 'n' ? QChar('\n')
             : c == 't' ? QChar('\t')
             : c == 'r' ? QChar('\r')
                        : c;
    } else {
      out += value[i];
    }
  }
  return out;
}

}  // namespace

std::vector<std::string> html_desktop_ids() {
  std::vector<std::string> ids;
  const QString queried = xdg_mime_default();
  if (!queried.isEmpty()) {
    ids.push_back(queried.toStdString());
  }
  for (const QString& list : mimeapps_lists()) {
    for (const char* group : {"Default Applications", "Added Associations"}) {
      const std::optional<QString> value = read_key(list, group, kHtmlType);
      if (!value) {
        continue;
      }
      for (const QString& id : value->split(';', Qt::SkipEmptyParts)) {
        ids.push_back(id.trimmed().toStdString());
      }
    }
  }
  return ids;
}

std::optional<std::string> find_desktop_file(const std::string& desktop_id) {
  const QString id = QString::fromStdString(desktop_id);
  // A desktop id "vendor-app.desktop" may also live as vendor/app.desktop.
  QStringList candidates{id};
  for (qsizetype dash = id.indexOf('-'); dash > 0; dash = id.indexOf('-', dash + 1)) {
    QString nested = id;
    nested[dash] = '/';
    candidates << nested;
  }
  for (const QString& dir :
       QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
    for (const QString& name : candidates) {
      const QFileInfo info(dir + '/' + name);
      if (info.isFile()) {
        return info.absoluteFilePath().toStdString();
      }
    }
  }
  return std::nullopt;
}

std::optional<std::string> desktop_exec_line(const std::string& path) {
  const std::optional<QString> exec =
      read_key(QString::fromStdString(path), "Desktop Entry", "Exec");
  if (!exec || exec->isEmpty()) {
    return std::nullopt;
  }
  return unescape_value(*exec).toStdString();
}

ProgramLookup find_html_handler(const std::string& file, const std::string& folder) {
  const QDir dir(QString::fromStdString(folder));
  if (!dir.exists()) {
    return {kPathNotFound, {}, {}};
  }
  if (!QFileInfo(dir.filePath(QString::fromStdString(file))).isFile()) {
    return {kFileNotFound, {}, {}};
  }
  bool entry_found = false;
  for (const std::string& id : html_desktop_ids()) {
    const std::optional<std::string> path = find_desktop_file(id);
    if (!path) {
      continue;  // an association to an application no longer installed
    }
    entry_found = true;
    const std::optional<std::string> exec = desktop_exec_line(*path);
    const auto command = exec ? split_exec_line(*exec) : std::nullopt;
    if (command) {
      return {kFound, command->front(), *command};
    }
  }
  return {entry_found ? kBadFormat : kNoAssociation, {}, {}};
}

}  // namespace wandrix::desktop
