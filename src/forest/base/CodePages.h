// Accented letters of other code pages converted to windows-1250, and diacritics removed.
#pragma once

#include <QString>

// Each character that is a code-852 letter of the Czech letter table, read as windows-1250,
// becomes the windows-1250 letter at the same position (Ô and ô become Ö and ö).
QString Cp852ToWin1250(const QString& text);
// The same for the letters as they arrive from the owners' dBASE file.
QString DbfTextToWin1250(const QString& text);
// Every accented letter of windows-1250 (Czech, Slovak, Polish, Hungarian, ... both cases)
// replaced by its plain letter, case kept; other characters unchanged.
QString RemoveDiacritics(const QString& text);
