// The sample unit as version-97 Paradox tables and as IS HÚL files gives the same rows.
#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "tools/samples/SampleData.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

struct Rows {
    QStringList names;
    QList<QStringList> rows;
};

// The rows of TGENKL.DB as texts, sorted by ODD, DIL, POR, PSK, ETAZ, DR_ZKR.
Rows readRows(const QString& path)
{
    db::Table t;
    t.SetTableName(path);
    t.Open();
    Rows out;
    for (int i = 0; i < t.FieldCount(); ++i)
        out.names << t.Fields(i).FieldName();
    for (t.First(); !t.Eof(); t.Next()) {
        QStringList row;
        for (int i = 0; i < t.FieldCount(); ++i)
            row << t.Fields(i).AsString();
        out.rows << row;
    }
    QList<int> key;
    for (const char* k : {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR"})
        key << int(out.names.indexOf(QString::fromLatin1(k)));
    std::stable_sort(out.rows.begin(), out.rows.end(), [&](const QStringList& a, const QStringList& b) {
        for (const int k : key) {
            if (k == key[0] && a[k].toInt() != b[k].toInt())
                return a[k].toInt() < b[k].toInt();
            if (a[k] != b[k])
                return a[k] < b[k];
        }
        return false;
    });
    return out;
}

// Every row and field as one text per line (the golden form).
QByteArray dump(const Rows& rows)
{
    QStringList lines = {rows.names.join(QLatin1Char('|'))};
    for (const QStringList& r : rows.rows)
        lines << r.join(QLatin1Char('|'));
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

class CrossSource : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        recorder().clear();
        programDir = m_dir.path();
        files::setProgramDirectory(programDir);
        samples::writeSampleInstallation(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data"), programDir);
    }

    // Two calculations over the source; the rows of the first, which the second must repeat.
    Rows calculate(quint8 kind, const QString& dir)
    {
        app::Calculation calc;
        calc.setTablesDir(programDir + QStringLiteral("/"));
        calc.LesniCelek()->setProgramDir(programDir);
        calc.LesniCelek()->SetAdresarStandardu(dir);
        calc.LesniCelek()->setSource(app::createSource(kind, {dir, programDir}));
        calc.LesniCelek()->LoadHeader();
        EXPECT_TRUE(calc.RunCalculation({}));
        const Rows first = readRows(calc.tablePath());
        EXPECT_TRUE(calc.RunCalculation({}));
        EXPECT_EQ(dump(readRows(calc.tablePath())), dump(first)) << "second run, kind " << int(kind);
        return first;
    }

    void checkGolden(const Rows& rows, const QString& name)
    {
        const QString golden = QStringLiteral(GENKLAS_GOLDEN_DIR "/app/ishul/%1.txt").arg(name);
        if (qEnvironmentVariableIsSet("GENKLAS_REGENERATE_GOLDEN")) {
            QFile out(golden);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(dump(rows));
        }
        QFile in(golden);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << golden.toStdString();
        EXPECT_EQ(dump(rows), in.readAll());
    }

    QString programDir;

private:
    QTemporaryDir m_dir;
};

TEST_F(CrossSource, IsHul97FilesGiveTheRowsOfTheParadoxUnit)
{
    const Rows paradox = calculate(SourceKinds::Vex97, programDir + QStringLiteral("/vzorky/vex97/DATA"));
    const Rows ishul = calculate(SourceKinds::IsHul97, programDir + QStringLiteral("/vzorky/ishul97"));
    EXPECT_TRUE(recorder().messages.empty()) << recorder().messages[0].text.toStdString();
    ASSERT_EQ(paradox.names, ishul.names);
    ASSERT_GT(paradox.rows.size(), 20);
    ASSERT_EQ(paradox.rows.size(), ishul.rows.size());
    // Where the sources differ by their rules: the unit name loses its diacritics, the owner's
    // name is not read from version 97 files, the inventory dates are never read from version 97.
    const QStringList differing = {"LHC_NAZEV", "MAJ_NAZ", "LHP_TAX", "LHP_Z_TAX"};
    for (int r = 0; r < paradox.rows.size(); ++r) {
        for (int f = 0; f < paradox.names.size(); ++f) {
            if (differing.contains(paradox.names[f]))
                continue;
            EXPECT_EQ(ishul.rows[r][f], paradox.rows[r][f]) << paradox.names[f].toStdString() << " row " << r;
        }
    }
    const int name = int(paradox.names.indexOf("LHC_NAZEV"));
    EXPECT_NE(ishul.rows[0][name], paradox.rows[0][name]);
    EXPECT_EQ(ishul.rows[0][int(paradox.names.indexOf("MAJ_NAZ"))], "");
    checkGolden(ishul, "ishul97");
}

TEST_F(CrossSource, IsHul98FilesRunTwiceAlike)
{
    const Rows rows = calculate(SourceKinds::IsHul98, programDir + QStringLiteral("/vzorky/ishul98"));
    EXPECT_GT(rows.rows.size(), 20);
    checkGolden(rows, "ishul98");
}

} // namespace
