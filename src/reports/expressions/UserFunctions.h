// User functions of a template: named expressions evaluated once per record, optionally
// aggregated (count, sum, average, minimum, maximum, deviations), and their list.
#pragma once

#include "reports/expressions/OperandValue.h"

#include <QString>

#include <memory>
#include <vector>

namespace reports {

// The ten settings a template line and the designer's dialog carry.
struct FunctionSettings
{
    QString Name;
    QString Popis;
    QString Vyraz;
    int Typ = 0;
    QString PocatecniHodnota = QStringLiteral("0");
    int Nulovat = 0;
    int Zpracovani = 0;
    int Sirka = 15;
    int Desetiny = 2;
    int Format = 2;
    bool operator==(const FunctionSettings&) const = default;
};

// One user function (a row of the function list).
class TRadekFunkce
{
public:
    // Aggregates (Zpracovani).
    enum : int { None = 0, Count = 1, Sum = 2, Average = 3, Minimum = 4, Maximum = 5,
                 Deviation = 6, RelativeDeviation = 7 };

    TRadekFunkce();

    // Stores the settings; a Format above 4 becomes 2; the value's kind follows Typ
    // (0 number, 1 text, otherwise empty).
    void SetValues(const FunctionSettings& settings);
    FunctionSettings GetValues() const;

    // Marks a reset for the next calculation when scope is negative or equals Nulovat.
    void RequestReset(int scope);
    // Acts only when a reset is pending: the value from PocatecniHodnota (cleared when that
    // is not a number), the counters to zero.
    void Reset();
    // One step for the current record: Reset, evaluate Vyraz (unless counting; an error
    // gives the cleared value), count, aggregate.
    void Calculate();
    // Typ 0: the number in the function's format; Typ 1: the text; otherwise empty.
    QString ValueText() const;

    QString Name;
    QString Popis;
    QString Vyraz;
    int Typ = 0;                  // 0 number ("Číselná"), 1 text ("Řetězcová")
    QString PocatecniHodnota;     // initial value as text
    int Nulovat = 0;              // reset scope: 0 report, 1 page, 2 + i group i
    int Zpracovani = None;
    int Sirka = 15;               // significant digits of the display text
    int Desetiny = 2;             // decimals of the display text
    int Format = 2;               // 0 General, 1 Exponent, 2 Fixed, 3 Number, 4 Currency
    TOperandValue Hodnota;
    int Pocet = 0;                // records since the last reset
    double Suma = 0;
    double SumaCtvercu = 0;
    bool NulovatPriste = false;   // a reset is pending
};

// The functions of a report, in template order; owns them. Function n of expressions
// ("@n") is index n - 1.
class TListFunkci
{
public:
    int Count() const { return int(m_items.size()); }
    // The function, or null when index is outside the list.
    TRadekFunkce* FunctionAt(int index) const;
    TRadekFunkce& Add(std::unique_ptr<TRadekFunkce> function);
    void DeleteLast();
    void ClearAll();

    void RequestReset(int scope);
    // Calculates every function in list order: one sees the new value of those before it
    // and the previous value of those after it.
    void CalculateAll();
    // Index of the first function named so, ASCII case ignored; -1 when none.
    int IndexOfName(const QString& name) const;
    // The designer's label: "#", the number in three places, the name ("#1  Soucet").
    QString ReferenceText(int index) const;

private:
    std::vector<std::unique_ptr<TRadekFunkce>> m_items;
};

} // namespace reports
