#pragma once
// Small helpers shared by the tests of every subsystem.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <string>

namespace testsupport {

// Folder of the committed sample files (tests/data).
QString DataDir();
// Path of a committed sample file below tests/data.
QString DataFile(const QString& relative);
// Folder holding the built program, the layout file and the help file.
QString BinDir();

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

}  // namespace testsupport
