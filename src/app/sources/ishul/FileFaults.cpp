// Faults met while reading an interchange or record file, reported once per kind of fault.
#include "app/sources/ishul/FileFaults.h"

#include "platform/ui/Services.h"

#include <QFileInfo>

void FileFaults::add(FileFault kind, int line, const QString& detail)
{
    Entry& e = m_entries[index(kind)];
    if (e.count == 0) {
        e.firstLine = line;
        e.detail = detail;
    }
    ++e.count;
    ++m_totals[index(kind)];
}

int FileFaults::total() const
{
    int sum = 0;
    for (const int n : m_totals)
        sum += n;
    return sum;
}

QString FileFaults::message(FileFault kind, const QString& fileName, int firstLine, int count,
                            const QString& detail)
{
    const QString where = QStringLiteral("Soubor \"%1\", řádek %2: ").arg(fileName).arg(firstLine);
    QString text;
    switch (kind) {
    case FileFault::WrongValueCount:
        text = where + QStringLiteral("počet hodnot neodpovídá hlavičce (%1 sloupců), řádek vynechán.").arg(detail);
        break;
    case FileFault::ValueTooLong:
        text = where + QStringLiteral("hodnota delší než 2000 znaků byla zkrácena.");
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
        text += QStringLiteral(" Takových řádků: %1.").arg(count);
    return text;
}

void FileFaults::report(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        Entry& e = m_entries[i];
        if (e.count > 0)
            ui::services().showMessage(message(static_cast<FileFault>(i), name, e.firstLine, e.count, e.detail));
        e = Entry{};
    }
}
