// The summing recursor: one numeric property summed over an element and its subtree.
#pragma once

#include "framework/tools/Recursors.h"

#include <QString>

// Sums the property PropertaStr over Input and every element below it (TSumaPodleProperty).
// Elements without the property are skipped; a property text that is no number (global decimal
// separator) raises EConvertError to the caller of Execute. Suma is never reset.
class TSumaPodleProperty : public TRecursor
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool DescendTest(TElement*) override { return true; }
    bool PreTest(TElement*) override { return true; }
    void Action(TElement* element) override;

    const QString& PropertaStr() const { return m_propertaStr; }
    void SetPropertaStr(const QString& name) { m_propertaStr = name; }
    double Suma() const { return m_suma; }
    void SetSuma(double sum) { m_suma = sum; }

private:
    QString m_propertaStr;
    double m_suma = 0.0;
};
