// Which kind of forest-unit data a chosen directory holds, and what the choice writes to vkm.ini.
#include "app/sources/SourceChoice.h"

#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/base/TextUtilities.h"
#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/text/Cp1250.h"
#include "platform/ui/Services.h"

#include <QFile>

namespace app {

namespace {

// Header of an interchange data file: three lines, the column count, then one name a line.
constexpr int maxHeaderColumns = 1000;
constexpr int maxHeaderLine = 4096;

QString joinPath(const QString& dir, const char* name)
{
    return files::resolvePath(dir + QLatin1Char('/') + QLatin1String(name));
}

// Old record files: "<unit>.<nn>V"; the first valid unit number wins, others are reported.
bool detectRecordFiles(const QString& d, DetectedSource& out)
{
    bool found = false;
    for (const QString& name : files::findFiles(d + QStringLiteral("/*.*V"))) {
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot < 0)
            continue;
        bool okA = false;
        bool okB = false;
        const qint32 a = name.left(dot).toInt(&okA);
        name.mid(dot + 1).chopped(1).toInt(&okB);
        if (!okA || !okB)
            continue;
        if (!out.lhcKod)
            out.lhcKod = a;
        else if (*out.lhcKod != a)
            ui::services().showMessage(QStringLiteral("V adresáři %1jsou data lhc č.%2 i lhc č.%3. Načítám pouze lhc č.%2 .")
                                           .arg(d).arg(*out.lhcKod).arg(a));
        found = true;
    }
    return found;
}

// Version 98 has the national-park share in the unit table.
void detectParadox(const QString& d, DetectedSource& out)
{
    db::Table lhc;
    lhc.SetTableName(joinPath(d, "LHC.DB"));
    lhc.SetReadOnly(true);
    lhc.Open();
    out.kind = lhc.FindField(QStringLiteral("LHC_PN_PRO")) ? SourceKinds::Vex98 : SourceKinds::Vex97;
    lhc.First();
    if (const db::Field* kod = lhc.FindField(QStringLiteral("LHC_KOD")); kod && !lhc.Eof())
        out.lhcKod = DigitsToInt(kod->AsString());
    lhc.Close();
}

} // namespace

QString normaliseChosenDirectory(const QString& answer)
{
    QString d = answer.trimmed();
    if (d.endsWith(QLatin1Char('\\')) || (d.endsWith(QLatin1Char('/')) && d.size() > 1))
        d.chop(1);
    return d;
}

bool interchangeFileHasColumn(const QString& path, const QString& column)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    auto readLine = [&file]() { return Cp1250::decode(file.readLine(maxHeaderLine)).trimmed(); };
    readLine();
    readLine();
    const qint32 count = std::min<qint32>(DigitsToInt(readLine()), maxHeaderColumns);
    for (qint32 i = 0; i < count && !file.atEnd(); ++i)
        if (QString::compare(readLine(), column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

DetectedSource detectSourceKind(const QString& answer)
{
    DetectedSource out;
    out.directory = normaliseChosenDirectory(answer);
    const QString& d = out.directory;
    if (d == QLatin1String(aliasAnswer))
        out.kind = SourceKinds::SqlDatabase;
    if (d.isEmpty() || d == QLatin1String(cancelledAnswer) || d == QLatin1String(aliasAnswer))
        return out;
    if (detectRecordFiles(d, out))
        out.kind = SourceKinds::OldLhpRecords;
    if (files::fileExists(joinPath(d, "PP.FST"))) {
        out.kind = interchangeFileHasColumn(joinPath(d, "JP.FST"), QStringLiteral("POR")) ? SourceKinds::IsHul98
                                                                                           : SourceKinds::IsHul97;
        out.isStandardDirectory = true;
    }
    if (files::fileExists(joinPath(d, "OST_POZ.DB")))
        detectParadox(d, out);
    return out;
}

void storeChoice(const QString& vkmIniPath, const DetectedSource& detected, bool writeManager)
{
    IniFile ini(vkmIniPath);
    const QString section = QStringLiteral("DATABASE");
    if (detected.kind == SourceKinds::Vex97 || detected.kind == SourceKinds::Vex98) {
        if (writeManager)
            ini.writeString(section, QStringLiteral("MANAGER"), QStringLiteral("NE"));
        ini.writeString(section, QStringLiteral("DATA"), QStringLiteral("PATH=") + detected.directory);
    }
    // "ALIAS" names no directory: the dialog opens next time where the user last looked.
    if (detected.kind != SourceKinds::Undetermined && detected.kind != SourceKinds::SqlDatabase)
        ini.writeString(section, QStringLiteral("DATA_OBECNE"), detected.directory);
}

} // namespace app
