// A sample unit of old 160-character LHP records written from the stands of a loaded unit.
#include "tools/oldlhp/OldLhpSampleWriter.h"

#include "app/sources/LesniCelek.h"
#include "app/sources/oldlhp/UnivStareLHP.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/Exceptions.h"
#include "platform/text/Cp1250.h"

#include <QDir>
#include <QFile>

#include <cmath>

namespace samples {

namespace {

// A record being built: fields written right-aligned into their columns.
class Record
{
public:
    Record() : m_bytes(TUnivStareLHP::RecordLength, ' ') {}
    void set(int field, const QString& text)
    {
        const int width = TUnivStareLHP::fieldWidth(field);
        const QByteArray bytes = Cp1250::encode(text.right(width)).rightJustified(width, ' ');
        m_bytes.replace(TUnivStareLHP::fieldStart(field) - 1, width, bytes);
    }
    void set(int field, qint64 number) { set(field, QString::number(number)); }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

template<class T>
QList<T*> items(TEntity* set)
{
    QList<T*> out;
    for (int i = 0; set && i < set->Count(); ++i)
        if (auto* item = dynamic_cast<T*>(set->Items(i)))
            out << item;
    return out;
}

qint64 hundredths(TElement* e, const char* property)
{
    return std::llround(e->GetPropAsString(QString::fromLatin1(property)).replace(',', '.').toDouble() * 100.0);
}

// The stand-text record of a sub-compartment: string 2 describes it.
QByteArray standTexts(const QString& description)
{
    QByteArray out;
    for (int i = 1; i <= TUnivStareLHP::TlhStrings; ++i) {
        const QByteArray text = i == 2 ? Cp1250::encode(description).left(TUnivStareLHP::TlhStringLength) : QByteArray();
        out += char(text.size());
        out += text.leftJustified(TUnivStareLHP::TlhStringLength, ' ');
    }
    return out;
}

struct Output {
    QByteArray records;
    QByteArray texts;
    int lastKey = -1;
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) < 0)
        throw EFileError(QStringLiteral("Nelze zapsat soubor \"%1\"").arg(path));
}

void addStorey(TLHC* header, TOddeleni* odd, TDilec* dil, TPorost* stand, TPorostniSkupina* group, TEtaz* storey,
               Output& out)
{
    const QString code = QString::number(header->LHC_KOD()).rightJustified(6, '0');
    for (TDrevina* d : items<TDrevina>(storey->DrevinaMN())) {
        Record r;
        r.set(1, header->LHC_NAZ().left(5));
        r.set(2, code.mid(0, 1));
        r.set(3, code.mid(1, 2));
        r.set(4, code.mid(3, 2));
        r.set(5, code.mid(5, 1));
        r.set(6, stand->GetPropAsString("ORG_UROVEN1"));
        r.set(7, odd->ODD());
        r.set(8, dil->DIL());
        r.set(9, QStringLiteral("10"));
        const qint32 owner = stand->GetPropAsInteger("MAJ_KOD");
        r.set(10, stand->GetPropAsInteger("MAJ_DRUH") * 100 + owner % 100);
        r.set(31, owner / 100);
        r.set(14, stand->GetPropAsString("PAS_OHR"));
        r.set(16, group->GetPropAsString("PSK").trimmed());
        r.set(17, hundredths(group, "PSK_P"));
        r.set(18, storey->GetPropAsInteger("VEK"));
        const qint32 hs = storey->GetPropAsInteger("HS");
        r.set(19, hs % 1000);
        r.set(59, hs / 1000);
        r.set(20, storey->GetPropAsInteger("OBMYTI") * 100 + storey->GetPropAsInteger("OBN_DOBA"));
        r.set(21, group->GetPropAsString("LT"));
        r.set(22, storey->GetPropAsInteger("ZAKM"));
        r.set(23, d->GetPropAsString("DR_ZKR"));
        r.set(24, d->GetPropAsInteger("ZAST"));
        r.set(26, d->GetPropAsInteger("VYSKA"));
        r.set(27, d->GetPropAsInteger("TLOUSTKA"));
        r.set(28, d->GetPropAsString("GEN_KLAS"));   // the old format's class and site column
        r.set(32, d->GetPropAsInteger("DR_ZAS_CEL"));
        r.set(40, d->GetPropAsInteger("DR_TO"));
        r.set(64, stand->GetPropAsString("ORG_UROVEN2"));
        out.records += r.bytes() + "\r\n";
        const int key = odd->ODD() * 100 + static_cast<unsigned char>(Cp1250::encodeChar(dil->DIL().at(0)));
        if (key != out.lastKey) {
            out.texts += standTexts(QStringLiteral("Dílec %1%2").arg(odd->ODD()).arg(dil->DIL()));
            out.lastKey = key;
        }
    }
}

} // namespace

void writeOldLhpUnit(TLesniCelek& unit, const QString& outDir)
{
    QDir().mkpath(outDir);
    std::array<Output, 2> files;
    unit.ReloadCompartments();
    TLHC* header = unit.LHC();
    const int total = int(unit.CompartmentList().size());
    int index = 0;
    for (int guard = 0; guard < 100000; ++guard) {
        if (TOddeleni* odd = header->Oddeleni()) {
            // The first half goes to file 01, the rest to 03; the middle compartment is split.
            const bool middle = index == total / 2;
            int records = 0;
            for (TDilec* dil : items<TDilec>(odd->DilecMN()))
                for (TPorost* stand : items<TPorost>(dil->PorostMN()))
                    for (TPorostniSkupina* group : items<TPorostniSkupina>(stand->PorostniSkupinaMN()))
                        for (TEtaz* storey : items<TEtaz>(group->EtazMN())) {
                            const size_t file = index < total / 2 || (middle && records == 0) ? 0 : 1;
                            addStorey(header, odd, dil, stand, group, storey, files[file]);
                            ++records;
                        }
            ++index;
        }
        if (unit.EndOfData())
            break;
        unit.LoadNextCompartment(false);
    }
    const QString base = outDir + QLatin1Char('/') + QString::number(header->LHC_KOD());
    writeFile(base + QStringLiteral(".01V"), files[0].records);
    writeFile(outDir + QLatin1Char('/') + QString::number(header->LHC_KOD()) + QStringLiteral("01.tlh"), files[0].texts);
    writeFile(base + QStringLiteral(".03V"), files[1].records);
    writeFile(outDir + QLatin1Char('/') + QString::number(header->LHC_KOD()) + QStringLiteral("03.tlh"), files[1].texts);
}

void writeOldLhpSamples(const QString& programDir)
{
    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    const QString data = programDir + QStringLiteral("/vzorky/vex97/DATA");
    unit->setProgramDir(programDir);
    unit->setSource(app::createSource(SourceKinds::Vex97, {data, programDir}));
    unit->LoadHeader();
    writeOldLhpUnit(*unit, programDir + QStringLiteral("/vzorky/lhp160"));
}

} // namespace samples
