#pragma once
// The program's language and look, set once at start-up for every window, menu and message
// box: its title, Qt's own texts (standard buttons, calendars) in Simplified Chinese, a Chinese
// locale for calendars and date pickers, and one font. The date and time formats of the lists
// and the database stay the fixed ones of DisplayFormats.h.

#include <QFont>

class QApplication;

namespace xr {

// The Song-style CJK face where the system has one; else a CJK sans, else the platform's
// default face, each character falling back to the next face that has it.
QFont programFont();

// Sets the title, loads Qt's Chinese translations (a warning on standard error when they are
// not installed), the locale and the font.
void applyProgramLook(QApplication& app);

} // namespace xr
