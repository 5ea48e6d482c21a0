// Applies the current record of an interchange data reader to the forest model.
#pragma once

#include "app/sources/ishul/PropertyWriter.h"
#include "framework/tools/Recursors.h"

#include <QHash>
#include <QString>

#include <utility>
#include <vector>

class TLHC;
class TLesniMnozina;
class TEtaz;
class TPrenasecZeStandarduData;

// The record importer of the interchange files (TImportStandardPP_FST). A recursor over the
// reader's element tree: the reader, its value carrier, then each column element in header
// order; the action maps one column by its name. A record is applied in two passes: the
// position pass (Nastavuj set) stores the header columns and lets the key columns (ODD, DIL,
// POR, PSK, ETAZ, DR_ZKR, JP, BZL) select or create the elements the record names; the data pass
// (Nastavuj clear) stores every other known column into the elements made current.
//
// The columns of a carrier are mapped to their rules once (Prepare), not by name per record.
// Conversions: I = blanks removed ("0" when none is left), then a whole number or EConvertError;
// D = the digits the text holds; F = a float with "." or ","; RD = without diacritics.
// The header the importer writes into is set by its owner and not owned.
class TImportStandardPP_FST : public TRecursor
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TImportStandardPP_FST();
    ~TImportStandardPP_FST() override;

    void setHeader(TLHC* header)
    {
        m_header = header;
        keyChanged(0);
    }
    TLHC* header() const { return m_header; }

    const QString& PUVOD_DAT_PP() const { return m_puvodDat; }
    void SetPUVOD_DAT_PP(const QString& text)
    {
        m_puvodDat = text;
        keyChanged(0);   // the header is written anew
    }
    const QString& Oddelovac() const { return m_oddelovac; }
    void SetOddelovac(const QString& text) { m_oddelovac = text; }
    const QString& JmenoTextFile() const { return m_jmenoTextFile; }
    void SetJmenoTextFile(const QString& name);
    bool Nastavuj() const { return m_nastavuj; }
    void SetNastavuj(bool on) { m_nastavuj = on; }
    bool NevytvaretNoveOddeleni() const { return m_nevytvaretNoveOddeleni; }
    void SetNevytvaretNoveOddeleni(bool on) { m_nevytvaretNoveOddeleni = on; }

    bool DescendTest(TElement*) override { return true; }
    bool PreTest(TElement*) override { return true; }
    void Action(TElement* element) override;
    // A column element is a leaf: the walk does not look into it.
    void Recurse(TElement* element) override;
    void Prepare() override;

    // Both passes of the current record of the reader (the data pass for data files only).
    void ApplyRecord(TPrenasecZeStandarduData* reader, bool positionOnly = false);
    // The first column of the current record whose value a whole-number conversion refuses
    // (the record would fail part-way); empty when the record converts whole.
    QString InvalidColumn(TPrenasecZeStandarduData* reader);
    // The column the action handled last (names the column of a failure).
    const QString& CurrentColumn() const;
    // Between BeginRun and EndRun the importer alone changes the model (the records of one
    // compartment in one file): a column whose value and target element are those of its last
    // write is not written again. The run ends when a record names other elements.
    void BeginRun();
    void EndRun();

    struct Rule;

private:
    struct Column {
        const Rule* rule = nullptr;
        int level = -1;              // the level whose element it writes alone; -1: written always
        // The last write: the value (held, so its text stays put), the element and the level's
        // stamp (together, as each record looks at them).
        quint64 writtenStamp = 0;
        const TElement* writtenTo = nullptr;
        QString written;
        QString name;
        PreparedProperty property;   // the property the rule writes (with the file's suffix)

        // The very text object of the last write (the same text, not only an equal one).
        bool holds(const QString& v) const { return written.constData() == v.constData() && written.size() == v.size(); }
    };
    struct PassColumn {
        int index;                 // in the carrier
        TElement* element;
        Column* column;            // in m_columns
    };
    void mapColumns(TElement* carrier);
    void applyColumn(Column& column, TElement* element);
    void applyPass(TPrenasecZeStandarduData* reader);
    QString propertyOf(const Rule& rule) const;
    void applyPosition(Column& column, const QString& v);
    void applyData(Column& column, const QString& v);
    void applySpecial(const Rule& rule, const QString& v);
    void applyAfforestation(const Rule& rule, const QString& v);
    void applyDamage(const Rule& rule, const QString& v);
    void applyKey(const Rule& rule, const QString& v);
    TElement* targetOf(const Rule& rule);
    // The current element of a level (Target), resolved once per pass: the position pass has
    // fixed the current elements, and the data pass only fills them.
    TElement* cached(int target);
    TEtaz* storey();
    // The level a column may skip a repeated write at (see BeginRun), -1 when it always writes.
    int repeatLevel(const Rule& rule) const;
    bool isRepeat(const Column& column, const QString& v, const TElement* target) const;
    void remember(Column& column, const QString& v, const TElement* target);
    // A key of the level changed: its elements and those below it may be others now.
    void keyChanged(int level);
    bool selectKey(TLesniMnozina* set, const QString& v, bool reselect);
    bool hasSpecies();
    // Depth 0 to 3: the compartment, sub-compartment, stand and group the keys have selected.
    // Depth d is asked for only after depth d - 1 was found (not nil) in the same pass.
    TElement* chainAt(int depth);

    TLHC* m_header = nullptr;
    QString m_puvodDat;
    QString m_oddelovac;
    QString m_jmenoTextFile;
    int m_fileKind = 0;   // 0 other, 1 PP/PSK, 2 BZL, 3 JP
    bool m_nastavuj = false;
    bool m_nevytvaretNoveOddeleni = false;
    const QString* m_currentColumn = nullptr;   // the name in m_columns; null before the first
    const TElement* m_mappedCarrier = nullptr;
    int m_mappedCount = -1;
    QHash<const TElement*, Column> m_columns;
    std::vector<PassColumn> m_passColumns[2];   // position pass, data pass
    struct WholeNumberColumn {
        const TElement* element;
        const Column* column;
        bool species;          // skipped in a record without a species
        bool keepComputed;     // an empty value is no number to check
    };
    std::vector<WholeNumberColumn> m_wholeNumberColumns;
    static constexpr int TargetSlots = 7;
    TElement* m_targets[TargetSlots] = {};
    bool m_resolved[TargetSlots] = {};
    quint64 m_resolvedStamp[TargetSlots] = {};
    // Repeated writes: the run is open, the stamp of each level and the key values last applied.
    static constexpr int Levels = 4;   // header, stand, group, storey
    static constexpr int Keys = 5;     // ODD, DIL, POR, PSK, ETAZ
    bool m_inRun = false;
    bool m_repeatsAllowed = false;   // the carrier's columns permit it (set by mapColumns)
    quint64 m_stamp[Levels] = {};
    quint64 m_nextStamp = 1;
    QString m_keyValues[Keys];
    bool m_keyKnown[Keys] = {};
    bool m_keyChangedInRecord = false;
    int m_hasSpecies = -1;   // -1: not asked in this pass
    TElement* m_chain[4] = {};
    int m_chainKnown = 0;    // the depths of m_chain found in this pass
};
