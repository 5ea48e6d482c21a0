// Loaders of element trees: the model stream "LMX0" (TLoad) and the element stream "TPF0" (TLoader).
#include "framework/streams/StreamLoader.h"

#include "framework/core/ClassRegistry.h"
#include "framework/streams/Filer.h"
#include "framework/streams/StreamFormats.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>

namespace {

constexpr qint64 progressStepBytes = 200;

bool isIntegerTag(ValueTag tag)
{
    return tag == ValueTag::Int8 || tag == ValueTag::Int16 || tag == ValueTag::Int32;
}

bool isStringTag(ValueTag tag)
{
    return tag == ValueTag::String || tag == ValueTag::LString;
}

bool isStringKind(qint32 kind)
{
    return kind == tkString || kind == tkLString;
}

// How deep lists and elements written in place may nest in a model stream; each level costs a few
// stack frames of the reader.
constexpr int maxNesting = 256;

// A stream nested deeper than maxNesting: not swallowed with the record it stands in.
class ENestedTooDeep : public EBadStream
{
public:
    explicit ENestedTooDeep(const QString& fileName)
        : EBadStream(QStringLiteral("Soubor %1 je poškozen: příliš hluboké vnoření").arg(fileName))
    {
    }
};

// One more open level for the time of a read.
class Nesting
{
public:
    Nesting(int& depth, const QString& fileName) : m_depth(depth)
    {
        if (m_depth >= maxNesting)
            throw ENestedTooDeep(fileName);
        ++m_depth;
    }
    ~Nesting() { --m_depth; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    int& m_depth;
};

// A child list of a damaged stream may name the entity itself, a child it lists already, or an
// entity that contains it: a cycle or a second slot that freeing the tree would free twice. The
// walk goes up from the entity through the containers holding it; in a sound stream a parent is
// read after its children and nothing holds it yet.
void checkNewChild(TEntity* entity, const TElement* child)
{
    const std::vector<TEntity*> holders = child->Holders();
    bool refused = std::find(holders.begin(), holders.end(), entity) != holders.end();
    std::vector<TEntity*> pending{entity};
    QSet<const TEntity*> seen;
    while (!refused && !pending.empty()) {
        TEntity* ancestor = pending.back();
        pending.pop_back();
        refused = ancestor == child;
        const std::vector<TEntity*> above = ancestor->Holders();
        if (above.empty() || seen.contains(ancestor))
            continue;
        seen.insert(ancestor);
        pending.insert(pending.end(), above.begin(), above.end());
    }
    if (refused)
        throw EBadStream(QStringLiteral("Invalid property value"));
}

EBadStream emptyModel(const QString& fileName)
{
    return EBadStream(QStringLiteral("Soubor %1 neobsahuje žádný element!").arg(fileName));
}

// The whole file; EBadStream when there is none.
QByteArray readWholeFile(const QString& fileName)
{
    const QString path = files::resolvePath(fileName);
    if (!files::fileExists(path))
        throw EBadStream(QStringLiteral("Soubor %1 neexistuje!").arg(fileName));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(QStringLiteral("Nelze otevřít soubor \"%1\"").arg(fileName));
    return file.readAll();
}

} // namespace

// --- TLumexLoader --------------------------------------------------------------------------------

TClass TLumexLoader::StaticClass()
{
    static const TClassInfo info = describeClass<TLumexLoader, TTool>("TLumexLoader", [](PropertyTable<TLumexLoader>& t) {
        t.longString("FileName", &TLumexLoader::FileName, &TLumexLoader::SetFileName);
    });
    return &info;
}

QString TLumexLoader::GetParamName(int)
{
    return QStringLiteral("FileName");
}

void TLumexLoader::LoadModel(TReader& reader, qint64 sourceSize)
{
    m_reader = &reader;
    m_sourceSize = sourceSize;
    m_nesting = 0;
    BeginLoading();
    CreateTables();
    try {
        ReadHeader();
        AfterHeader();
        std::vector<qint32> records;
        const qint32 last = ReadElements(&records);
        resolvePending();
        TElement* output = elementAt(last);
        if (!output)
            throw emptyModel(m_fileName);
        freeOrphans(output, records);
        SetOutput(output);
    } catch (...) {
        freeAll();
        FreeTables();
        m_reader = nullptr;
        EndLoading();
        throw;
    }
    FreeTables();
    m_reader = nullptr;
    EndLoading();
}

void TLumexLoader::BeginLoading()
{
    ui::services().setWaitCursor(true);
    StartProgress(QStringLiteral("Načítání modelu ze souboru ") + m_fileName, 0, static_cast<qint32>(SourceSize()));
    ProcessMessages();
}

void TLumexLoader::CreateTables()
{
    m_table.clear();
    m_referenced.clear();
    NewClassList();
}

void TLumexLoader::FreeTables()
{
    m_table.clear();
    m_discarded.clear();
    m_referenced.clear();
}

void TLumexLoader::NewClassList()
{
    m_classes.clear();
}

void TLumexLoader::EndLoading()
{
    ui::services().setWaitCursor(false);
    EndProgress();
}

void TLumexLoader::StepLoading()
{
    const qint64 position = m_reader->device().pos();
    if (position % progressStepBytes != 0)
        return;
    StepProgress(static_cast<qint32>(position));
    ProgressText(QStringLiteral("%1 bytů z celkových %2").arg(position).arg(m_sourceSize));
    ProcessMessages();
}

void TLumexLoader::ReadHeader()
{
    for (int i = 0; i < 3; ++i)
        m_reader->ReadString();
}

qint32 TLumexLoader::ReadElements(std::vector<qint32>* records)
{
    m_reader->ReadListBegin();
    qint32 last = -1;
    while (!m_reader->EndOfList()) {
        const qint32 head = m_reader->ReadInteger();
        if (head == lmx::classEntryMark) {
            ReadClassEntry();
        } else {
            const qint32 index = ReadRecord(head);
            if (index >= 0) {
                last = index;
                if (records)
                    records->push_back(index);
            }
        }
        StepLoading();
    }
    m_reader->ReadListEnd();
    return last;
}

void TLumexLoader::ReadClassEntry()
{
    const QString name = m_reader->ReadString();
    m_reader->ReadInteger();   // entries are numbered by their position
    BeginClassEntry(name);
    m_reader->ReadListBegin();
    while (!m_reader->EndOfList()) {
        const QString propertyName = m_reader->ReadString();
        AddStoredProperty(propertyName, m_reader->ReadInteger());
    }
    m_reader->ReadListEnd();
}

void TLumexLoader::BeginClassEntry(const QString& name)
{
    StoredClass& entry = m_classes.emplace_back();
    entry.name = name;
    const TClass cls = FindLumexClass(name);
    if (cls && cls->InheritsFrom(TElement::StaticClass()) && cls->CanCreate())
        entry.cls = cls;
}

// Matched by name at the next expected position, else the first of that name; the kinds must be
// equal or both strings. A property without read access (NextElement, ElementToFree, PostIt ...)
// is never saved: a damaged stream's value for it is stepped over, not set.
void TLumexLoader::AddStoredProperty(const QString& name, qint32 kind)
{
    StoredClass& entry = m_classes.back();
    StoredProperty& stored = entry.properties.emplace_back();
    stored.name = name;
    stored.kind = kind;
    if (!entry.cls)
        return;
    const auto& live = entry.cls->Props();
    const auto sameName = [&](int i) { return live[static_cast<size_t>(i)]->Name.compare(name, Qt::CaseInsensitive) == 0; };
    const int count = static_cast<int>(live.size());
    int candidate = -1;
    if (entry.nextExpected < count && sameName(entry.nextExpected))
        candidate = entry.nextExpected;
    for (int i = 0; candidate < 0 && i < count; ++i)
        if (sameName(i))
            candidate = i;
    if (candidate < 0)
        return;
    const PPropInfo prop = live[static_cast<size_t>(candidate)];
    if (!prop->HasRead() || (prop->Kind != kind && !(isStringKind(prop->Kind) && isStringKind(kind))))
        return;
    stored.live = prop;
    entry.nextExpected = candidate + 1;
}

// One element record after its class number. Answers the record's element index, -1 when the
// record broke before it; any error inside the record is swallowed.
qint32 TLumexLoader::ReadRecord(qint32 classNumber)
{
    qint32 index = -1;
    try {
        Owned<TElement> created = BeginElement(classNumber);
        const StoredClass& stored = m_classes[static_cast<size_t>(classNumber)];
        const qint32 recordIndex = m_reader->ReadInteger();
        // Every record takes several bytes: a larger index is no index of this stream.
        if (recordIndex < 0 || recordIndex > m_sourceSize)
            throw EBadStream(QStringLiteral("Invalid property value"));
        TElement* element = created.release();
        place(recordIndex, element);
        index = recordIndex;
        ReadProperties(element, stored);
        ReadChildren(element);
    } catch (const ENestedTooDeep&) {
        throw;
    } catch (const std::exception&) {
        // The reading goes on with the next item from where the error left it.
    }
    return index;
}

Owned<TElement> TLumexLoader::BeginElement(qint32 classNumber)
{
    if (classNumber < 0 || classNumber >= static_cast<qint32>(m_classes.size()))
        throw EBadStream(QStringLiteral("Invalid property value"));
    return CreateOfClass<TElement>(m_classes[static_cast<size_t>(classNumber)].cls);
}

void TLumexLoader::ReadProperties(TElement* element, const StoredClass& stored)
{
    m_reader->ReadListBegin();
    while (!m_reader->EndOfList()) {
        const qint32 storedIndex = m_reader->ReadInteger();
        const bool known = storedIndex >= 0 && storedIndex < static_cast<qint32>(stored.properties.size());
        const StoredProperty* property = known ? &stored.properties[static_cast<size_t>(storedIndex)] : nullptr;
        const std::optional<PropValue> value = readValue(element, property);
        if (value && property && property->live)
            ApplyValue(element, property->live, *value);
    }
    m_reader->ReadListEnd();
}

// Sets a value read; a setter's error loses only this value. A reference of another class than
// the property's is not set.
void TLumexLoader::ApplyValue(TElement* element, PPropInfo prop, const PropValue& value)
{
    if (!element || !prop->HasWrite())
        return;
    if (prop->Kind == tkClass && value.Object) {
        const TClass expected = prop->ObjectClass();
        if (expected && !value.Object->InheritsFrom(expected))
            return;
        m_referenced.insert(dynamic_cast<const TElement*>(value.Object));
    }
    try {
        prop->Write(*element, value);
    } catch (const std::exception&) {
        // The value is lost; the record goes on.
    }
}

std::optional<PropValue> TLumexLoader::readValue(TElement* element, const StoredProperty* stored)
{
    switch (stored ? stored->kind : tkUnknown) {
    case tkInteger:
    case tkEnumeration:
    case tkSet:
        return readOrdinal();
    case tkChar:
        return readChar();
    case tkFloat:
        return readFloat();
    case tkString:
    case tkLString:
        return readString();
    case tkClass:
        return readReference(element, stored);
    default:
        skipValue();
        return std::nullopt;
    }
}

std::optional<PropValue> TLumexLoader::readOrdinal()
{
    if (!isIntegerTag(m_reader->NextValue())) {
        skipValue();
        return std::nullopt;
    }
    PropValue value;
    value.Ordinal = m_reader->ReadInteger();
    return value;
}

// The writer gives the code; a one-character string is taken too.
std::optional<PropValue> TLumexLoader::readChar()
{
    const ValueTag tag = m_reader->NextValue();
    PropValue value;
    if (isIntegerTag(tag)) {
        value.Ordinal = m_reader->ReadInteger();
        if (value.Ordinal < 0 || value.Ordinal > 255)
            return std::nullopt;
        return value;
    }
    if (isStringTag(tag)) {
        const QString text = m_reader->ReadString();
        if (text.size() != 1)
            return std::nullopt;
        value.Ordinal = charOrdinal(text.at(0));
        return value;
    }
    skipValue();
    return std::nullopt;
}

std::optional<PropValue> TLumexLoader::readFloat()
{
    const ValueTag tag = m_reader->NextValue();
    PropValue value;
    if (tag == ValueTag::Extended) {
        value.Float = m_reader->ReadFloat();
        return value;
    }
    if (isIntegerTag(tag)) {
        value.Float = m_reader->ReadInteger();
        return value;
    }
    skipValue();
    return std::nullopt;
}

std::optional<PropValue> TLumexLoader::readString()
{
    if (!isStringTag(m_reader->NextValue())) {
        skipValue();
        return std::nullopt;
    }
    PropValue value;
    value.Text = m_reader->ReadString();
    return value;
}

// -1 nil, -2 an element written in place, else an element index (resolved at the end when the
// element comes later in the stream).
std::optional<PropValue> TLumexLoader::readReference(TElement* element, const StoredProperty* stored)
{
    if (!isIntegerTag(m_reader->NextValue())) {
        skipValue();
        return std::nullopt;
    }
    const qint32 reference = m_reader->ReadInteger();
    PropValue value;
    if (reference == lmx::nilReference)
        return value;
    if (reference == lmx::inPlaceReference) {
        if (m_reader->NextValue() != ValueTag::List)
            return std::nullopt;
        TElement* inPlace = readInPlace();
        if (!inPlace)
            return std::nullopt;
        m_discarded.push_back(inPlace);   // freed at the end unless a property takes it
        value.Object = inPlace;
        return value;
    }
    if (reference < 0)
        return std::nullopt;
    if (TElement* target = elementAt(reference)) {
        value.Object = target;
        return value;
    }
    if (element && stored->live)
        m_pendingReferences.push_back({element, stored->live, reference});
    return std::nullopt;
}

TElement* TLumexLoader::readInPlace()
{
    const Nesting nesting(m_nesting, m_fileName);
    return elementAt(ReadElements(nullptr));
}

void TLumexLoader::skipValue()
{
    switch (m_reader->NextValue()) {
    case ValueTag::List: {
        const Nesting nesting(m_nesting, m_fileName);
        m_reader->ReadListBegin();
        while (!m_reader->EndOfList())
            skipValue();
        m_reader->ReadListEnd();
        return;
    }
    case ValueTag::Int8:
    case ValueTag::Int16:
    case ValueTag::Int32:
        // An element in place stays read, so the indexes of the tree elements in it hold.
        if (m_reader->ReadInteger() == lmx::inPlaceReference && m_reader->NextValue() == ValueTag::List) {
            if (TElement* inPlace = readInPlace())
                m_discarded.push_back(inPlace);
        }
        return;
    case ValueTag::Extended:
        m_reader->ReadFloat();
        return;
    case ValueTag::String:
    case ValueTag::LString:
        m_reader->ReadString();
        return;
    default:
        m_reader->ReadInteger();   // consumes the tag and raises
        return;
    }
}

void TLumexLoader::ReadChildren(TElement* element)
{
    const qint32 flag = m_reader->ReadInteger();
    if ((flag & 0xFF) == 0)
        return;
    m_reader->ReadListBegin();
    while (!m_reader->EndOfList())
        AddStoredChild(element, m_reader->ReadInteger());
    m_reader->ReadListEnd();
}

void TLumexLoader::AddStoredChild(TElement* element, qint32 index)
{
    auto* entity = dynamic_cast<TEntity*>(element);
    if (!entity)
        return;
    TElement* child = elementAt(index);
    if (!child) {
        if (index >= 0)
            m_pendingChildren.push_back({entity, index});
        return;
    }
    try {
        checkNewChild(entity, child);
        entity->Add(child);
    } catch (const std::exception&) {
        // A child that cannot be added is left out.
    }
}

TElement* TLumexLoader::elementAt(qint32 index) const
{
    if (index < 0 || index >= static_cast<qint32>(m_table.size()))
        return nullptr;
    return m_table[static_cast<size_t>(index)].get();
}

// A damaged stream may number two records alike: the element pushed out of its place is freed at
// the end like any other leftover.
void TLumexLoader::place(qint32 index, TElement* element)
{
    if (index >= static_cast<qint32>(m_table.size()))
        m_table.resize(static_cast<size_t>(index) + 1);
    WeakRef<TElement>& slot = m_table[static_cast<size_t>(index)];
    if (TElement* displaced = slot.get(); displaced && displaced != element)
        m_discarded.push_back(displaced);
    slot = element;
}

void TLumexLoader::resolvePending()
{
    for (const PendingReference& pending : std::exchange(m_pendingReferences, {})) {
        TElement* target = elementAt(pending.index);
        if (TElement* element = pending.element.get(); element && target) {
            PropValue value;
            value.Object = target;
            ApplyValue(element, pending.prop, value);
        }
    }
    for (const PendingChild& pending : std::exchange(m_pendingChildren, {})) {
        if (TElement* parent = pending.parent.get())
            AddStoredChild(parent, pending.index);
        // A child still missing now is left out (AddStoredChild defers it once more).
    }
    m_pendingChildren.clear();
}

// Top-level records other than the root, and in-place elements no property took, that nothing
// holds or refers to: the leftovers of records that could not be read (a parent of an
// unregistered class, a renamed reference property).
void TLumexLoader::freeOrphans(TElement* output, const std::vector<qint32>& records)
{
    std::vector<WeakRef<TElement>> candidates;
    for (const qint32 index : records)
        candidates.emplace_back(elementAt(index));
    candidates.insert(candidates.end(), m_discarded.begin(), m_discarded.end());
    for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
        TElement* element = it->get();
        if (element && element != output && element->HolderCount() == 0 && !m_referenced.contains(element))
            FreeObject(element);
    }
}

// After a failure: every element read that nothing holds goes, the later ones first (a parent
// comes after its children).
void TLumexLoader::freeAll()
{
    m_pendingReferences.clear();
    m_pendingChildren.clear();
    for (auto* list : {&m_table, &m_discarded}) {
        for (auto it = list->rbegin(); it != list->rend(); ++it) {
            TElement* element = it->get();
            if (element && element->HolderCount() == 0)
                FreeObject(element);
        }
        list->clear();
    }
}

// --- TStreamLoader, TLoad ------------------------------------------------------------------------

TClass TStreamLoader::StaticClass()
{
    static const TClassInfo info = describeClass<TStreamLoader, TLumexLoader>("TStreamLoader");
    return &info;
}

void TStreamLoader::Execute()
{
    TTool::Execute();
    SetOutput(nullptr);
    if (FileName().isEmpty())
        throw EBadStreamName(QStringLiteral("Chybné jméno souboru : %1 !").arg(FileName()));
    QByteArray bytes = readWholeFile(FileName());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    const QByteArray signature = reader.ReadRaw(4);
    if (signature == lmx::elementSignature) {
        LoadElementStream();
        return;
    }
    if (signature == lmx::modelSignature) {
        LoadModel(reader, bytes.size());
        return;
    }
    throw EBadStream(FileName() + QStringLiteral(" ... neznámý typ souboru"));
}

void TStreamLoader::LoadElementStream()
{
    Owned<TLoader> loader = Create<TLoader>();
    loader->SetName(FileName());
    loader->Execute();
    SetOutput(loader->Output());
}

TClass TLoad::StaticClass()
{
    static const TClassInfo info = describeClass<TLoad, TStreamLoader>("TLoad");
    return &info;
}

// --- TLoader -------------------------------------------------------------------------------------

namespace {

// Frees what an element stream read and nothing but the table holds, except `kept` (the root of a
// stream read to its end; nil after a failure), the later ones first, so a parent goes before its
// children. Then empties the table.
void freeLoaded(TQuickEntity& table, const TElement* kept = nullptr)
{
    for (int i = table.Count() - 1; i >= 0; --i) {
        TElement* element = table.Items(i);
        if (element && element != kept && element->HolderCount() == 1)
            FreeObject(element);
    }
    table.ForgetAll();
}

void showError(const QString& text)
{
    ui::services().messageBox(text, QString(), ui::MsgType::Error, ui::Ok);
}

} // namespace

TLoader::TLoader()
{
    m_name = lmx::defaultFileName;
}

TClass TLoader::StaticClass()
{
    static const TClassInfo info = describeClass<TLoader, TTool>("TLoader");
    return &info;
}

void TLoader::Execute()
{
    TTool::Execute();
    SetOutput(nullptr);
    const ui::WaitCursor busy;
    if (m_name.isEmpty())
        throw EBadStreamName(QStringLiteral("Chybné jméno streamu : %1 !").arg(m_name));
    QByteArray bytes = readWholeFile(m_name);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    if (reader.ReadRaw(4) != lmx::elementSignature)
        throw EBadStream(QStringLiteral("Invalid stream format"));
    reader.ReadListBegin();
    Owned<TQuickEntity> table = Create<TQuickEntity>();
    for (;;) {
        QString className;
        try {
            if (reader.EndOfList())
                break;
            className = reader.ReadString();
            const TClass cls = FindLumexClass(className);
            if (!cls) {
                showError(QStringLiteral("Neregistrovaný element: ") + className);
                freeLoaded(*table);
                return;
            }
            Owned<TElement> element = CreateOfClass<TElement>(cls);
            if (!element)
                throw EBadStream(QStringLiteral("Invalid stream format"));
            element->ReadFrom(reader, table.get());
            table->Add(element.release());
        } catch (const std::exception&) {
            showError(QStringLiteral("Chyba při čtení elementu: ") + className);
            freeLoaded(*table);
            return;
        }
    }
    reader.ReadListEnd();
    if (table->IsEmpty())
        throw emptyModel(m_name);
    TElement* root = table->Items(table->LastIndex());
    freeLoaded(*table, root);
    SetOutput(root);
}

void RegisterT_loaderUnit()
{
    RegisterUnitClasses({TLoader::StaticClass(), TLoad::StaticClass()});
}
