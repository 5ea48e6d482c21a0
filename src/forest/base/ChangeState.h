// Change state of an ownership-transformation record and its texts.
#pragma once

#include <QString>

// Change state of an ownership-transformation record (TTypZmeny).
enum TTypZmeny : quint8 {
    nezmenilse = 0,       // unchanged
    bylNoveZaveden = 1,   // newly introduced
    BudeSmazan = 2,       // to be deleted
};

// "nezmenilse", "bylNoveZaveden", "BudeSmazan".
QString ChangeStateToText(TTypZmeny state);
// The text lower-cased against the three names; any other text shows
// "Neznám typZmeny ="<text>"" and answers nezmenilse.
TTypZmeny TextToChangeState(const QString& text);
