// The template box and the printer box of the print dialog.
#include "reports/preview/ReportComboBoxes.h"

#include "reports/component/Sestava.h"
#include "reports/output/Printer.h"

#include <QSignalBlocker>

namespace reports {

// --- templates --------------------------------------------------------------------------------

TComboBoxPredloha::TComboBoxPredloha(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, [this] { passToReport(); });
}

QString TComboBoxPredloha::VybranySoubor() const
{
    const int i = currentIndex();
    return i >= 0 && i < int(m_list.entries().size()) ? m_list.entries()[size_t(i)].fileName : QString();
}

void TComboBoxPredloha::refill()
{
    const QSignalBlocker quiet(this);
    m_list.rebuild();
    clear();
    for (const TSouborPredlohy& entry : m_list.entries()) addItem(entry.shown);
    setCurrentIndex(-1);
}

void TComboBoxPredloha::VyberSoubor(const QString& name)
{
    refill();
    setCurrentIndex(m_list.find(name));
    passToReport();
}

void TComboBoxPredloha::passToReport()
{
    if (Report) Report->SetReportName(VybranySoubor());
}

void TComboBoxPredloha::showPopup()
{
    const QString shown = currentText();
    refill();
    setCurrentIndex(findText(shown));
    QComboBox::showPopup();
}

// --- printers ---------------------------------------------------------------------------------

TComboBoxPrinter::TComboBoxPrinter(QWidget* parent, const PrinterSystem* system)
    : QComboBox(parent), m_system(system ? system : printerSystem()), m_list(m_system)
{
    reload();
}

void TComboBoxPrinter::reload()
{
    const QSignalBlocker quiet(this);
    m_list = PrinterList(m_system);
    clear();
    addItems(m_list.items());
    setCurrentIndex(-1);
}

int TComboBoxPrinter::IndexTiskarny() const
{
    return m_list.queueOfItem(currentIndex());
}

bool TComboBoxPrinter::isPdfSelected() const
{
    return m_list.isPdf(currentIndex());
}

void TComboBoxPrinter::NastavTiskarnu(int index)
{
    reload();
    setCurrentIndex(m_list.itemOfQueue(index));
}

void TComboBoxPrinter::NastavPdf()
{
    reload();
    setCurrentIndex(m_list.pdfItem());
}

void TComboBoxPrinter::showPopup()
{
    const QString shown = currentText();
    reload();
    setCurrentIndex(findText(shown));
    QComboBox::showPopup();
}

} // namespace reports
