// A program directory with codebooks, one generated sibling-database unit and vkm.ini, for tests.
#pragma once

#include "app/sources/LesniCelek.h"
#include "app/sources/vex/VexSource.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vextest {

inline QString sourceDir()
{
    return QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data");
}

inline ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

inline QStringList messageTexts()
{
    QStringList texts;
    for (const auto& m : recorder().messages)
        texts.append(m.text);
    return texts;
}

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Rows of a stand table as value lists (for rewriting a table with a change).
inline QList<QVariantList> tableRows(const QString& path, db::FieldDefs* defs = nullptr)
{
    db::Table t;
    t.SetTableName(path);
    t.Open();
    QList<QVariantList> rows;
    for (t.First(); !t.Eof(); t.Next()) {
        QVariantList r;
        for (int i = 0; i < t.FieldCount(); ++i)
            r.append(t.Fields(i).Value());
        rows.append(r);
    }
    if (defs) {
        defs->Clear();
        for (int i = 0; i < t.FieldCount(); ++i)
            defs->Add(t.Fields(i).FieldName(), t.Fields(i).DataType(), t.Fields(i).Size());
    }
    t.Close();
    return rows;
}

class VexUnitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        programDir = m_dir.path();
        files::setProgramDirectory(programDir);
        recorder().clear();
    }

    void TearDown() override
    {
        m_source.reset();
        unit = Owned<TLesniCelek>();
        recorder().clear();
    }

    // Writes codebooks, the unit and vkm.ini pointing at it (MANAGER=NE: no directory dialog).
    void makeUnit(const samples::UnitOptions& options)
    {
        samples::writeCodebooks(sourceDir(), programDir);
        samples::writeUnit(sourceDir(), unitDir(), options);
        IniFile vkm(programDir + QStringLiteral("/vkm.ini"));
        vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("DATA"), QStringLiteral("PATH=") + dataDir());
        vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("MANAGER"), QStringLiteral("NE"));
        m_version = options.version;
    }

    QString unitDir() const { return programDir + QStringLiteral("/lhc"); }
    QString dataDir() const { return unitDir() + QStringLiteral("/DATA"); }
    QString dataTable(const QString& file) const { return dataDir() + QLatin1Char('/') + file; }

    // Rewrites a stand table after `change` edited its rows.
    template<class F>
    void editTable(const QString& file, F change)
    {
        db::FieldDefs defs;
        QList<QVariantList> rows = tableRows(dataTable(file), &defs);
        change(rows, defs);
        samples::writeTable(dataTable(file), defs, rows);
    }

    vex::VexSource& source()
    {
        if (!m_source) {
            unit = Create<TLesniCelek>();
            m_source = std::make_unique<vex::VexSource>(m_version, app::SourceContext{dataDir(), programDir});
        }
        return *m_source;
    }

    // Loads every compartment; answers the compartment numbers in loading order.
    QList<int> loadAll()
    {
        QList<int> numbers;
        if (!source().loadFirstCompartment(*unit))
            return numbers;
        numbers.append(current()->ODD());
        while (!source().endOfData()) {
            EXPECT_TRUE(source().loadNextCompartment(*unit));
            numbers.append(current()->ODD());
        }
        return numbers;
    }

    // Closes every table of the source (what ending the program does).
    void dropSource() { m_source.reset(); }

    TOddeleni* current() { return dynamic_cast<TOddeleni*>(vex::unitHeader(*unit)->OddeleniMN()->AktualniPrvek()); }

    QString programDir;
    Owned<TLesniCelek> unit;

private:
    QTemporaryDir m_dir;
    vex::Version m_version = vex::Version::V97;
    std::unique_ptr<vex::VexSource> m_source;
};

} // namespace vextest
