// Stand groups (PSK) and their set.
#pragma once

#include "forest/hierarchy/AreaElements.h"

class TEtazMN;
class TEtaz;
class TPorost;

// A stand group: area, site data and owner of one part of a stand; holds the storeys.
class TPorostniSkupina : public TLesniPlosnyPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& PSK() const { return m_psk; }
    // Normalised: each part between "/" or "\" as a storey designation, joined with "/".
    void SetPSK(const QString& psk);
    const QString& LT() const { return m_lt; }
    void SetLT(const QString& lt) { m_lt = lt; }
    QString PSKzEtazi();
    QString PSKzEtaziProKont();
    qint32 MAJ_KOD();
    qint32 MAJ_DRUH();
    qint32 CelZakmZEtazi();
    QString CeleOznaceni();
    // Appends CeleOznaceni to the text (the owners' designations built into one text).
    void appendCeleOznaceni(QString& text);

    TEtazMN* EtazMN();
    TEtaz* Etaz();
    TEtaz* EtazAt(int index);
    TPorost* OwnerPorost();

    // Brings areas, stocks and stocking of the group into agreement for an area quality.
    void SetPSK_KVAL_Vypocet(qint32 quality);

private:
    void shareAreaByStocking();

    QString m_psk;
    QString m_lt;
    QString m_slt;
    qint32 m_pribVzd = 0;
    QString m_hospTvar;
    QString m_terTyp;
    QString m_terenniSkupina;
    qint32 m_uzivatel = 0;
    qint32 m_olhi = 0;
    qint32 m_hospZp = 0;
    QString m_dan;
    QString m_pskText;
    forest::ChildSlot<TEtazMN> m_etazMN;
};

// The stand-group set of a stand, prefix "SKUP"; keys are normalised as PSK is.
class TPorostniSkupinaMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TPorostniSkupinaMN();

    void NovyPrvek(const QString& key) override;
    void SetJmenoAktualnihoPrvku(const QString& key) override;
    void NovyNeboAktualniPrvek(const QString& key) override;
};
