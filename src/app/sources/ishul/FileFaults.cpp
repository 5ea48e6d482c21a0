// Faults met while reading an interchange or record file, reported once per file and kind.
#include "app/sources/ishul/FileFaults.h"

#include "platform/ui/Services.h"

#include <QFileInfo>

void FileFaults::add(FileFault kind, int line, const QString& detail)
{
    Entry& e = m_entries[index(kind)];
    if (e.lines.empty() || line < *e.lines.begin())
        e.detail = detail;
    e.lines.insert(line);
}

int FileFaults::total() const
{
    int sum = 0;
    for (const Entry& e : m_entries)
        sum += int(e.lines.size());
    return sum;
}

QString FileFaults::message(FileFault kind, const QString& fileName, int firstLine, int count,
                            const QString& detail)
{
    // A stand-text file is a file of records, not of lines.
    const bool records = kind == FileFault::ShortTlh || kind == FileFault::LongTlhString;
    const QString where = (records ? QStringLiteral("Soubor \"%1\", záznam %2: ") : QStringLiteral("Soubor \"%1\", řádek %2: "))
                              .arg(fileName)
                              .arg(firstLine);
    QString text;
    switch (kind) {
    case FileFault::Header:
        text = where + QStringLiteral("chybná hlavička (%1), data nenačtena.").arg(detail);
        break;
    case FileFault::CodebookHeader:
        text = where + QStringLiteral("chybná hlavička číselníku (%1), číselník nenačten.").arg(detail);
        break;
    case FileFault::WrongValueCount:
        text = where + QStringLiteral("počet hodnot neodpovídá hlavičce (%1 sloupců), řádek vynechán.").arg(detail);
        break;
    case FileFault::ValueTooLong:
        text = where + QStringLiteral("hodnota delší než 2000 znaků byla zkrácena.");
        break;
    case FileFault::CutRecord:
        text = where + QStringLiteral("soubor končí uprostřed záznamu, záznam vynechán.");
        break;
    case FileFault::FewerRecords:
        text = where + QStringLiteral("soubor končí dřív, než je v hlavičce ohlášených %1 záznamů.").arg(detail);
        break;
    case FileFault::ExtraLines:
        text = where + QStringLiteral("za ohlášenými %1 záznamy jsou další řádky, nenačteny.").arg(detail);
        break;
    case FileFault::CodebookLineLength:
        text = where + QStringLiteral("Chybná délka řádku \"%1\"").arg(detail);
        break;
    case FileFault::ShortTlh:
        text = where + QStringLiteral("v souboru textů porostů chybí záznam, texty zůstaly prázdné.");
        break;
    case FileFault::LongTlhString:
        text = where + QStringLiteral("text porostu delší než 88 znaků, čteno 88 znaků.");
        break;
    case FileFault::BadValue:
        text = where + QStringLiteral("chyba při načítání záznamu, %1; záznam vynechán.").arg(detail);
        break;
    case FileFault::Unsorted:
        text = where + QStringLiteral("soubor není seřazen podle oddělení, oddělení %1 se vrací.").arg(detail);
        break;
    case FileFault::Count_:
        break;
    }
    if (count > 1)
        text += (records ? QStringLiteral(" Takových záznamů: %1.") : QStringLiteral(" Takových řádků: %1.")).arg(count);
    return text;
}

void FileFaults::report(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        Entry& e = m_entries[i];
        if (e.lines.empty() || e.shown)
            continue;
        e.shown = true;
        ui::services().showMessage(message(static_cast<FileFault>(i), name, *e.lines.begin(), int(e.lines.size()), e.detail));
    }
}

void FileFaults::rearm()
{
    for (Entry& e : m_entries)
        e.shown = false;
}

FileFaults& FaultLog::of(const QString& path)
{
    const QFileInfo info(path);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    File& file = m_files[path];
    if (file.size != size || file.modified != modified) {
        file.faults.clear();
        file.size = size;
        file.modified = modified;
    }
    return file.faults;
}

void FaultLog::report(const QString& path)
{
    const auto it = m_files.find(path);
    if (it != m_files.end())
        it->second.faults.report(path);
}

void FaultLog::rearm()
{
    for (auto& [path, file] : m_files)
        file.faults.rearm();
}
