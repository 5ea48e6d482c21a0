// Codebook sets filled by the loaders: management sets, code-text pairs, forest managers,
// owners' land by stand and ownership-transformation records.
#pragma once

#include "forest/base/ChangeState.h"
#include "forest/base/LesniMnozina.h"

// A management set (hospodářský soubor) with its rotation, regeneration period and minimum
// felling age.
class TCisHs : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    qint32 CISLO_HS = 0;
    QString NAZEV_HS;
    qint32 OBMYTI = 0;
    qint32 OBN_DOBA = 0;
    qint32 MZD = 0;
};

class TCisHsMN : public TLesniMnozina
{
public:
    TCisHsMN() { setItems(TCisHs::StaticClass(), QStringLiteral("CiHS")); }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// A code with its text.
class TKodPopis : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    QString Kod;
    QString Popis;
};

class TKodPopisMN : public TLesniMnozina
{
public:
    TKodPopisMN() { setItems(TKodPopis::StaticClass(), QStringLiteral("KodPop")); }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// A forest manager (odborný lesní hospodář).
class TOLH : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    QString KOD;
    QString JMENO;
    QString OKR_URAD;
    QString CIS_LIC;
};

class TOLHMN : public TLesniMnozina
{
public:
    TOLHMN() { setItems(TOLH::StaticClass(), QStringLiteral("CiOLH")); }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// One stand (or other land) of an owner.
class TMajPoPorostech : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // ODD, DIL, POR and PSK joined without separators, then JP when it is not 0 (12A12, 12A123).
    QString ODD_DIL_POR() const;
    const QString& PSK() const { return m_psk; }
    // Stored without blanks.
    void SetPSK(const QString& psk);

    qint32 MAJ_DRUH = 0;
    qint32 MAJ_KOD = 0;
    qint32 ODD = 0;
    QString DIL;
    QString POR;
    qint32 JP = 0;
    qint32 KU_KOD = 0;

private:
    QString m_psk;
};

class TMajPoPorostechMN : public TLesniMnozina
{
public:
    TMajPoPorostechMN() { setItems(TMajPoPorostech::StaticClass(), QStringLiteral("MajPoPor")); }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// A record of how a stand passes to another owner.
class TTransforDleMajitele : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The change state as "nezmenilse", "bylNoveZaveden" or "BudeSmazan", and back.
    QString Zmena_nazev() const { return ChangeStateToText(Zmena); }
    void SetZmena_nazev(const QString& text) { Zmena = TextToChangeState(text); }

    qint32 ODD = 0;
    QString DIL;
    QString POR;
    QString PSK;
    qint32 MAJ_DRUH = 0;
    qint32 MAJ_KOD = 0;
    TTypZmeny Zmena = nezmenilse;
};

class TTransforDleMajiteleMN : public TLesniMnozina
{
public:
    TTransforDleMajiteleMN() { setItems(TTransforDleMajitele::StaticClass(), QStringLiteral("Transf")); }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};
