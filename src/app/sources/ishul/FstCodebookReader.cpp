// Reader of the IS HÚL interchange codebook files (Cis_051.FST to Cis_055.FST).
#include "app/sources/ishul/FstCodebookReader.h"

#include "framework/core/ClassRegistry.h"
#include "framework/values/TypedValues.h"
#include "platform/text/Case.h"
#include "platform/text/Cp1250.h"
#include "platform/text/Numbers.h"

#include <QFile>

namespace {

constexpr int MaxColumns = 2000;

} // namespace

TClass TPrenasecZeStandarduCiselnik::StaticClass()
{
    using P = TPrenasecZeStandarduCiselnik;
    static const TClassInfo info = describeClass<P, TOwnerEntity>("TPrenasecZeStandarduCiselnik", [](PropertyTable<P>& t) {
        t.string("JmenoCiselniku", &P::JmenoCiselniku, nullptr)
            .string("OddelovacPropert", &P::OddelovacPropert, nullptr)
            .integer("PocetHodnotHlavicky", &P::PocetHodnotHlavicky, nullptr)
            .integer("PocetDatovychRadku", &P::PocetDatovychRadku, nullptr)
            .integer("CisloNactenehoRadku", &P::CisloNactenehoRadku, nullptr)
            .object<TStringListElement>("NosicHlavicka", &P::NosicHlavicka, nullptr)
            .string("CtenyStr", &P::CtenyStr, nullptr)
            .boolean("Konec", &P::Konec, nullptr);
    });
    return &info;
}

TPrenasecZeStandarduCiselnik::~TPrenasecZeStandarduCiselnik()
{
    if (m_faults != &m_ownFaults)
        return;   // the log keeps them for the file's next reader
    try {
        m_faults->report(m_fileName);
    } catch (...) {   // NOLINT(bugprone-empty-catch): a destructor never throws
    }
}

Owned<TPrenasecZeStandarduCiselnik> TPrenasecZeStandarduCiselnik::CreateOn(const QString& fileName, FaultLog* log)
{
    Owned<TPrenasecZeStandarduCiselnik> reader = Create<TPrenasecZeStandarduCiselnik>();
    reader->Open(fileName, log);
    return reader;
}

TStringListElement* TPrenasecZeStandarduCiselnik::NosicHlavicka()
{
    if (!m_carrier) {
        TStringListElement* carrier = AddNew<TStringListElement>();
        carrier->SetName(QStringLiteral("NosicHlavicka"));
        m_carrier = carrier;
    }
    return m_carrier.get();
}

void TPrenasecZeStandarduCiselnik::Open(const QString& fileName, FaultLog* log)
{
    m_fileName = fileName;
    m_faults = log ? &log->of(fileName) : &m_ownFaults;
    NosicHlavicka();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_atEnd = true;
        return;
    }
    if (file.size() > MaxFileSize) {
        m_lineNo = 1;
        return headerFault(QStringLiteral("soubor je větší než 64 MB"));
    }
    m_data = file.readAll();
    readHeader();
}

bool TPrenasecZeStandarduCiselnik::nextLine(QByteArray& line)
{
    if (m_pos >= m_data.size())
        return false;
    qsizetype end = m_pos;
    while (end < m_data.size() && m_data[end] != '\r' && m_data[end] != '\n')
        ++end;
    line = m_data.mid(m_pos, end - m_pos);
    m_lineEnded = end < m_data.size();
    if (end < m_data.size() && m_data[end] == '\r' && end + 1 < m_data.size() && m_data[end + 1] == '\n')
        ++end;
    m_pos = end + 1;
    ++m_lineNo;
    return true;
}

void TPrenasecZeStandarduCiselnik::headerFault(const QString& what)
{
    m_atEnd = true;
    m_recordCount = -1;
    m_faults->add(FileFault::CodebookHeader, m_lineNo, what);
    m_faults->report(m_fileName);
}

void TPrenasecZeStandarduCiselnik::readHeader()
{
    QByteArray line;
    const QString ends = QStringLiteral("soubor končí v hlavičce");
    if (!nextLine(line)) {
        m_lineNo = 1;   // an empty file: its header ends before it begins
        return headerFault(ends);
    }
    m_name = Cp1250::decode(line);
    if (!nextLine(line))
        return headerFault(ends);
    qint32 n = 0;
    if (!txt::tryStrToInt(Cp1250::decode(line), n))
        return headerFault(QStringLiteral("počet sloupců není číslo"));
    if (n <= 0 || n > MaxColumns)
        return headerFault(QStringLiteral("počet sloupců %1").arg(n));
    TStringListElement* carrier = NosicHlavicka();
    for (int i = 0; i < n; ++i) {
        if (!nextLine(line))
            return headerFault(ends);
        carrier->AddNameValue(txt::upperAscii(Cp1250::decode(line)), QString());
    }
    m_columnCount = n;
    if (!nextLine(line))
        return headerFault(ends);
    if (line.isEmpty())
        return headerFault(QStringLiteral("chybí oddělovač hodnot"));
    m_separatorByte = line[0];
    m_separator = Cp1250::decode(line.left(1));
    if (!nextLine(line))
        return headerFault(ends);
    if (!txt::tryStrToInt(Cp1250::decode(line), m_recordCount))
        return headerFault(QStringLiteral("počet záznamů není číslo"));
}

void TPrenasecZeStandarduCiselnik::ReadRecord()
{
    ++m_readCount;
    if (Konec()) {
        m_faults->report(m_fileName);   // the announced records are read: the counts are complete
        return;
    }
    QByteArray line;
    if (!nextLine(line)) {
        m_atEnd = true;
        if (m_readCount <= m_recordCount)
            m_faults->add(FileFault::FewerRecords, m_lineNo + 1, QString::number(m_recordCount));
        m_faults->report(m_fileName);
        return;
    }
    if (!m_lineEnded && line.count(m_separatorByte) + 1 != m_columnCount) {
        // The file ends inside this record with values missing. A last line that has all of
        // them is a record whose writer omitted the final line end.
        m_atEnd = true;
        m_faults->add(FileFault::CutRecord, m_lineNo);
        m_faults->report(m_fileName);
        return;
    }
    const QList<QByteArray> parts = line.split(m_separatorByte);
    const QString text = Cp1250::decode(line);
    qsizetype at = 0;
    for (int i = 0; i < m_columnCount; ++i) {
        const qsizetype length = i < parts.size() ? parts[i].size() : 0;
        m_carrier->SetValueAt(i, i < parts.size() ? text.mid(at, length) : QString());
        at += length + 1;
    }
    if (parts.size() != m_columnCount) {
        const qsizetype last = qMin<qsizetype>(parts.size(), m_columnCount) - 1;
        m_faults->add(FileFault::CodebookLineLength, m_lineNo, last >= 0 ? Cp1250::decode(parts[last]) : QString());
    }
    m_lastValue = m_carrier->ValueAt(m_columnCount - 1);
}
