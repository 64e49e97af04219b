#pragma once
// The program's global strings and the four printer nudges. The strings hold
// their values from program start; AssignGlobalApplicationStrings() sets them
// again (start-up calls it, and tests use it to undo a change they made).
#include <QString>
#include <cstdint>

extern QString GlobalApplicationName;    // window caption, About box, configuration report
extern QString GlobalApplicationPrefix;  // base name of the preferences file
extern QString GlobalProductVersion;     // held only
extern QString GlobalVersion;            // "Version " line of the About box
extern QString GlobalFileExtension;      // label page file extension, no dot
extern QString GlobalFileTypeName;       // shown in file dialogs and messages
extern QString GlobalLayoutFileName;     // layout file beside the program

void AssignGlobalApplicationStrings();

// Printer nudges in thousandths of an inch (preferences load and save them,
// fine tuning edits them, printing applies them).
extern std::int32_t TopMarginNudge;
extern std::int32_t LeftMarginNudge;
extern std::int32_t VerticalSpacing;
extern std::int32_t HorizontalSpacing;
