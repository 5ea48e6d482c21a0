// The template box and the printer box of the print dialog, usable on any form.
#pragma once

#include "reports/preview/PrinterList.h"
#include "reports/preview/TemplateList.h"

#include <QComboBox>

namespace reports {

class PrinterSystem;
class TSestava;

// TComboBoxPredloha: the templates of a directory by their descriptions. With a report set,
// the chosen file becomes the report's ReportName.
class TComboBoxPredloha : public QComboBox
{
public:
    explicit TComboBoxPredloha(QWidget* parent = nullptr);

    TemplateList& templates() { return m_list; }
    TSestava* Report = nullptr;   // not owned

    // The selected entry's file name; empty when nothing is selected.
    QString VybranySoubor() const;
    // Rebuilds the list and selects the entry of `name` (letter case ignored), or none.
    void VyberSoubor(const QString& name);
    // Opening the list rebuilds it and keeps the item shown.
    void showPopup() override;

private:
    void refill();
    void passToReport();

    TemplateList m_list;
};

// TComboBoxPrinter: the queues of the printer system, then "Soubor PDF…".
class TComboBoxPrinter : public QComboBox
{
public:
    // `system` not owned; null: the installed one.
    explicit TComboBoxPrinter(QWidget* parent = nullptr, const PrinterSystem* system = nullptr);

    const PrinterList& printers() const { return m_list; }
    // The selected queue's index; -1 for nothing or the PDF entry.
    int IndexTiskarny() const;
    bool isPdfSelected() const;
    // Reloads the queues and selects queue `index` when -1 <= index < count, else nothing.
    void NastavTiskarnu(int index);
    // Reloads and selects the PDF entry.
    void NastavPdf();
    // Opening the list reloads the queues and keeps the name shown.
    void showPopup() override;

private:
    void reload();

    const PrinterSystem* m_system;
    PrinterList m_list;
};

} // namespace reports
