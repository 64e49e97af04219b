#include <gtest/gtest.h>

#include <QSysInfo>

#include "sysinfo/ConfigurationReport.h"

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

TSystemFacts SampleSystem() {
  TSystemFacts s;
  s.LongDate = "Tuesday, March 4, 2025";
  s.SystemVersion = "Debian GNU/Linux 12 (bookworm) version 6.1 build:0 linux 6.1.0-18-amd64";
  s.Processor = "Processor:  x86_64 AMD EPYC";
  s.ScreenWidth = 1280;
  s.ScreenHeight = 1024;
  s.BitsPerPixel = 24;
  s.PixelsPerInch = 96;
  s.MemoryLoad = 37;
  s.TotalPhysical = 8589934592;
  s.AvailablePhysical = 5411658752;
  s.TotalPageFile = 2147483648;
  s.AvailablePageFile = 2147483648;
  s.TotalVirtual = 140737488355328;
  s.AvailableVirtual = 140737000000000;
  s.UserLanguage = "English";
  s.SystemLanguage = "C";
  s.UserCountry = "United States";
  s.SystemCountry = "Default";
  s.ShortDateFormat = "M/d/yy";
  s.LongDateFormat = "dddd, MMMM d, yyyy";
  s.ShortTimeFormat = "h:mm AP";
  s.LongTimeFormat = "h:mm:ss AP t";
  return s;
}

TReportPreferences FirstStart() {
  TReportPreferences p;
  p.FileName = "KLXFF.ini";
  p.FontName = "Arial";
  return p;
}

// Every line in its place, labels padded to 13 characters and ended by a tab.
TEST(ConfigurationReport, FirstStartOnASystemWithoutDriverSections) {
  const QStringList expected = {
      "Tuesday, March 4, 2025",
      "",
      "[Product]",
      "Program:     \tTabwright for File Folders",
      "Version:     \t2.8b",
      "",
      "[Environment]",
      "Windows:     \tDebian GNU/Linux 12 (bookworm) version 6.1 build:0 linux 6.1.0-18-amd64",
      "CPU:         \tProcessor:  x86_64 AMD EPYC",
      "Video:       \t1280 x 1024 x 16,777,216 colors",
      "Font:        \tSmall Fonts in use",
      "Memory Load: \t37",
      "Phys Memory: \tTotal: 8,589,934,592;    Available: 5,411,658,752",
      "Page File:   \tTotal: 2,147,483,648;    Available: 2,147,483,648",
      "Virt Memory: \tTotal: 140,737,488,355,328;    Available: 140,737,000,000,000",
      "Language:    \tUser: English;    System: C",
      "Country:     \tUser: United States;    System: Default",
      "Date Format: \tShort: M/d/yy;    Long: dddd, MMMM d, yyyy",
      "Time Format: \tShort: h:mm AP;    Long: h:mm:ss AP t",
      "",
      "[KLXFF.ini]",
      "",
      "LastZoom:    \t100",
      "DeFFont      \tArial,10,0,0,0,0",
      "ShowHint:   :\t1",
      "Nudges:      \tTop:0,Left:0,Vert:0,Horz:0   {1/1000ths}",
  };
  EXPECT_EQ(ConfigurationReport(SampleSystem(), FirstStart(), kEnglish), expected);
}

// The settings lines follow the preferences; the font line has no strikeout flag.
TEST(ConfigurationReport, SettingsLines) {
  TReportPreferences p = FirstStart();
  p.LastZoom = 60;
  p.FontName = "Times New Roman";
  p.FontSize = 14;
  p.Bold = true;
  p.Underline = true;
  p.Color = 0x0000FF;
  p.ShowHints = false;
  p.TopMarginNudge = -12;
  p.LeftMarginNudge = 500;
  p.VerticalSpacing = 3;
  p.HorizontalSpacing = -499;
  const QStringList lines = ConfigurationReport(SampleSystem(), p, kEnglish);
  EXPECT_EQ(
      lines.mid(lines.size() - 4),
      QStringList({"LastZoom:    \t60", "DeFFont      \tTimes New Roman,14,1,0,1,255", "ShowHint:   :\t0",
                   "Nudges:      \tTop:-12,Left:500,Vert:3,Horz:-499   {1/1000ths}"}));
}

TEST(ConfigurationReport, ColorsAndFontSizesOfTheDisplay) {
  const struct {
    int Bits;
    const char* Text;
  } colors[] = {{1, "2 colors"},           {4, "16 colors"},      {8, "256 colors"},
                {15, "32,768 colors"},     {16, "65,536 colors"}, {24, "16,777,216 colors"},
                {32, "16,777,216 colors"}, {30, "30 colors"}};
  for (const auto& c : colors) EXPECT_EQ(ColorCountText(c.Bits, kEnglish), c.Text) << c.Bits;
  // Thousands are grouped as the locale groups them, even in the C locale.
  EXPECT_EQ(ColorCountText(16, QLocale(QLocale::German, QLocale::Germany)), "65.536 colors");
  EXPECT_EQ(ColorCountText(16, QLocale::c()), "65,536 colors");

  EXPECT_EQ(FontSizeText(96), "Small Fonts in use");
  EXPECT_EQ(FontSizeText(120), "Large Fonts in use");
  EXPECT_EQ(FontSizeText(144), "Custom font size in use");
}

TEST(ConfigurationReport, FactsOfThisSystem) {
  const TSystemFacts s = ReadSystemFacts(nullptr);
  EXPECT_TRUE(s.SystemVersion.startsWith(QSysInfo::prettyProductName() + " version "))
      << s.SystemVersion.toStdString();
  EXPECT_TRUE(s.Processor.startsWith("Processor:  " + QSysInfo::currentCpuArchitecture()));
  EXPECT_GT(s.TotalPhysical, 0);
  EXPECT_GT(s.AvailablePhysical, 0);
  EXPECT_LE(s.AvailablePhysical, s.TotalPhysical);
  EXPECT_LE(s.AvailablePageFile, s.TotalPageFile);
  EXPECT_GT(s.AvailableVirtual, 0);
  EXPECT_LT(s.AvailableVirtual, s.TotalVirtual);
  EXPECT_GE(s.MemoryLoad, 0);
  EXPECT_LE(s.MemoryLoad, 100);
  EXPECT_EQ(s.PixelsPerInch, 96);
  EXPECT_GT(s.BitsPerPixel, 0);
  EXPECT_FALSE(s.UserLanguage.isEmpty());
  EXPECT_FALSE(s.LongDateFormat.isEmpty());
}

}  // namespace
