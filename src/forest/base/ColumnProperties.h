// Column-property classes of the forest model, created only by class name.
#pragma once

#include "forest/base/LesniMnozina.h"

// Properties of one column (TVlastnosti): a colour, the class library's tooltip background
// system colour at creation, and a second word, 0 at creation. No published properties.
class TVlastnosti : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    quint32 Color() const { return m_color; }
    quint32 Value() const { return m_value; }

private:
    quint32 m_color = 0x80000018;
    quint32 m_value = 0;
};

// Properties of the columns (TVlastnostiSloupcu).
class TVlastnostiSloupcu : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// Set of TVlastnosti, prefix "VLAS".
class TVlastnostiMN : public TLesniMnozina
{
public:
    TVlastnostiMN() { setItems(TVlastnosti::StaticClass(), QStringLiteral("VLAS")); }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// Set of TVlastnostiSloupcu, prefix "SLOUP".
class TVlastnostiSloupcuMN : public TLesniMnozina
{
public:
    TVlastnostiSloupcuMN() { setItems(TVlastnostiSloupcu::StaticClass(), QStringLiteral("SLOUP")); }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};
