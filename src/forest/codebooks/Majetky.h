// The owners' codebook: one owner (Tmajetky) with its data and its land by stand, and the set.
#pragma once

#include "forest/codebooks/CodebookSets.h"

#include <QHash>

// One owner of the ownership codebook. Its data are published under names with the suffix
// "_C" (MAJ_KOD_C, MAJ_NAZ_C, ...), texts except TEZB_VYP_C, TEZB_MAX_C, PSC_C, KOD_C, DOPLKOD_C
// (integers) and LesniPoz_C, JinePoz_C (doubles). A new owner has MAJ_KOD_C "99999" and
// MAJ_DRUH_C "0".
class Tmajetky : public TObecnyLesniPrvek
{
public:
    Tmajetky();
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // A text field by its property name (MAJ_KOD_C ...); empty for other names.
    QString Text(const QString& name) const { return m_texts.value(name); }
    void SetText(const QString& name, const QString& value) { m_texts.insert(name, value); }

    // MAJ_KOD_C padded on the left with "0" to 10 characters; a write is only stored.
    QString MAJ_KOD_C0() const;
    void SetMAJ_KOD_C0(const QString& value) { m_majKodC0 = value; }
    // Write: MAJ_NAZ_C := the text converted from the dBASE letters.
    void SetMAJ_NAZ_C_DBF(const QString& text);
    // The stored text, or PSC_C in decimal when none is stored.
    QString PSC_txt_C() const;
    // Stores the text and sets PSC_C from the digits before its first "@".
    void SetPSC_txt_C(const QString& text);
    // " " and the ODD_DIL_POR of every stand joined by blanks; "příliš mnoho" above 100 stands.
    QString NamePorostu();
    // The owner's land by stand: its first child of that class, else a new one added as a child.
    TMajPoPorostechMN* MajPoPorostechMN();

    qint32 TEZB_VYP_C = 0;
    qint32 TEZB_MAX_C = 0;
    double LesniPoz_C = 0;
    double JinePoz_C = 0;
    qint32 PSC_C = 0;
    qint32 KOD_C = 0;
    qint32 DOPLKOD_C = 0;

private:
    QHash<QString, QString> m_texts;
    QString m_majKodC0;
    QString m_pscTxt;
    WeakRef<TMajPoPorostechMN> m_stands;
};

// The owners; TridenoPodle names the order the loader sorted them by.
class TmajetkyMN : public TLesniMnozina
{
public:
    TmajetkyMN() { setItems(Tmajetky::StaticClass(), QStringLiteral("CiMaj")); }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    QString TridenoPodle;
};
