// The forest unit: its chosen data source, header and compartment-by-compartment loading.
#pragma once

#include "app/sources/Source.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/hierarchy/HierarchySupport.h"

#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class TLHC;
class TCiselLumex;
class TTransforDleMajiteleMN;
class TLesniStringListElement;

// The directory dialog of the source choice: start directory, caption, file mask, whether the
// alias button shows. Answers a directory, "ALIAS" or "NicSeNavybralo" (cancelled).
using DirectoryChooser =
    std::function<QString(const QString& startDir, const QString& caption, const QString& mask, bool aliasButton)>;
// Makes the source of a chosen kind; app::createSource unless replaced.
using SourceMaker = std::function<std::unique_ptr<app::Source>(quint8 kind, const app::SourceContext& context)>;

// The loaded forest unit (TLesniCelek, "whole forest"): the root forest element that knows its
// data source (the kind byte of the base, 7 until chosen), holds the unit's header (TLHC) with
// the one compartment loaded at a time, the codebook container, and the source that reads it.
// Created by the calculation form and kept for the program's run.
class TLesniCelek : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TLesniCelek();
    ~TLesniCelek() override;

    // --- published data -------------------------------------------------------------------
    // The header, created on first use as a child.
    TLHC* LHC();
    void SetLHC(TLHC* header);
    // The codebook container, created on first use as a child.
    tciselnik* Ciselnik() override;
    TOwnerEntity* ciselLumexOwnEnt() override;
    // The codebook root "CiselLumex", created on first use as a child.
    TCiselLumex* CiselLumex();
    // The ownership-transformation records (none are loaded in this program).
    TTransforDleMajiteleMN* TransforDleMajiteleMN();
    // Source key written after loading ("Vex97-Paradox", "Vex98-Paradox", "LHP160").
    const QString& JakBylNacten() const { return m_jakBylNacten; }
    void SetJakBylNacten(const QString& key) { m_jakBylNacten = key; }
    const QString& adresarObecnychDatLHP() const { return m_adresarObecnychDatLHP; }
    void SetadresarObecnychDatLHP(const QString& dir) { m_adresarObecnychDatLHP = dir; }
    const QString& AdresarStandardu() const { return m_adresarStandardu; }
    void SetAdresarStandardu(const QString& dir) { m_adresarStandardu = dir; }
    const QString& AdrStandardIniFile() const { return m_adrStandardIniFile; }
    void SetAdrStandardIniFile(const QString& path) { m_adrStandardIniFile = path; }
    // AdresarStandardu + "\ISHULLCR" for a standard INI file "\LCR.INI", else + "\ISHUL".
    QString AdresarIshulu() const;
    // The stand-data directory for the Paradox kinds; empty for the others.
    QString ZdrojNazev() const;
    // ZdrojNazev() + "/TBSepMaj.DB" for the Paradox kinds, else empty.
    QString AdresarTabulky_TBSepMaj() const;
    // -1 without a header; else the key of the compartment current before the last change.
    qint32 stareOddeleni();
    // The sibling program's PHS directory (the Paradox sources set it when loading the header).
    const QString& PHSNazev() const { return m_phsNazev; }
    void SetPHSNazev(const QString& dir) { m_phsNazev = dir; }

    // --- standard item lists (read once, on first use, for the Paradox sources only) -------
    // The export items: UnivExp.ini beside the program, else the standard INI file when it is
    // "\LCR.INI", else PHS.INI in the PHS directory.
    TLesniStringListElement* SeznamExportStandard() override;
    // The items of one interchange file kind from the standard INI file; kind is one of PP, BZL,
    // CPP, CPB, CPJ, JP, OST, LHC.
    TLesniStringListElement* SeznamStandardFst(const QString& kind);

    // --- source choice and loading ---------------------------------------------------------
    // The program's directory (vkm.ini and "ciselnik"); files::programDirectory() unless set.
    QString programDir() const;
    void setProgramDir(const QString& dir) { m_programDir = dir; }
    void setDirectoryChooser(DirectoryChooser chooser) { m_chooser = std::move(chooser); }
    void setSourceMaker(SourceMaker maker) { m_maker = std::move(maker); }

    // Asks for a directory (from DATA_OBECNE when startDir is empty), detects the kind of data
    // there, stores the choice in vkm.ini and makes the source. Kind 7 when nothing was chosen.
    void ChooseDataSource(const QString& startDir, bool writeManager);
    // Installs a source directly (tests, and the choice). Sets the kind byte.
    void setSource(std::unique_ptr<app::Source> source);
    app::Source* source() const { return m_source.get(); }

    // The header from the source.
    void LoadHeader();
    // The compartment list, built from the source when there is none.
    const QStringList& CompartmentList();
    // The source starts again; its first compartment becomes the header's current one.
    void ReloadCompartments();
    // True when the source has no compartment after the current one.
    bool EndOfData() const;
    // False when the source's last start read no unit (cancelled, or it could not be opened).
    bool HasUnit() const { return m_source && m_source->hasUnit(); }
    // The next compartment replaces the current one; nothing happens at the end of the data.
    void LoadNextCompartment(bool withProgressWindow);

private:
    void afterCompartmentLoaded();
    // The list of a slot, read from the file's section on first use and added as a child
    // named `name`; nil for sources other than the Paradox ones (reported when `report`).
    TLesniStringListElement* standardList(int slot, const QString& name, const std::function<QString()>& file,
                                          const QString& section, bool report);

    QString m_jakBylNacten;
    QString m_adresarObecnychDatLHP;
    QString m_adresarStandardu;
    QString m_adrStandardIniFile;
    QString m_zdrojNazev;
    QString m_programDir;
    QString m_phsNazev;
    // Export list first, then the eight interchange kinds.
    static constexpr int standardListCount = 9;
    std::array<WeakRef<TLesniStringListElement>, standardListCount> m_standardLists;
    std::array<bool, standardListCount> m_standardListTried{};
    forest::ChildSlot<TLHC> m_lhc;
    forest::ChildSlot<tciselnik> m_ciselnik;
    WeakRef<TCiselLumex> m_ciselLumex;
    forest::ChildSlot<TTransforDleMajiteleMN> m_transfor;
    std::unique_ptr<QStringList> m_compartmentList;
    std::unique_ptr<app::Source> m_source;
    DirectoryChooser m_chooser;
    SourceMaker m_maker;
};
