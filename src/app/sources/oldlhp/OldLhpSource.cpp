// The forest-unit source over old LHP record files <LHC>.<NN>V with their stand texts.
#include "app/sources/oldlhp/OldLhpSource.h"

#include "app/sources/LesniCelek.h"
#include "app/sources/oldlhp/LhpLoader.h"
#include "app/sources/oldlhp/UnivStareLHP.h"
#include "forest/base/ForestSetRoutines.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/base/TextUtilities.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "platform/files/Files.h"
#include "platform/text/Numbers.h"

#include <QDir>

namespace oldlhp {

namespace {

QString directoryOf(TLesniCelek& unit, const app::SourceContext& context)
{
    return unit.adresarObecnychDatLHP().isEmpty() ? context.directory : unit.adresarObecnychDatLHP();
}

} // namespace

bool SplitLhpFileName(const QString& name, qint32& a, qint32& b)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString second = name.mid(dot + 1);
    return txt::tryStrToInt(name.left(dot), a) && !second.isEmpty() && txt::tryStrToInt(second.chopped(1), b);
}

OldLhpSource::OldLhpSource(app::SourceContext context) : m_context(std::move(context)) {}

OldLhpSource::~OldLhpSource() = default;

quint8 OldLhpSource::kind() const
{
    return SourceKinds::OldLhpRecords;
}

void OldLhpSource::markSource(TLesniCelek& unit)
{
    unit.SetJakBylNacten(QStringLiteral("LHP160"));
    unit.LHC()->SetPropAsBoolean(QStringLiteral("VerzeProPark"), false);
}


// The unit's record files by number, as the directory holds them; the unit is the header's
// LHC_KOD, or the first valid file's when the header has none.
void OldLhpSource::scanFiles(TLesniCelek& unit)
{
    m_files.clear();
    const QString dir = files::resolvePath(directoryOf(unit, m_context));
    qint32 unitNumber = unit.LHC()->LHC_KOD();
    for (const QString& name : files::findFiles(dir + QStringLiteral("/*.*V"))) {
        qint32 a = 0;
        qint32 b = 0;
        if (!SplitLhpFileName(name, a, b))
            continue;
        if (unitNumber == 0)
            unitNumber = a;
        if (a == unitNumber && !m_files.contains(b))
            m_files.insert(b, QDir(dir).filePath(name));
    }
}

QStringList OldLhpSource::buildCompartmentList(TLesniCelek& unit)
{
    if (m_listed)
        m_faultLog.rearm();
    m_listed = true;
    scanFiles(unit);
    m_fileOfCompartment.clear();
    QStringList list;
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
        TUnivStareLHP reader;
        reader.SetFaultLog(&m_faultLog);
        reader.SetFileName(it.value());
        reader.Open();
        qint32 previous = -1;   // a record of the previous record's compartment is listed already
        for (; !reader.Eof(); reader.Next()) {
            const qint32 number = reader.Number(7);
            if (number == previous)
                continue;
            previous = number;
            // A compartment is listed once, with the first file that holds it.
            const QString key = PadLeft(QString::number(number), 3, QLatin1Char(' '));
            if (!m_fileOfCompartment.contains(key)) {
                list.append(key);
                m_fileOfCompartment.insert(key, it.key());
            }
        }
    }
    list.sort();
    m_list = list;
    return list;
}

void OldLhpSource::loadHeader(TLesniCelek& unit)
{
    markSource(unit);
}

bool OldLhpSource::loadFirstCompartment(TLesniCelek& unit)
{
    markSource(unit);
    scanFiles(unit);
    m_reader = std::make_unique<TUnivStareLHP>();
    if (m_files.isEmpty())
        return false;
    QStringList names = m_files.values();
    m_reader->SetFaultLog(&m_faultLog);
    m_reader->SetFileName(names.takeFirst());
    m_reader->SetFollowingFiles(names);
    m_reader->Open();
    if (m_reader->Eof())
        return false;
    LoadLhcHeaderFromCodebook(unit.LHC(), *m_reader, m_context.programDir.isEmpty() ? unit.programDir()
                                                                                     : m_context.programDir);
    return loadCompartment(unit);
}

bool OldLhpSource::endOfData() const
{
    return !m_reader || m_reader->Eof();
}

bool OldLhpSource::loadNextCompartment(TLesniCelek& unit)
{
    return loadCompartment(unit);
}

bool OldLhpSource::loadCompartment(TLesniCelek& unit)
{
    if (endOfData())
        return false;   // nothing after the end, and nothing said
    TUnivStareLHP& r = *m_reader;
    Owned<TOddeleni> compartment = Create<TOddeleni>();
    compartment->SetName(r.D(7));
    compartment->SetODD(DigitsToInt(r.D(7)));
    TOddeleni* odd = compartment.get();
    unit.LHC()->OddeleniMN()->Add(compartment.release());
    LoadCompartmentFromLhp(odd, r);
    SelectFirstElements(odd);
    return true;
}

std::unique_ptr<app::Source> createOldLhpSource(const app::SourceContext& context)
{
    return std::make_unique<OldLhpSource>(context);
}

} // namespace oldlhp
