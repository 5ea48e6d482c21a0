// INI files: line-keeping parser, case-blind lookups and write-through of every change.
#include "platform/ini/IniFile.h"

#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/text/Case.h"
#include "platform/text/Cp1250.h"
#include "platform/text/Numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <sys/stat.h>

#include <ctime>
#include <memory>
#include <vector>

namespace {

// One line of the file. `raw` holds its bytes without the line end, so a line the write
// does not touch goes back to disk byte for byte.
struct Line {
    enum class Kind { Other, Section, Key };

    QByteArray raw;
    QByteArray eol;        // "\r\n", "\n", or empty for a last line without an end
    Kind kind = Kind::Other;
    QString name;          // section or key name, trimmed
    QString value;         // key value, trimmed, quotes kept
};

void parse(Line& line)
{
    const QString text = txt::trim(Cp1250::decode(line.raw));
    line.kind = Line::Kind::Other;
    line.name.clear();
    line.value.clear();
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        line.kind = Line::Kind::Section;
        line.name = txt::trim(QStringView(text).mid(1, close < 0 ? -1 : close - 1));
        return;
    }
    if (text.startsWith(u';')) return;
    const qsizetype eq = text.indexOf(u'=');
    if (eq <= 0) return;
    line.name = txt::trim(QStringView(text).left(eq));
    if (line.name.isEmpty()) return;
    line.kind = Line::Kind::Key;
    line.value = txt::trim(QStringView(text).mid(eq + 1));
}

Line makeLine(const QString& text, const QByteArray& eol)
{
    Line line;
    line.raw = Cp1250::encode(text);
    line.eol = eol;
    parse(line);
    return line;
}

// Line breaks in a written text would split its line and plant others.
QString singleLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == u'"' || value.front() == u'\''))
        return value.mid(1, value.size() - 2);
    return value;
}

// A section or key name as lookups match it: equal keys are the names sameTextLetters()
// finds equal (upper-casing keeps lengths, and distinct characters keep distinct order keys).
QString lookupKey(const QString& name)
{
    return txt::upperLetters(txt::trim(singleLine(name)));
}

// The lines of one file and the lookups over them.
class Document
{
public:
    static Document load(const QString& path);
    void save(const QString& path, const QString& fileName) const;

    // Index of the first header of the section, -1 when there is none.
    qsizetype findSection(const QString& section) const;
    // Index after the last line of the section that starts at `header`.
    qsizetype sectionEnd(qsizetype header) const;
    // Index of the first line of the key within the section, -1 when there is none.
    qsizetype findKey(qsizetype header, const QString& key) const;
    const Line* keyLine(const QString& section, const QString& key) const;

    void setValue(const QString& section, const QString& key, const QString& value);
    bool eraseSection(const QString& section);
    bool deleteKey(const QString& section, const QString& key);

    std::vector<Line> lines;
    // The file exists but could not be read: lookups see it empty, and writing it back would
    // replace it with the changed line alone.
    bool isUnreadable = false;

private:
    // The line end new lines get: the file's first one, CRLF for a new file.
    QByteArray lineEnd() const;
    void insertLine(qsizetype at, Line line);
    // Rebuilds the lookups after `lines` changed.
    void reindex();

    // Lookup key -> index of the first header of that name.
    QHash<QString, qsizetype> m_sectionAt;
    // Header index -> lookup key -> index of the first line of that key below the header.
    QHash<qsizetype, QHash<QString, qsizetype>> m_keyAt;
};

void Document::reindex()
{
    m_sectionAt.clear();
    m_keyAt.clear();
    qsizetype header = -1;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const Line& line = lines[i];
        if (line.kind == Line::Kind::Section) {
            header = i;
            const QString key = lookupKey(line.name);
            if (!m_sectionAt.contains(key)) m_sectionAt.insert(key, i);
        } else if (line.kind == Line::Kind::Key && header >= 0) {
            QHash<QString, qsizetype>& keys = m_keyAt[header];
            const QString key = lookupKey(line.name);
            if (!keys.contains(key)) keys.insert(key, i);
        }
    }
}

Document Document::load(const QString& path)
{
    Document doc;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        doc.isUnreadable = QFileInfo::exists(path);
        return doc;
    }
    const QByteArray bytes = file.readAll();
    qsizetype start = 0;
    while (start < bytes.size()) {
        // CRLF, LF and a lone CR each end a line.
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < bytes.size() && bytes[next] == '\r')
            ++next;
        if (next < bytes.size() && bytes[next] == '\n' && (next == end || bytes[end] == '\r'))
            ++next;
        Line line;
        line.raw = bytes.mid(start, end - start);
        line.eol = bytes.mid(end, next - end);
        parse(line);
        doc.lines.push_back(std::move(line));
        start = next;
    }
    doc.reindex();
    return doc;
}

void Document::save(const QString& path, const QString& fileName) const
{
    const QString message = QStringLiteral("Nelze zapsat do souboru \"%1\"").arg(fileName);
    const QFileInfo info(path);
    // Replacing the file through a temporary one would also get past a read-only file.
    if (isUnreadable || (info.exists() && !info.isWritable())) throw EFileError(message);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw EFileError(message);
    for (const Line& line : lines) {
        file.write(line.raw);
        file.write(line.eol);
    }
    if (!file.commit()) throw EFileError(message);
}

qsizetype Document::findSection(const QString& section) const
{
    // Names are looked up as a write would store them.
    return m_sectionAt.value(lookupKey(section), -1);
}

qsizetype Document::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < qsizetype(lines.size()) && lines[i].kind != Line::Kind::Section)
        ++i;
    return i;
}

qsizetype Document::findKey(qsizetype header, const QString& key) const
{
    const auto keys = m_keyAt.constFind(header);
    return keys == m_keyAt.cend() ? -1 : keys->value(lookupKey(key), -1);
}

const Line* Document::keyLine(const QString& section, const QString& key) const
{
    const qsizetype header = findSection(section);
    if (header < 0) return nullptr;
    const qsizetype at = findKey(header, key);
    return at < 0 ? nullptr : &lines[at];
}

QByteArray Document::lineEnd() const
{
    for (const Line& line : lines)
        if (!line.eol.isEmpty()) return line.eol;
    return QByteArrayLiteral("\r\n");
}

void Document::insertLine(qsizetype at, Line line)
{
    if (at > 0 && lines[at - 1].eol.isEmpty()) lines[at - 1].eol = lineEnd();
    lines.insert(lines.begin() + at, std::move(line));
    reindex();
}

void Document::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString cleanKey = txt::trim(singleLine(key));
    const QString cleanValue = singleLine(value);
    const qsizetype header = findSection(section);
    if (header < 0) {
        const QByteArray eol = lineEnd();
        insertLine(qsizetype(lines.size()), makeLine(u'[' + singleLine(section) + u']', eol));
        insertLine(qsizetype(lines.size()), makeLine(cleanKey + u'=' + cleanValue, eol));
        return;
    }
    const qsizetype at = findKey(header, cleanKey);
    if (at >= 0) {
        // Keep the key as the file spells it, blanks included; only the value changes.
        Line& line = lines[at];
        line.raw = line.raw.left(line.raw.indexOf('=') + 1) + Cp1250::encode(cleanValue);
        parse(line);
        return;
    }
    qsizetype insertAt = header + 1;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (lines[i].kind == Line::Kind::Key) insertAt = i + 1;
    insertLine(insertAt, makeLine(cleanKey + u'=' + cleanValue, lineEnd()));
}

bool Document::eraseSection(const QString& section)
{
    bool isChanged = false;
    for (qsizetype header = findSection(section); header >= 0; header = findSection(section)) {
        lines.erase(lines.begin() + header, lines.begin() + sectionEnd(header));
        reindex();
        isChanged = true;
    }
    return isChanged;
}

bool Document::deleteKey(const QString& section, const QString& key)
{
    const qsizetype header = findSection(section);
    if (header < 0) return false;
    bool isChanged = false;
    for (qsizetype at = findKey(header, key); at >= 0; at = findKey(header, key)) {
        lines.erase(lines.begin() + at);
        reindex();
        isChanged = true;
    }
    return isChanged;
}

bool hasDirectory(const QString& name)
{
    return name.contains(u'/') || name.contains(u'\\') || name.contains(u':');
}

// What tells one state of a file from another: a rewrite changes the modification time
// (nanoseconds where the file system keeps them) or the size, a replace by rename the inode.
struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modifiedNs = 0;

    bool operator==(const FileState&) const = default;
};

bool stateOf(const QString& path, FileState& state)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    state = {st.st_dev, st.st_ino, st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    return true;
}

qint64 nowNs()
{
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// A file changed less than this before it was read may change again within the same tick
// of the file system's clock (a jiffy here, two seconds on FAT) without a new modification
// time: such a file is parsed again at every read until it has been still for longer.
constexpr qint64 settleNs = 2'000'000'000;

// The parsed files of the process, each kept with the state it was read in. Every IniFile
// object on a path shares its entry, and a write drops it.
struct ParsedFile {
    FileState state;
    std::shared_ptr<const Document> document;
};

QHash<QString, ParsedFile>& parsedFiles()
{
    static QHash<QString, ParsedFile> files;
    return files;
}

// The file as it is on disk now, parsed again only when its state changed.
std::shared_ptr<const Document> currentDocument(const QString& path)
{
    QHash<QString, ParsedFile>& cache = parsedFiles();
    const qint64 readAt = nowNs();
    FileState state;
    if (!stateOf(path, state)) {
        cache.remove(path);
        return std::make_shared<const Document>(Document::load(path));
    }
    const auto found = cache.constFind(path);
    if (found != cache.cend() && found->state == state) return found->document;
    auto document = std::make_shared<const Document>(Document::load(path));
    // An unreadable file is asked again: its permissions may change without a new state.
    if (document->isUnreadable || state.modifiedNs > readAt - settleNs) {
        cache.remove(path);
        return document;
    }
    // A process reads a handful of INI files; a stray many only cost their next parse.
    if (cache.size() >= 64) cache.clear();
    cache.insert(path, {state, document});
    return document;
}

// Writes the changed document and forgets the parsed one.
void saveDocument(const Document& doc, const QString& path, const QString& fileName)
{
    parsedFiles().remove(path);
    doc.save(path, fileName);
}

} // namespace

IniFile::IniFile(const QString& fileName) : m_fileName(fileName) {}

QString IniFile::path() const
{
    if (!hasDirectory(m_fileName)) return files::resolvePath(files::configDirectory() + u'/' + m_fileName);
    return files::resolvePath(m_fileName);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const std::shared_ptr<const Document> parsed = currentDocument(path());
    const Document& doc = *parsed;
    const Line* line = doc.keyLine(section, key);
    return line ? unquoted(line->value) : defaultValue;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    if (!hasDirectory(m_fileName)) QDir().mkpath(files::configDirectory());
    const QString target = path();
    Document doc = *currentDocument(target);
    doc.setValue(section, key, value);
    saveDocument(doc, target, m_fileName);
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    QString text = readString(section, key, QString());
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text = u'$' + text.mid(2);
    return txt::strToIntDef(text, defaultValue);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::sectionExists(const QString& section) const
{
    return currentDocument(path())->findSection(section) >= 0;
}

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    return currentDocument(path())->keyLine(section, key) != nullptr;
}

void IniFile::eraseSection(const QString& section)
{
    const QString target = path();
    Document doc = *currentDocument(target);
    if (doc.eraseSection(section)) saveDocument(doc, target, m_fileName);
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    const QString target = path();
    Document doc = *currentDocument(target);
    if (doc.deleteKey(section, key)) saveDocument(doc, target, m_fileName);
}

QStringList IniFile::readSection(const QString& section) const
{
    const std::shared_ptr<const Document> parsed = currentDocument(path());
    const Document& doc = *parsed;
    const qsizetype header = doc.findSection(section);
    QStringList keys;
    if (header < 0) return keys;
    const qsizetype end = doc.sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line& line = doc.lines[i];
        // A later duplicate is hidden by the first key of its name.
        if (line.kind == Line::Kind::Key && doc.findKey(header, line.name) == i) keys.append(line.name);
    }
    return keys;
}

QStringList IniFile::readSections() const
{
    const std::shared_ptr<const Document> parsed = currentDocument(path());
    const Document& doc = *parsed;
    QStringList sections;
    for (qsizetype i = 0; i < qsizetype(doc.lines.size()); ++i)
        if (doc.lines[i].kind == Line::Kind::Section && doc.findSection(doc.lines[i].name) == i)
            sections.append(doc.lines[i].name);
    return sections;
}

QStringList IniFile::readSectionValues(const QString& section) const
{
    const std::shared_ptr<const Document> parsed = currentDocument(path());
    const Document& doc = *parsed;
    QStringList values;
    const qsizetype header = doc.findSection(section);
    if (header < 0) return values;
    const qsizetype end = doc.sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line& line = doc.lines[i];
        if (line.kind == Line::Kind::Key && doc.findKey(header, line.name) == i)
            values.append(line.name + u'=' + unquoted(line.value));
    }
    return values;
}
