// Reader of the IS HÚL interchange data files (*.FST): header, records, known columns.
#include "app/sources/ishul/FstDataReader.h"

#include "forest/base/TextUtilities.h"
#include "framework/core/ClassRegistry.h"
#include "framework/values/TypedValues.h"
#include "platform/text/Case.h"
#include "platform/text/Cp1250.h"
#include "platform/text/Numbers.h"

#include <algorithm>

namespace {

constexpr int MaxHeaderLine = 4096;
constexpr int CR = '\r';
constexpr int LF = '\n';

bool hasDigit(const QByteArray& bytes)
{
    for (const char c : bytes)
        if (c >= '0' && c <= '9')
            return true;
    return false;
}

// Whether a text is the decoding of these bytes (one character per byte).
bool isSameText(QStringView text, QByteArrayView bytes)
{
    if (text.size() != bytes.size())
        return false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const QChar c = byte < 0x80 ? QChar(byte) : Cp1250::decodeChar(byte);
        if (text[i] != c)
            return false;
    }
    return true;
}

} // namespace

const std::array<const char*, TPrenasecZeStandarduData::KnownColumnCount>& TPrenasecZeStandarduData::knownColumnNames()
{
    static const std::array<const char*, KnownColumnCount> names = {
        "LHC_KOD", "LHC_NAZ", "LHP_OD", "LHP_DO", "ETAT_TV", "ETAT_TO", "ETAT", "ODD", "DIL", "POR",
        "SDR_POR", "MAJ_KOD", "MAJ_NAZ", "MAJ_DRUH", "ORG_UROVEN", "KATEGORIE", "KAT_SPEC", "PAS_OHR",
        "LES_OBL", "ZVL_STATUT", "OLH", "POR_TEXT", "PSK", "PSK_P0", "PSK_V", "PSK_P", "KVAL_P", "KU_KOD",
        "KU_NAZ", "LES_URAD", "SLT", "LT", "TER_TYP", "PRIB_VZD", "HOSP_ZP", "DAN", "PSK_TEXT", "ETAZ",
        "ETAZ_PS", "ETAZ_PP", "HS", "OBMYTI", "OBN_DOBA", "POC_OBNOVY", "MZD", "VEK", "ZAKM", "M_Z_ZASOBY",
        "HOSP_TV", "PRO_P", "PRO_NAL", "PRO_POC", "TV_P", "TV_NAL", "TV_POC", "TO_P", "TO_NAL", "TO_DUVOD",
        "ZAL_DRUH", "ZAL_P", "ZAL_DR", "ZAL_DR_P", "DR_ZKR", "DR_KOD", "DR_PUVOD", "ZAST", "VYSKA",
        "TLOUSTKA", "BON_A", "BON_R", "GEN_KLAS", "VYB_STR", "DR_ZAS_HA", "DR_ZAS_CEL", "DR_KVAL", "IMISE",
        "HMOT", "DR_TV", "DR_TO", "POSKOZ_D", "POSKOZ_R", "PROC_SOUS", "BZL", "BZL_P0", "BZL_V", "BZL_P",
        "BZL_VYUZ", "JP", "JP_PUPFL", "JP_P0", "JP_V", "JP_P", "DRUH_POZ", "JP_VYUZ", "JP_DRUH", "BZL_DRUH",
        "DR_TVYB", "TO_ZPUSOB", "TVYB_P", "TVYB_NAL", "ETAT_TVYB", "LHP_Z_OD", "LHP_Z_DO", "LHP_Z_TAX",
        "LHP_TAX", "TEZ_PROC", "NOR_PAS", "LHC_PN_PRO", "LHC_IND", "LHC_MAX", "KAT_PAR_KOD", "PROC_HS",
        "LHC_LIC", "LHP_Z_LIC", "M_TEZ_PROC", "ODVOZ_TEZ", "OLH_LIC", "MVYCH_DO40",
    };
    return names;
}

TClass TPrenasecZeStandarduData::StaticClass()
{
    using P = TPrenasecZeStandarduData;
    static const TClassInfo info = describeClass<P, TOwnerEntity>("TPrenasecZeStandarduData", [](PropertyTable<P>& t) {
        t.integer("CisloOddeleni", &P::CisloOddeleni, nullptr)
            .string("OddelovacPropert", &P::OddelovacPropert, &P::SetOddelovacPropert)
            .string("OddelovacMeziNasobnymiHodnotami", &P::OddelovacMeziNasobnymiHodnotami,
                    &P::SetOddelovacMeziNasobnymiHodnotami)
            .integer("PocetHodnotHlavicky", &P::PocetHodnotHlavicky, nullptr)
            .integer("PocetDatovychRadku", &P::PocetDatovychRadku, nullptr)
            .integer("CisloNactenehoRadku", &P::CisloNactenehoRadku, &P::SetCisloNactenehoRadku)
            .object<TStringListElement>("NosicHlavicka", &P::NosicHlavicka, nullptr)
            .string("CtenyStr", &P::CtenyStr, nullptr)
            .integer("SeekRadku", [](P& p) { return static_cast<qint32>(p.SeekRadku()); }, nullptr)
            .boolean("cistJenPoODD", &P::cistJenPoODD, &P::SetcistJenPoODD)
            .boolean("konecJenDleRadku", &P::konecJenDleRadku, &P::SetkonecJenDleRadku)
            .boolean("Konec", &P::Konec, nullptr);
    });
    return &info;
}

TPrenasecZeStandarduData::TPrenasecZeStandarduData()
{
    m_known.fill(-1);
}

TPrenasecZeStandarduData::~TPrenasecZeStandarduData()
{
    if (m_faults != &m_ownFaults)
        return;   // the log keeps them for the file's next reader
    try {
        ReportFaults();
    } catch (...) {   // NOLINT(bugprone-empty-catch): a destructor never throws
    }
}

Owned<TPrenasecZeStandarduData> TPrenasecZeStandarduData::CreateOn(const QString& fileName, FaultLog* log)
{
    Owned<TPrenasecZeStandarduData> reader = Create<TPrenasecZeStandarduData>();
    reader->Open(fileName, log);
    return reader;
}

TStringListElement* TPrenasecZeStandarduData::NosicHlavicka()
{
    if (!m_carrier) {
        TStringListElement* carrier = AddNew<TStringListElement>();
        carrier->SetName(QStringLiteral("NosicHlavicka"));
        m_carrier = carrier;
    }
    return m_carrier.get();
}

void TPrenasecZeStandarduData::Open(const QString& fileName, FaultLog* log)
{
    m_fileName = fileName;
    m_faults = log ? &log->of(fileName) : &m_ownFaults;
    m_file.setFileName(fileName);
    m_buffer.resize(BufferSize);
    NosicHlavicka();
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_columnCount = 0;
        m_recordCount = -1;
        m_atEnd = true;
        return;
    }
    m_size = m_file.size();
    FillBuffer();
    readHeader();
}

void TPrenasecZeStandarduData::FillBuffer()
{
    m_bufferStart = m_file.isOpen() ? m_file.pos() : 0;
    m_index = 0;
    const qint64 got = m_file.isOpen() ? m_file.read(m_buffer.data(), BufferSize) : 0;
    m_filled = got > 0 ? static_cast<int>(got) : 0;
}

int TPrenasecZeStandarduData::peekByte()
{
    if (m_index >= m_filled) {
        if (m_filled < BufferSize)
            return -1;
        FillBuffer();
        if (m_index >= m_filled)
            return -1;
    }
    return static_cast<unsigned char>(m_buffer.constData()[m_index]);
}

int TPrenasecZeStandarduData::readByte()
{
    const int c = peekByte();
    if (c >= 0)
        ++m_index;
    return c;
}

bool TPrenasecZeStandarduData::readHeaderLine(QByteArray& line)
{
    line.clear();
    int c = readByte();
    if (c < 0)
        return false;
    while (c >= 0 && c != CR && c != LF) {
        if (line.size() < MaxHeaderLine)
            line.append(static_cast<char>(c));
        c = readByte();
    }
    if (c == CR && peekByte() == LF)
        readByte();
    ++m_lineNo;
    return true;
}

void TPrenasecZeStandarduData::headerFault(int line, const QString& what)
{
    m_headerFailed = true;
    m_atEnd = true;
    m_faults->add(FileFault::Header, line, what);
    ReportFaults();
}

void TPrenasecZeStandarduData::readHeader()
{
    QByteArray line;
    // A line that is not there is the one the file lacks; a faulty one is the line just read.
    const QString ends = QStringLiteral("soubor končí v hlavičce");
    if (!readHeaderLine(line)) {
        m_recordCount = -1;   // an empty file: its header ends before it begins
        return headerFault(m_lineNo, ends);
    }
    if (line.isEmpty())
        return headerFault(m_lineNo - 1, QStringLiteral("chybí oddělovač hodnot"));
    m_separatorByte = line[0];
    m_separator = Cp1250::decode(line.left(1));
    if (!readHeaderLine(line))
        return headerFault(m_lineNo, ends);
    if (line.isEmpty())
        return headerFault(m_lineNo - 1, QStringLiteral("chybí oddělovač násobných hodnot"));
    m_multiSeparator = Cp1250::decode(line.left(1));
    if (!readHeaderLine(line))
        return headerFault(m_lineNo, ends);
    if (!hasDigit(line))
        return headerFault(m_lineNo - 1, QStringLiteral("počet sloupců není číslo"));
    const qint32 n = DigitsToInt(Cp1250::decode(line));
    if (n <= 0 || n > MaxColumns)
        return headerFault(m_lineNo - 1, QStringLiteral("počet sloupců %1").arg(n));
    TStringListElement* carrier = NosicHlavicka();
    for (int i = 0; i < n; ++i) {
        if (!readHeaderLine(line))
            return headerFault(m_lineNo, ends);
        if (line.isEmpty())
            return headerFault(m_lineNo - 1, QStringLiteral("prázdné jméno sloupce"));
        carrier->AddNameValue(txt::upperAscii(Cp1250::decode(line)), QString());
    }
    m_columnCount = n;
    if (!readHeaderLine(line))
        return headerFault(m_lineNo, ends);
    if (!hasDigit(line))
        return headerFault(m_lineNo - 1, QStringLiteral("počet záznamů není číslo"));
    m_recordCount = DigitsToInt(Cp1250::decode(line));
    fillKnownColumns();
}

void TPrenasecZeStandarduData::fillKnownColumns()
{
    TStringListElement* carrier = NosicHlavicka();
    const auto& names = knownColumnNames();
    for (int k = 0; k < KnownColumnCount; ++k) {
        m_known[static_cast<size_t>(k)] = -1;
        const QString name = QString::fromLatin1(names[static_cast<size_t>(k)]);
        for (int i = 0; i < carrier->Count(); ++i) {
            if (carrier->NameAt(i) == name) {
                m_known[static_cast<size_t>(k)] = i;
                break;
            }
        }
    }
}

int TPrenasecZeStandarduData::KnownColumnPosition(int index) const
{
    if (index < 0 || index >= KnownColumnCount)
        return -1;
    return m_known[static_cast<size_t>(index)];
}

QString TPrenasecZeStandarduData::KnownColumnValue(int index) const
{
    const int pos = KnownColumnPosition(index);
    if (pos < 0 || !m_carrier)
        return QString();
    const TStringListElement* carrier = m_carrier.get();
    const TElement* item = carrier->Items(pos);
    if (item && item->ClassType() == TStringElement::StaticClass())
        return static_cast<const TStringElement*>(item)->GetAsString();
    return carrier->ValueAt(pos);
}

const QString* TPrenasecZeStandarduData::KnownColumnText(int index) const
{
    const int pos = KnownColumnPosition(index);
    if (pos < 0 || !m_carrier)
        return nullptr;
    const TElement* item = m_carrier.get()->Items(pos);
    if (item && item->ClassType() == TStringElement::StaticClass())
        return &static_cast<const TStringElement*>(item)->StringValue();
    return nullptr;
}

bool TPrenasecZeStandarduData::Konec() const
{
    return m_atEnd || m_headerFailed || m_readCount > m_recordCount;
}

qint32 TPrenasecZeStandarduData::CisloOddeleni() const
{
    if (Konec())
        return 32000;
    qint32 number = 0;
    if (!txt::tryStrToInt(RemoveSpacesOrZero(KnownColumnValue(kcODD)), number))
        return 0;
    return number;
}

bool TPrenasecZeStandarduData::skipToLineEnd(int c)
{
    while (c >= 0 && c != CR && c != LF) {
        // The rest of the line inside the buffer in one run.
        const char* data = m_buffer.constData();
        while (m_index < m_filled && data[m_index] != CR && data[m_index] != LF)
            ++m_index;
        c = readByte();
    }
    if (c == CR && peekByte() == LF)
        readByte();
    return c >= 0;
}

// One line of values: bytes kept per value up to MaxValueLength, spans recorded for at most
// N values (onlyOdd: only the ODD column's value, then the rest of the line is skipped).
bool TPrenasecZeStandarduData::scanLine(bool onlyOdd, bool& tooMany, bool& cut, bool& ended)
{
    m_line.resize(0);   // keeps the capacity for the next line
    m_spans.clear();
    tooMany = false;
    cut = false;
    ended = false;
    int c = readByte();
    if (c < 0)
        return false;
    const int oddColumn = m_known[kcODD];
    const char separator = m_separatorByte;
    const auto isValueEnd = [separator](char b) { return b == CR || b == LF || b == separator; };
    int column = 0;
    int start = 0;
    while (true) {
        if (c < 0 || c == CR || c == LF || static_cast<char>(c) == m_separatorByte) {
            if (column < m_columnCount)
                m_spans.emplace_back(start, static_cast<int>(m_line.size()) - start);
            else
                tooMany = true;
            ++column;
            if (c < 0 || c == CR || c == LF)
                break;
            if (onlyOdd && column > oddColumn) {
                ended = skipToLineEnd(readByte());
                ++m_lineNo;
                return true;
            }
            start = static_cast<int>(m_line.size());
        } else {
            // The rest of the value inside the buffer in one run (c is the byte before m_index).
            const char* data = m_buffer.constData();
            const int from = m_index - 1;
            int end = m_index;
            while (end < m_filled && !isValueEnd(data[end]))
                ++end;
            m_index = end;
            if (column < m_columnCount && (!onlyOdd || column == oddColumn)) {
                const int room = MaxValueLength - (static_cast<int>(m_line.size()) - start);
                const int run = end - from;
                m_line.append(data + from, std::min(run, room));
                if (run > room)
                    cut = true;
            }
        }
        c = readByte();
    }
    ended = c >= 0;
    if (c == CR && peekByte() == LF)
        readByte();
    ++m_lineNo;
    return true;
}

bool TPrenasecZeStandarduData::restIsBlank()
{
    const qint64 start = position();
    bool blank = true;
    for (int c = readByte(); c >= 0; c = readByte()) {
        if (c != CR && c != LF && c != ' ' && c != '\t') {
            blank = false;
            break;
        }
    }
    if (!blank) {
        m_file.seek(start);
        FillBuffer();
    }
    return blank;
}

// A writer may omit the line end after the last record: that line is a record when it has
// all the header's values (the fast pass skipped past ODD, so it reads the line once more).
bool TPrenasecZeStandarduData::lastLineIsWhole(int line, bool& tooMany, bool& cut)
{
    if (m_onlyToOdd) {
        m_file.seek(m_recordOffset);
        FillBuffer();
        m_lineNo = line;
        bool ended = false;
        if (!scanLine(false, tooMany, cut, ended))
            return false;
    }
    return !tooMany && static_cast<int>(m_spans.size()) == m_columnCount;
}

void TPrenasecZeStandarduData::reachEnd(bool cutRecord)
{
    if (m_atEnd)
        return;
    m_atEnd = true;
    if (m_onlyToOdd)
        return;   // the fast pass reports nothing; the reading pass finds the same
    if (cutRecord)
        m_faults->add(FileFault::CutRecord, m_recordLine);
    else if (m_readCount <= m_recordCount)
        m_faults->add(FileFault::FewerRecords, m_lineNo, QString::number(m_recordCount));
    else
        checkTrailingLines();
    ReportFaults();
}

// After the announced records: anything but blanks and line ends is reported.
void TPrenasecZeStandarduData::checkTrailingLines()
{
    int c = readByte();
    int line = m_lineNo;
    while (c >= 0) {
        if (c == LF || c == CR) {
            if (c == CR && peekByte() == LF)
                readByte();
            ++line;
        } else if (c != ' ' && c != '\t') {
            m_faults->add(FileFault::ExtraLines, line, QString::number(m_recordCount));
            return;
        }
        c = readByte();
    }
}

void TPrenasecZeStandarduData::ReadRecord()
{
    while (true) {
        m_recordOffset = position();
        ++m_readCount;
        if (m_atEnd || m_headerFailed)
            return;
        if (m_readCount > m_recordCount)
            return reachEnd();
        const int line = m_lineNo;
        bool tooMany = false;
        bool cut = false;
        bool ended = false;
        if (!scanLine(m_onlyToOdd, tooMany, cut, ended))
            return reachEnd();
        if (m_line.isEmpty() && m_spans.size() <= 1 && !tooMany && m_columnCount > 1 && restIsBlank())
            return reachEnd();   // empty lines at the end of the file are no records
        m_recordLine = line;
        if (!ended && !lastLineIsWhole(line, tooMany, cut))
            return reachEnd(true);   // the file ends inside this record: it is not used
        if (m_onlyToOdd) {
            const int odd = m_known[kcODD];
            if (odd >= 0 && static_cast<size_t>(odd) < m_spans.size()) {
                const auto& span = m_spans[static_cast<size_t>(odd)];
                m_carrier->SetValueAt(odd, Cp1250::decode(QByteArrayView(m_line).sliced(span.first, span.second)));
            }
            return;
        }
        if (tooMany || static_cast<int>(m_spans.size()) != m_columnCount) {
            m_faults->add(FileFault::WrongValueCount, line, QString::number(m_columnCount));
            continue;
        }
        if (cut)
            m_faults->add(FileFault::ValueTooLong, line);
        TStringListElement* carrier = m_carrier.get();
        for (int i = 0; i < m_columnCount; ++i) {
            const auto& span = m_spans[static_cast<size_t>(i)];
            setColumnValue(*carrier, i, QByteArrayView(m_line).sliced(span.first, span.second));
        }
        if (m_columnCount > 0)
            m_lastValue = m_carrier->ValueAt(m_columnCount - 1);
        return;
    }
}

// A value equal to the one the column holds (a run of records repeats most of them) is not
// decoded again; the column's item is written only when its text changes.
void TPrenasecZeStandarduData::setColumnValue(TStringListElement& carrier, int column, QByteArrayView bytes)
{
    TElement* element = carrier.Items(column);
    if (element && element->ClassType() == TStringElement::StaticClass()) {
        auto* item = static_cast<TStringElement*>(element);
        if (!isSameText(item->GetAsString(), bytes))
            item->SetAsString(Cp1250::decode(bytes));
        return;
    }
    carrier.SetValueAt(column, Cp1250::decode(bytes));
}

void TPrenasecZeStandarduData::SeekTo(qint64 offset, int line, int recordsBefore)
{
    if (!m_file.isOpen() || m_headerFailed)
        return;
    m_file.seek(qBound<qint64>(0, offset, m_size));
    m_readCount = recordsBefore;
    m_lineNo = line;
    m_atEnd = false;
    FillBuffer();
}

void TPrenasecZeStandarduData::SeekToEnd()
{
    if (m_file.isOpen())
        m_file.seek(m_size);
    FillBuffer();
    m_atEnd = true;
}
