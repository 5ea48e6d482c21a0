// The view of the species-mixture codebook, with the mixture and forest types joined by "&".
#pragma once

#include "framework/elements/DatabaseClasses.h"

// The species-mixture view (Mel_Drev): on the current row of its table, DR_ZKR joins Mel_DR1
// with each non-blank Mel_DR2..Mel_DR10, and LT_SLT gives the forest types of LT, all by "&".
// Both read empty when the table cannot be opened or lacks the column.
class TDatabaseMel_DrevClass : public TDatabaseClass
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    QString DR_ZKR() const;
    QString LT_SLT() const;

private:
    // The text of a column of the current row; empty without it.
    QString columnText(const QString& field) const;
};
