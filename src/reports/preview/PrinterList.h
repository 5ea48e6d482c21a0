// The entries of the printer box: the system's queues, then the PDF file.
#pragma once

#include <QStringList>

namespace reports {

class PrinterSystem;

// A snapshot of the queues of a printer system (none: no queues) followed by the entry
// "Soubor PDF…", which writes the pages to a PDF file instead of a queue.
class PrinterList
{
public:
    explicit PrinterList(const PrinterSystem* system);

    // Queue names, then the PDF entry.
    QStringList items() const;
    int queueCount() const { return int(m_names.size()); }
    int pdfItem() const { return queueCount(); }
    bool isPdf(int item) const { return item == pdfItem(); }
    // The item of a queue index; none (-1) when the index names no queue.
    int itemOfQueue(int index) const;
    // The queue of an item, -1 for the PDF entry or nothing.
    int queueOfItem(int item) const;
    // The item a dialog proposes for printer `index` (-1 the default): that queue, else the
    // system's default, else the first queue, else the PDF entry.
    int proposedItem(int index) const;
    // "Typ:" and "Kde:" of an item: the queue's make and model and its location.
    QString makeAndModel(int item) const;
    QString location(int item) const;

private:
    const PrinterSystem* m_system;
    QStringList m_names;
};

// The text of the PDF entry.
QString pdfItemText();

} // namespace reports
