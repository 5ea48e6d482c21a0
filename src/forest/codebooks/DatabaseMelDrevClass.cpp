// The view of the species-mixture codebook, with the mixture and forest types joined by "&".
#include "forest/codebooks/DatabaseMelDrevClass.h"

#include "platform/db/DataSet.h"
#include "platform/text/Case.h"

TClass TDatabaseMel_DrevClass::StaticClass()
{
    using M = TDatabaseMel_DrevClass;
    static const TClassInfo info = describeClass<M, TDatabaseClass>("TDatabaseMel_DrevClass", [](PropertyTable<M>& t) {
        t.string("DR_ZKR", &M::DR_ZKR, nullptr).string("LT_SLT", &M::LT_SLT, nullptr);
    });
    return &info;
}

QString TDatabaseMel_DrevClass::columnText(const QString& field) const
{
    if (!OpenDataSource() || !DataSet())
        return {};
    const db::Field* f = DataSet()->FindField(field);
    return f ? f->AsString() : QString();
}

QString TDatabaseMel_DrevClass::DR_ZKR() const
{
    QString result = columnText(QStringLiteral("Mel_DR1"));
    for (int i = 2; i <= 10; ++i) {
        const QString text = columnText(QStringLiteral("Mel_DR") + QString::number(i));
        if (!txt::trim(text).isEmpty())
            result += QLatin1Char('&') + text;
    }
    return result;
}

QString TDatabaseMel_DrevClass::LT_SLT() const
{
    QString s = txt::trim(columnText(QStringLiteral("LT")));
    s.chop(1);
    s = txt::trim(s);
    const QString twoBlanks = QStringLiteral("  ");
    while (s.contains(twoBlanks))
        s.remove(s.indexOf(twoBlanks), 1);
    s.replace(QLatin1Char(' '), QLatin1Char('&'));
    return s;
}
