// The forest unit: its chosen data source, header and compartment-by-compartment loading.
#pragma once

#include "app/sources/Source.h"
#include "forest/base/ObecnyLesniPrvek.h"

#include <QStringList>

#include <memory>
#include <optional>

// The loaded forest unit (TLesniCelek, "whole forest"). Knows its data source (kind byte of
// the base, 7 until chosen), and holds the source that reads it. Created by the calculation
// form and kept for the program's run.
class TLesniCelek : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TLesniCelek();
    ~TLesniCelek() override;

    // Source key written after loading ("Vex97-Paradox", "Vex98-Paradox", "LHP160").
    const QString& JakBylNacten() const { return m_jakBylNacten; }
    void SetJakBylNacten(const QString& key) { m_jakBylNacten = key; }
    const QString& adresarObecnychDatLHP() const { return m_adresarObecnychDatLHP; }
    void SetadresarObecnychDatLHP(const QString& dir) { m_adresarObecnychDatLHP = dir; }
    const QString& AdresarStandardu() const { return m_adresarStandardu; }
    void SetAdresarStandardu(const QString& dir) { m_adresarStandardu = dir; }

    // The program's directory (codebooks in its "ciselnik"); the executable's unless set.
    const QString& programDir() const { return m_programDir; }
    void setProgramDir(const QString& dir) { m_programDir = dir; }

    // Installs a source (the choice does this; tests give their own). Sets the kind byte.
    void setSource(std::unique_ptr<app::Source> source);
    app::Source* source() const { return m_source.get(); }

private:
    QString m_jakBylNacten;
    QString m_adresarObecnychDatLHP;
    QString m_adresarStandardu;
    QString m_programDir;
    std::unique_ptr<app::Source> m_source;
};
