// Text dumps of result tables and their comparison with golden files.
#include "app/support/TableDump.h"

#include "platform/db/Table.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

namespace testapp {

QString dumpTable(const QString& path)
{
    db::Table table;
    table.SetTableName(path);
    table.Open();
    QStringList lines;
    QStringList names;
    for (int f = 0; f < table.FieldCount(); ++f)
        names << table.Fields(f).FieldName();
    lines << names.join(QLatin1Char('|'));
    for (table.First(); !table.Eof(); table.Next()) {
        QStringList values;
        for (int f = 0; f < table.FieldCount(); ++f)
            values << table.Fields(f).AsString();
        lines << values.join(QLatin1Char('|'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void expectGoldenText(const QString& name, const QString& text)
{
    const QString path = QStringLiteral(GENKLAS_GOLDEN_DIR "/app/") + name;
    if (qEnvironmentVariableIsSet("GENKLAS_REGENERATE_GOLDEN")) {
        QDir().mkpath(QStringLiteral(GENKLAS_GOLDEN_DIR "/app"));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
    }
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << "missing golden file " << path.toStdString();
    EXPECT_EQ(text.toStdString(), QString::fromUtf8(in.readAll()).toStdString());
}

} // namespace testapp
