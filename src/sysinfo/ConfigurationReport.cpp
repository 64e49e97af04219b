#include "sysinfo/ConfigurationReport.h"

#include <sys/resource.h>

#include <QDate>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QSysInfo>
#include <QWidget>
#include <map>

#include "platform/AppGlobals.h"

namespace {

QString Flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

QString TotalAndAvailable(const char* label, std::int64_t total, std::int64_t available,
                          const QLocale& numbers) {
  return QLatin1String(label) + QStringLiteral("Total: ") + ThousandsText(total, numbers) +
         QStringLiteral(";    Available: ") + ThousandsText(available, numbers);
}

// "Key:   value kB" lines of a file such as /proc/meminfo, in bytes.
std::map<QString, std::int64_t> KilobyteFigures(const QString& path) {
  std::map<QString, std::int64_t> figures;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return figures;
  static const QRegularExpression line(QStringLiteral("^(\\w+):\\s+(\\d+)\\s*kB"));
  for (const QByteArray& raw : file.readAll().split('\n')) {
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(raw));
    if (match.hasMatch()) figures[match.captured(1)] = match.captured(2).toLongLong() * 1024;
  }
  return figures;
}

// The first "key : value" of /proc/cpuinfo with that key.
QString CpuInfoValue(const QString& key) {
  QFile file(QStringLiteral("/proc/cpuinfo"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  for (const QByteArray& raw : file.readAll().split('\n')) {
    const QString text = QString::fromUtf8(raw);
    if (text.section(':', 0, 0).trimmed() == key) return text.section(':', 1).trimmed();
  }
  return {};
}

// The locale the system is set to for every user: LANG of the system-wide
// locale file; the C locale where none is set.
QLocale SystemDefaultLocale() {
  for (const char* path : {"/etc/default/locale", "/etc/locale.conf"}) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
    for (const QByteArray& raw : file.readAll().split('\n')) {
      QString text = QString::fromUtf8(raw).trimmed();
      if (!text.startsWith(QStringLiteral("LANG="))) continue;
      text = text.mid(5).remove('"').remove('\'');
      return QLocale(text.section('.', 0, 0));
    }
  }
  return QLocale::c();
}

// Name and version as the system states them: its product name, then the
// kernel's version number, and its full release text where the service pack
// would stand.
QString SystemVersionText() {
  const QString kernel = QSysInfo::kernelVersion();
  const QStringList numbers = kernel.section('-', 0, 0).split('.');
  auto part = [&numbers](int i) { return i < numbers.size() ? numbers[i].toInt() : 0; };
  return QSysInfo::prettyProductName() + QStringLiteral(" version ") + QString::number(part(0)) + '.' +
         QString::number(part(1)) + QStringLiteral(" build:") + QString::asprintf("%d", part(2)) + ' ' +
         QSysInfo::kernelType() + ' ' + kernel;
}

// The address space a process may use: its limit when one is set, else what
// the architecture gives a process (47 bits on 64-bit Linux, 3 GiB on 32-bit).
std::int64_t AddressSpaceBytes() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    return static_cast<std::int64_t>(limit.rlim_cur);
  return sizeof(void*) == 8 ? std::int64_t{1} << 47 : std::int64_t{3} << 30;
}

}  // namespace

QString ThousandsText(std::int64_t value, const QLocale& numbers) {
  QLocale locale = numbers;
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return locale.toString(static_cast<qlonglong>(value));
}

QString ColorCountText(int bitsPerPixel, const QLocale& numbers) {
  std::int64_t colors = bitsPerPixel;
  switch (bitsPerPixel) {
    case 1:
      colors = 2;
      break;
    case 4:
      colors = 16;
      break;
    case 8:
      colors = 256;
      break;
    case 15:
      colors = 32768;
      break;
    case 16:
      colors = 65536;
      break;
    case 24:
    case 32:
      colors = 16777216;
      break;
    default:
      break;
  }
  return ThousandsText(colors, numbers) + QStringLiteral(" colors");
}

QString FontSizeText(int pixelsPerInch) {
  if (pixelsPerInch == 96) return QStringLiteral("Small Fonts in use");
  if (pixelsPerInch == 120) return QStringLiteral("Large Fonts in use");
  return QStringLiteral("Custom font size in use");
}

QStringList ConfigurationReport(const TSystemFacts& s, const TReportPreferences& p, const QLocale& numbers) {
  QStringList lines;
  lines << s.LongDate << QString() << QStringLiteral("[Product]")
        << QStringLiteral("Program:     \t") + GlobalApplicationName
        << QStringLiteral("Version:     \t") + GlobalVersion << QString() << QStringLiteral("[Environment]")
        << QStringLiteral("Windows:     \t") + s.SystemVersion
        << QStringLiteral("CPU:         \t") + s.Processor
        << QStringLiteral("Video:       \t") + QString::number(s.ScreenWidth) + QStringLiteral(" x ") +
               QString::number(s.ScreenHeight) + QStringLiteral(" x ") +
               ColorCountText(s.BitsPerPixel, numbers)
        << QStringLiteral("Font:        \t") + FontSizeText(s.PixelsPerInch)
        << QStringLiteral("Memory Load: \t") + QString::number(s.MemoryLoad)
        << TotalAndAvailable("Phys Memory: \t", s.TotalPhysical, s.AvailablePhysical, numbers)
        << TotalAndAvailable("Page File:   \t", s.TotalPageFile, s.AvailablePageFile, numbers)
        << TotalAndAvailable("Virt Memory: \t", s.TotalVirtual, s.AvailableVirtual, numbers)
        << QStringLiteral("Language:    \tUser: ") + s.UserLanguage + QStringLiteral(";    System: ") +
               s.SystemLanguage
        << QStringLiteral("Country:     \tUser: ") + s.UserCountry + QStringLiteral(";    System: ") +
               s.SystemCountry
        << QStringLiteral("Date Format: \tShort: ") + s.ShortDateFormat + QStringLiteral(";    Long: ") +
               s.LongDateFormat
        << QStringLiteral("Time Format: \tShort: ") + s.ShortTimeFormat + QStringLiteral(";    Long: ") +
               s.LongTimeFormat;
  lines << QString() << QLatin1Char('[') + p.FileName + QLatin1Char(']') << QString()
        << QStringLiteral("LastZoom:    \t") + QString::number(p.LastZoom)
        // Strikeout is a preference too, but the line has never shown it.
        << QStringLiteral("DeFFont      \t") + p.FontName + ',' + QString::number(p.FontSize) + ',' +
               Flag(p.Bold) + ',' + Flag(p.Italic) + ',' + Flag(p.Underline) + ',' + QString::number(p.Color)
        << QStringLiteral("ShowHint:   :\t") + Flag(p.ShowHints)
        << QStringLiteral("Nudges:      \tTop:") + QString::number(p.TopMarginNudge) +
               QStringLiteral(",Left:") + QString::number(p.LeftMarginNudge) + QStringLiteral(",Vert:") +
               QString::number(p.VerticalSpacing) + QStringLiteral(",Horz:") +
               QString::number(p.HorizontalSpacing) + QStringLiteral("   {1/1000ths}");
  return lines;
}

TSystemFacts ReadSystemFacts(const QWidget* widget) {
  TSystemFacts s;
  const QLocale user = QLocale::system();
  const QLocale system = SystemDefaultLocale();
  s.LongDate = user.toString(QDate::currentDate(), QLocale::LongFormat);
  s.SystemVersion = SystemVersionText();
  s.Processor = QStringLiteral("Processor:  ") + QSysInfo::currentCpuArchitecture() + ' ' +
                CpuInfoValue(QStringLiteral("model name"));

  const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QSize pixels = screen->size() * screen->devicePixelRatio();
    s.ScreenWidth = pixels.width();
    s.ScreenHeight = pixels.height();
    s.BitsPerPixel = screen->depth();
    s.PixelsPerInch = qRound(screen->logicalDotsPerInch());
  }

  const std::map<QString, std::int64_t> memory = KilobyteFigures(QStringLiteral("/proc/meminfo"));
  auto figure = [&memory](const char* key) {
    const auto found = memory.find(QLatin1String(key));
    return found == memory.end() ? std::int64_t{0} : found->second;
  };
  s.TotalPhysical = figure("MemTotal");
  s.AvailablePhysical = figure("MemAvailable");
  if (s.TotalPhysical > 0)
    s.MemoryLoad = static_cast<int>((s.TotalPhysical - s.AvailablePhysical) * 100 / s.TotalPhysical);
  s.TotalPageFile = figure("SwapTotal");
  s.AvailablePageFile = figure("SwapFree");
  s.TotalVirtual = AddressSpaceBytes();
  const std::int64_t used = KilobyteFigures(QStringLiteral("/proc/self/status"))[QStringLiteral("VmSize")];
  s.AvailableVirtual = std::max<std::int64_t>(0, s.TotalVirtual - used);

  s.UserLanguage = QLocale::languageToString(user.language());
  s.SystemLanguage = QLocale::languageToString(system.language());
  s.UserCountry = QLocale::territoryToString(user.territory());
  s.SystemCountry = QLocale::territoryToString(system.territory());
  s.ShortDateFormat = user.dateFormat(QLocale::ShortFormat);
  s.LongDateFormat = user.dateFormat(QLocale::LongFormat);
  s.ShortTimeFormat = user.timeFormat(QLocale::ShortFormat);
  s.LongTimeFormat = user.timeFormat(QLocale::LongFormat);
  return s;
}
