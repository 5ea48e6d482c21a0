// Reader of old 160-character LHP records (text file with stand texts, or a dBASE table).
#include "app/sources/oldlhp/UnivStareLHP.h"

#include "forest/base/TextUtilities.h"
#include "framework/core/ClassRegistry.h"
#include "platform/files/Files.h"
#include "platform/text/Cp1250.h"
#include "platform/ui/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

#include <shapefil.h>

namespace {

constexpr std::array<int, TUnivStareLHP::FieldCount> widths = {
    5, 1, 2, 2, 1, 2, 3, 1, 2, 3, 2, 2, 1, 1, 5, 3, 4, 3, 3, 5, 3, 2, 3, 3, 4, 2, 2, 2, 1, 4, 3, 5, 2,
    2, 2, 2, 1, 2, 4, 5, 3, 4, 2, 4, 2, 1, 4, 2, 1, 4, 2, 1, 4, 2, 1, 4, 2, 2, 1, 2, 1, 1, 2, 2, 1,
};

constexpr int sumOfWidths()
{
    int sum = 0;
    for (const int w : widths)
        sum += w;
    return sum;
}
static_assert(sumOfWidths() == TUnivStareLHP::RecordLength, "the fields tile the 160-character record");

// First column (1-based) of each field.
constexpr std::array<int, TUnivStareLHP::FieldCount> starts = [] {
    std::array<int, TUnivStareLHP::FieldCount> out{};
    int start = 1;
    for (size_t i = 0; i < widths.size(); ++i) {
        out[i] = start;
        start += widths[i];
    }
    return out;
}();

// A line longer than this keeps only its start (the fields use the first 160 characters).
constexpr int MaxKeptLine = 1024;

bool readWhole(const QString& path, QByteArray& out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > TUnivStareLHP::MaxFileSize)
        return false;
    out = file.readAll();
    return true;
}

// The companion's name: the file's own name up to its first dot, the two characters after it,
// ".tlh"; the directory is the record file's.
QString companionName(const QString& fileName)
{
    const QFileInfo info(fileName);
    const QString own = info.fileName();
    const qsizetype dot = own.indexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? own : own.left(dot) + own.mid(dot + 1, 2);
    return QDir(info.path()).filePath(base + QStringLiteral(".tlh"));
}

} // namespace

// The open dBASE table and its current row.
struct TUnivStareLHP::Dbf {
    DBFHandle handle = nullptr;
    int rows = 0;
    int row = 0;
    std::array<int, FieldCount> fields{};
    // Byte offset and width of each field D1..D65 in the raw record.
    std::array<int, FieldCount> offsets{};
    std::array<int, FieldCount> widths{};
    ~Dbf()
    {
        if (handle)
            DBFClose(handle);
    }
    void skipDeleted()
    {
        while (row < rows && DBFIsRecordDeleted(handle, row))
            ++row;
    }
};

TClass TUnivStareLHP::StaticClass()
{
    using P = TUnivStareLHP;
    static const TClassInfo info = describeClass<P, TOwnerEntity>("TUnivStareLHP", [](PropertyTable<P>& t) {
        for (int n = 1; n <= FieldCount; ++n)
            t.string(QStringLiteral("D%1").arg(n), [n](P& p) { return p.D(n); }, [](P&, const QString&) {});
    });
    return &info;
}

TUnivStareLHP::TUnivStareLHP() = default;

TUnivStareLHP::~TUnivStareLHP()
{
    if (m_log != &m_ownLog)
        return;   // the log keeps them for the file's next reader
    try {
        ReportFaults();
    } catch (...) {   // NOLINT(bugprone-empty-catch): a destructor never throws
    }
}

int TUnivStareLHP::fieldWidth(int n)
{
    return n >= 1 && n <= FieldCount ? widths[static_cast<size_t>(n - 1)] : 0;
}

int TUnivStareLHP::fieldStart(int n)
{
    return n >= 1 && n <= FieldCount ? starts[static_cast<size_t>(n - 1)] : 0;
}

void TUnivStareLHP::ReportFaults()
{
    if (m_tlhFaults)
        m_tlhFaults->report(m_tlhName);
}

const FileFaults& TUnivStareLHP::faults() const
{
    static const FileFaults none;
    return m_tlhFaults ? *m_tlhFaults : none;
}

void TUnivStareLHP::closeAll()
{
    if (m_log == &m_ownLog)
        ReportFaults();
    m_tlhFaults = nullptr;
    m_table.reset();
    m_text.clear();
    m_tlh.clear();
    m_pos = 0;
    m_tlhPos = 0;
    m_lineNo = 0;
    m_hasTlh = false;
    m_record.clear();
    m_hasRecord = false;
    m_tlhRecord.fill(QString());
    m_eofFlag = true;
}

void TUnivStareLHP::Open()
{
    closeAll();
    if (QFileInfo(m_fileName).fileName().toUpper().contains(QStringLiteral(".DBF")))
        openTable();
    else
        openText();
}

void TUnivStareLHP::openTable()
{
    auto table = std::make_unique<Dbf>();
    table->handle = DBFOpen(QFile::encodeName(files::resolvePath(m_fileName)).constData(), "rb");
    if (!table->handle) {
        ui::services().showMessage(QStringLiteral("Nemohu otevřít soubor LHP160 \"%1\"").arg(m_fileName));
        return;
    }
    table->rows = DBFGetRecordCount(table->handle);
    // Each field's bytes within the raw record, kept inside the record's length.
    const int length = table->handle->nRecordLength;
    for (int n = 1; n <= FieldCount; ++n) {
        const auto at = static_cast<size_t>(n - 1);
        const int field = DBFGetFieldIndex(table->handle, QByteArray("D" + QByteArray::number(n)).constData());
        table->fields[at] = field;
        const int start = field < 0 ? 0 : std::clamp(table->handle->panFieldOffset[field], 0, length);
        table->offsets[at] = start;
        table->widths[at] = field < 0 ? 0 : std::clamp(table->handle->panFieldSize[field], 0, length - start);
    }
    table->skipDeleted();
    m_table = std::move(table);
}

bool TUnivStareLHP::loadTextFiles()
{
    m_text.clear();
    m_tlh.clear();
    m_pos = 0;
    m_tlhPos = 0;
    m_lineNo = 0;
    m_hasTlh = false;
    m_tlhRecordNo = 0;
    m_tlhFaults = nullptr;
    m_tlhRecord.fill(QString());
    const QString companion = files::resolvePath(companionName(m_fileName));
    m_tlhName = companion;
    if (files::fileExists(companion)) {
        m_hasTlh = true;
        m_tlhFaults = &m_log->of(companion);
        if (!readWhole(companion, m_tlh))
            ui::services().showMessage(QStringLiteral("Nemohu otevřít textový soubor \"%1\"").arg(companion));
    }
    m_lastKey = -1;
    if (!readWhole(files::resolvePath(m_fileName), m_text)) {
        ui::services().showMessage(QStringLiteral("Nemohu otevřít soubor LHP160 \"%1\"").arg(m_fileName));
        return false;
    }
    return true;
}

void TUnivStareLHP::openText()
{
    m_eofFlag = true;
    if (loadTextFiles())
        Next();
    else if (!m_following.isEmpty())
        Next();
}

void TUnivStareLHP::First()
{
    if (m_table) {
        m_table->row = 0;
        m_table->skipDeleted();
        return;
    }
    m_lastKey = -1;
    m_pos = 0;
    m_lineNo = 0;
    m_tlhPos = 0;
    m_tlhRecordNo = 0;
    m_tlhRecord.fill(QString());
    Next();
}

bool TUnivStareLHP::readLine(QByteArrayView& line)
{
    const qsizetype size = m_text.size();
    if (m_pos >= size)
        return false;
    const char* const bytes = m_text.constData();
    qsizetype end = m_pos;
    while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    line = QByteArrayView(bytes + m_pos, qMin<qsizetype>(end - m_pos, MaxKeptLine));
    if (end < size && bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n')
        ++end;
    m_pos = end + 1;
    ++m_lineNo;
    return true;
}

void TUnivStareLHP::Next()
{
    if (m_table) {
        if (m_table->row < m_table->rows) {
            ++m_table->row;
            m_table->skipDeleted();
        }
        return;
    }
    QByteArrayView line;
    // A last empty line of a file is no record; the end of a file goes on in the next one.
    while (!readLine(line) || (line.isEmpty() && m_pos >= m_text.size())) {
        ReportFaults();   // the file is read whole: its companion's counts are complete
        if (m_following.isEmpty()) {
            m_eofFlag = true;
            return;
        }
        m_fileName = m_following.takeFirst();
        if (!loadTextFiles())
            m_text.clear();
    }
    m_eofFlag = false;
    ++m_recordsRead;
    m_record.assign(line.data(), static_cast<size_t>(line.size()));
    m_hasRecord = true;
    if (!m_hasTlh || qsizetype(m_record.size()) < fieldStart(8))
        return;
    // The key of compartment and sub-compartment: the byte of D8 is the letter's code.
    const qint32 key = Number(7) * 100 + static_cast<unsigned char>(m_record[static_cast<size_t>(fieldStart(8) - 1)]);
    if (key != m_lastKey) {
        readTlhRecord();
        m_lastKey = key;
    }
}

void TUnivStareLHP::readTlhRecord()
{
    m_tlhRecord.fill(QString());
    const int number = ++m_tlhRecordNo;
    if (m_tlhPos + TlhRecordSize > m_tlh.size()) {
        m_tlhFaults->add(FileFault::ShortTlh, number);
        m_tlhPos = m_tlh.size();
        return;
    }
    for (int i = 0; i < TlhStrings; ++i) {
        const qsizetype at = m_tlhPos + qsizetype(i) * (TlhStringLength + 1);
        int length = static_cast<unsigned char>(m_tlh[at]);
        if (length > TlhStringLength) {
            m_tlhFaults->add(FileFault::LongTlhString, number);
            length = TlhStringLength;
        }
        m_tlhRecord[static_cast<size_t>(i)] = Cp1250::decode(QByteArrayView(m_tlh).sliced(at + 1, length));
    }
    m_tlhPos += TlhRecordSize;
}

bool TUnivStareLHP::Eof() const
{
    if (m_table)
        return m_table->row >= m_table->rows;
    return m_eofFlag;
}

QByteArrayView TUnivStareLHP::fieldBytes(int n) const
{
    const qsizetype size = qsizetype(m_record.size());
    const qsizetype start = qMin<qsizetype>(fieldStart(n) - 1, size);
    return QByteArrayView(m_record.data() + start, qMin<qsizetype>(fieldWidth(n), size - start));
}

QString TUnivStareLHP::D(int n) const
{
    if (n < 1 || n > FieldCount)
        return QString();
    if (m_table) {
        const int field = m_table->fields[static_cast<size_t>(n - 1)];
        if (field < 0 || m_table->row >= m_table->rows)
            return QString();
        // The field's own text with its leading blanks, as the record file gives it; the
        // library's attribute read would strip them.
        const char* record = DBFReadTuple(m_table->handle, m_table->row);
        if (!record)
            return QString();
        const auto at = static_cast<size_t>(n - 1);
        QByteArrayView bytes(record + m_table->offsets[at], m_table->widths[at]);
        while (!bytes.isEmpty() && bytes.back() == ' ')
            bytes.chop(1);
        return Cp1250::decode(bytes);
    }
    // A field past the end of the record (or of no record) is null; one ending it is empty.
    if (!m_hasRecord || fieldStart(n) - 1 > qsizetype(m_record.size()))
        return QString();
    return Cp1250::decode(fieldBytes(n));
}

bool TUnivStareLHP::FieldIs(int n, QStringView text) const
{
    if (m_table || n < 1 || n > FieldCount)
        return D(n) == text;
    const QByteArrayView field = fieldBytes(n);
    if (field.size() != text.size())
        return false;
    for (qsizetype i = 0; i < field.size(); ++i)
        if (Cp1250::decodeChar(static_cast<unsigned char>(field[i])) != text[i])
            return false;
    return true;
}

qint32 TUnivStareLHP::Number(int n) const
{
    if (m_table || n < 1 || n > FieldCount)
        return DigitsToInt(D(n));
    // The digits straight from the record's bytes (only the bytes of ASCII digits decode to digits).
    qint64 value = 0;
    for (const char c : fieldBytes(n)) {
        if (c < '0' || c > '9')
            continue;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<qint32>::max())
            return 0;
    }
    return static_cast<qint32>(value);
}

QString TUnivStareLHP::TlhString(int i) const
{
    if (i < 1 || i > TlhStrings)
        return QString();
    return m_tlhRecord[static_cast<size_t>(i - 1)];
}

qint64 TUnivStareLHP::Position() const
{
    return m_table ? m_table->row : m_recordsRead;
}
