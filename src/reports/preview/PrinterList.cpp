// The entries of the printer box.
#include "reports/preview/PrinterList.h"

#include "reports/output/Printer.h"

namespace reports {

QString pdfItemText()
{
    return QString::fromUtf8("Soubor PDF…");
}

PrinterList::PrinterList(const PrinterSystem* system)
    : m_system(system), m_names(system ? system->printerNames() : QStringList())
{
}

QStringList PrinterList::items() const
{
    return m_names + QStringList{pdfItemText()};
}

int PrinterList::itemOfQueue(int index) const
{
    return index >= 0 && index < queueCount() ? index : -1;
}

int PrinterList::queueOfItem(int item) const
{
    return itemOfQueue(item);
}

int PrinterList::proposedItem(int index) const
{
    if (itemOfQueue(index) >= 0) return index;
    const int fallback = m_system ? m_system->defaultIndex() : -1;
    if (itemOfQueue(fallback) >= 0) return fallback;
    return queueCount() > 0 ? 0 : pdfItem();
}

QString PrinterList::makeAndModel(int item) const
{
    return queueOfItem(item) >= 0 ? m_system->makeAndModel(item) : QString();
}

QString PrinterList::location(int item) const
{
    return queueOfItem(item) >= 0 ? m_system->location(item) : QString();
}

} // namespace reports
