#pragma once
// Reading a file whole in platform tests.

#include <QFile>
#include <string>

namespace qv::lnx {

inline std::string slurp(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return "<unreadable>";
  return f.readAll().toStdString();
}

}  // namespace qv::lnx
