#include "platform/AppGlobals.h"

QString GlobalApplicationName = QStringLiteral("Tabwright for File Folders");
QString GlobalApplicationPrefix = QStringLiteral("KLXFF");
QString GlobalProductVersion = QStringLiteral("1.1");
QString GlobalVersion = QStringLiteral("2.8b");
QString GlobalFileExtension = QStringLiteral("KLX");
QString GlobalFileTypeName = QStringLiteral("Label Page File");
QString GlobalLayoutFileName = QStringLiteral("KLXFF.LLO");

std::int32_t TopMarginNudge = 0;
std::int32_t LeftMarginNudge = 0;
std::int32_t VerticalSpacing = 0;
std::int32_t HorizontalSpacing = 0;

void AssignGlobalApplicationStrings() {
  GlobalApplicationName = QStringLiteral("Tabwright for File Folders");
  GlobalApplicationPrefix = QStringLiteral("KLXFF");
  GlobalProductVersion = QStringLiteral("1.1");
  GlobalVersion = QStringLiteral("2.8b");
  GlobalFileExtension = QStringLiteral("KLX");
  GlobalFileTypeName = QStringLiteral("Label Page File");
  GlobalLayoutFileName = QStringLiteral("KLXFF.LLO");
}
