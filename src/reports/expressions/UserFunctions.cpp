// User functions of a template and their list.
#include "reports/expressions/UserFunctions.h"

#include "reports/expressions/Expression.h"
#include "reports/expressions/FloatText.h"
#include "reports/model/ReportTexts.h"

#include "platform/text/Case.h"
#include "platform/text/Numbers.h"

#include <cmath>
#include <limits>

namespace reports {

TRadekFunkce::TRadekFunkce()
    : Name(reportText(text_id::Funkce))
    , Popis(Name)
    , PocatecniHodnota(QStringLiteral("0"))
{
}

void TRadekFunkce::SetValues(const FunctionSettings& s)
{
    Name = s.Name;
    Popis = s.Popis;
    Vyraz = s.Vyraz;
    Typ = s.Typ;
    PocatecniHodnota = s.PocatecniHodnota;
    Nulovat = s.Nulovat;
    Zpracovani = s.Zpracovani;
    Sirka = s.Sirka;
    Desetiny = s.Desetiny;
    Format = s.Format > 4 ? 2 : s.Format;
    Hodnota.Kind = Typ == 0 ? okNumber : (Typ == 1 ? okText : okEmpty);
}

FunctionSettings TRadekFunkce::GetValues() const
{
    return {Name, Popis, Vyraz, Typ, PocatecniHodnota, Nulovat, Zpracovani, Sirka, Desetiny, Format};
}

void TRadekFunkce::RequestReset(int scope)
{
    if (scope < 0 || scope == Nulovat)
        NulovatPriste = true;
}

void TRadekFunkce::Reset()
{
    if (!NulovatPriste)
        return;
    double initial = 0;
    if (txt::tryStrToFloat(PocatecniHodnota, initial) && std::isfinite(initial)) {
        Hodnota.Number = initial;
        Hodnota.SetText(PocatecniHodnota);
    } else {
        Hodnota.Clear();
    }
    Pocet = 0;
    Suma = 0;
    SumaCtvercu = 0;
    NulovatPriste = false;
}

void TRadekFunkce::Calculate()
{
    Reset();
    TOperandValue x;
    if (Zpracovani != Count) {
        int errorPos = 0;
        if (EvaluateExpression(Vyraz, x, errorPos) != 0)
            x.Clear();
    }
    if (Pocet < std::numeric_limits<int>::max())
        ++Pocet;
    // The deviation of n values: sqrt((sum of squares - sum^2 / n) / (n - 1)); rounding may
    // leave a tiny negative variance for equal values, which is 0.
    const auto deviation = [this] {
        const double variance = (SumaCtvercu - Suma * Suma / Pocet) / (Pocet - 1);
        return variance > 0 ? std::sqrt(variance) : 0.0;
    };
    switch (Zpracovani) {
    case None:
        Hodnota = x;
        break;
    case Count:
        Hodnota.Number = Pocet;
        break;
    case Sum:
        Suma += x.Number;
        Hodnota.Number = Suma;
        break;
    case Average:
        Suma += x.Number;
        Hodnota.Number = Suma / Pocet;
        break;
    case Minimum:
    case Maximum:
        if (Pocet == 1 || (Zpracovani == Minimum ? x.Number < Hodnota.Number : x.Number > Hodnota.Number))
            Hodnota = x;
        break;
    case Deviation:
    case RelativeDeviation:
        Suma += x.Number;
        SumaCtvercu += x.Number * x.Number;
        if (Pocet <= 1 || (Zpracovani == RelativeDeviation && Suma == 0))
            Hodnota.Clear();
        else
            Hodnota.Number = Zpracovani == Deviation ? deviation() : deviation() * Pocet / Suma;
        break;
    default:
        break;
    }
    if (!std::isfinite(Hodnota.Number))
        Hodnota.Clear();
}

QString TRadekFunkce::ValueText() const
{
    if (Typ == 0)
        return FloatToStrF(Hodnota.Number, FloatFormat(Format >= 0 && Format <= 4 ? Format : 2),
                           Sirka, Desetiny);
    if (Typ == 1)
        return Hodnota.Text;
    return {};
}

TRadekFunkce* TListFunkci::FunctionAt(int index) const
{
    return index >= 0 && index < Count() ? m_items[std::size_t(index)].get() : nullptr;
}

TRadekFunkce& TListFunkci::Add(std::unique_ptr<TRadekFunkce> function)
{
    m_items.push_back(std::move(function));
    return *m_items.back();
}

void TListFunkci::DeleteLast()
{
    if (!m_items.empty())
        m_items.pop_back();
}

void TListFunkci::ClearAll()
{
    while (!m_items.empty())
        DeleteLast();
}

void TListFunkci::RequestReset(int scope)
{
    for (const auto& f : m_items)
        f->RequestReset(scope);
}

void TListFunkci::CalculateAll()
{
    for (const auto& f : m_items)
        f->Calculate();
}

int TListFunkci::IndexOfName(const QString& name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (txt::sameTextAscii(m_items[std::size_t(i)]->Name, name))
            return i;
    }
    return -1;
}

QString TListFunkci::ReferenceText(int index) const
{
    const TRadekFunkce* f = FunctionAt(index);
    const QString number = (QString::number(index + 1) + QStringLiteral("  ")).left(3);
    return QLatin1Char('#') + number + (f ? f->Name : QString());
}

} // namespace reports
