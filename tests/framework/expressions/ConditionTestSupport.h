// Helpers of the expression, condition and selector tests: a stand-like element and evaluation of a text.
#pragma once

#include "framework/expressions/ConditionParser.h"
#include "framework/expressions/Operators.h"
#include "framework/values/TypedValues.h"
#include "platform/text/Numbers.h"

#include <QString>

#include <optional>

namespace condtest {

// An owner-aware container with one published property of each kind a property read maps.
class TTestStand : public TOwnerEntity
{
public:
    static TClass StaticClass()
    {
        using S = TTestStand;
        static const TClassInfo info = describeClass<S, TOwnerEntity>("TTestStand", [](PropertyTable<S>& t) {
            t.byte("Vek", &S::vek, [](S& s, quint8 v) { s.vek = v; })
                .integer("Plocha", &S::plocha, [](S& s, qint32 v) { s.plocha = v; })
                .boolean("Hospodarsky", &S::hospodarsky, [](S& s, bool v) { s.hospodarsky = v; })
                .enumeration("Kategorie", "TKategorie", {"katA", "katB"}, &S::kategorie,
                             [](S& s, int v) { s.kategorie = v; })
                .character("Znak", &S::znak, [](S& s, QChar v) { s.znak = v; })
                .floating("Zasoba", "Double", &S::zasoba, [](S& s, double v) { s.zasoba = v; })
                .string("Oznaceni", &S::oznaceni, [](S& s, const QString& v) { s.oznaceni = v; })
                .int64("Velke", &S::velke, [](S& s, qint64 v) { s.velke = v; });
        });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    quint8 vek = 0;
    qint32 plocha = 0;
    bool hospodarsky = false;
    int kategorie = 0;
    QChar znak = QLatin1Char('A');
    double zasoba = 0;
    QString oznaceni;
    qint64 velke = 0;
};

// One evaluated value: absent for "no value".
struct Value {
    TType kind = TType::_Other;
    QString text;     // AsString; floats in the general form with "."
    double number = 0;
};

// The tree TExpressionCreator builds for text.
inline Owned<TOperator> parse(const QString& text)
{
    auto creator = Create<TExpressionCreator>();
    creator->SetCommand(text);
    creator->Execute();
    return Owned<TOperator>(dynamic_cast<TOperator*>(creator->Output()));
}

// The condition TCondCreator builds for text (empty: no command).
inline Owned<TCondition> condition(const QString& text = QString())
{
    auto creator = Create<TCondCreator>();
    creator->SetCommand(text);
    creator->Execute();
    return Owned<TCondition>(dynamic_cast<TCondition*>(creator->Output()));
}

// Evaluates text once over current and releases everything.
inline std::optional<Value> evaluate(const QString& text, TPersistent* current = nullptr)
{
    const Owned<TOperator> tree = parse(text);
    tree->SetVariable(0, current);
    tree->Execute();
    std::optional<Value> result;
    if (const TTypeElement* value = tree->Value()) {
        result = Value{value->Typ(), value->GetAsString(), value->GetAsFloat()};
        if (value->Typ() == TType::_Float)
            result->text = txt::floatToStr(value->GetAsFloat(), QLatin1Char('.'));
    }
    tree->ClearResult();
    return result;
}

// The answer of a condition (TCondCreator, EvaluateBoolean) over current.
inline bool holds(const QString& text, TPersistent* current)
{
    const Owned<TCondition> tree = condition(text);
    tree->SetVariable(0, current);
    return tree->EvaluateBoolean();
}

} // namespace condtest
