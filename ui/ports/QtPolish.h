#pragma once

namespace kwizmar {

// Makes Qt's own texts Polish whatever language the system speaks: the labels
// and buttons of the standard dialogs (the test chooser, the print dialog, the
// message boxes) and what Qt writes by the default locale (file types, sizes
// and dates in the test chooser). The system locale stays the user's: the
// exam's dates and times keep following the regional settings
// (TQtRegionalSettings reads QLocale::system(), never the default locale).
// Call once, after the QApplication is made; without Qt's Polish catalogue
// the dialogs' words stay English.
void SpeakPolish();

} // namespace kwizmar
