// Savers of element trees: the model stream "LMX0" (TSave) and the element stream "TPF0" (TSaver).
#include "framework/streams/StreamSaver.h"

#include "framework/core/ClassRegistry.h"
#include "framework/streams/Filer.h"
#include "framework/streams/StreamFormats.h"
#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"

#include <QBuffer>
#include <QSaveFile>

namespace {

constexpr qint32 progressThreshold = 500;   // elements; smaller saves report no progress

// Kinds whose zero (or empty) value the model stream leaves out.
bool hasOmittedZero(TTypeKind kind)
{
    switch (kind) {
    case tkInteger:
    case tkEnumeration:
    case tkSet:
    case tkFloat:
    case tkString:
    case tkLString:
        return true;
    default:
        return false;
    }
}

bool isZeroValue(TTypeKind kind, const PropValue& value)
{
    switch (kind) {
    case tkInteger:
    case tkEnumeration:
    case tkSet:
        return value.Ordinal == 0;
    case tkFloat:
        return value.Float == 0.0;
    case tkString:
    case tkLString:
        return value.Text.isEmpty();
    default:
        return false;
    }
}

// A property the streams carry: it can be read back and written again, and is stored.
bool isSaved(PPropInfo prop, TElement& element)
{
    return prop->HasRead() && prop->HasWrite() && prop->IsStored(element);
}

} // namespace

void writeStreamFile(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(files::resolvePath(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EFileError(QStringLiteral("Nelze vytvořit soubor \"%1\"").arg(fileName));
}

// --- TLumexSaver ---------------------------------------------------------------------------------

TClass TLumexSaver::StaticClass()
{
    static const TClassInfo info = describeClass<TLumexSaver, TRecursor>("TLumexSaver", [](PropertyTable<TLumexSaver>& t) {
        t.longString("FileName", &TLumexSaver::FileName, &TLumexSaver::SetFileName);
    });
    return &info;
}

QString TLumexSaver::GetParamName(int)
{
    return QStringLiteral("FileName");
}

bool TLumexSaver::DescendTest(TElement* element)
{
    return dynamic_cast<TEntity*>(element) != nullptr;
}

void TLumexSaver::Execute()
{
    TElement* input = Input();
    if (!input)
        return;
    const ui::WaitCursor busy;
    auto* entity = dynamic_cast<TEntity*>(input);
    const int count = entity ? entity->WholeCount() : progressThreshold;
    if (count > progressThreshold)
        StartProgress(QStringLiteral("Ukládání modelu do souboru %1 -celkem %2 Elementů").arg(m_fileName).arg(count),
                      0, count);
    QByteArray bytes;
    try {
        m_secondPass = false;
        m_forwardIndexes.clear();
        m_waiting.clear();
        bytes = render();
        if (!m_forwardIndexes.empty()) {
            m_secondPass = true;
            m_forwardCursor = 0;
            bytes = render();
        }
    } catch (...) {
        m_writer = nullptr;
        EndProgress();
        throw;
    }
    EndProgress();
    StoreStream(bytes);
}

QByteArray TLumexSaver::render()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    m_writer = &writer;
    PrepareClasses();
    m_counter = 0;
    WriteHeader();
    TRecursor::Execute();
    writer.WriteListEnd();
    m_writer = nullptr;
    return bytes;
}

void TLumexSaver::PrepareClasses()
{
    m_classes.clear();
    m_classNumbers.clear();
    m_indexes.clear();
    m_pending.clear();
    m_inPlaceWritten.clear();
    m_tree.clear();
    collectTree(Input(), m_tree, {});
}

// Every element reachable from root through children, not entering those in skip.
void TLumexSaver::collectTree(TElement* root, QSet<const TElement*>& into, const QSet<const TElement*>& skip) const
{
    std::vector<TElement*> stack{root};
    while (!stack.empty()) {
        TElement* element = stack.back();
        stack.pop_back();
        if (!element || into.contains(element) || skip.contains(element))
            continue;
        into.insert(element);
        if (auto* entity = dynamic_cast<TEntity*>(element); entity && !entity->IsEmpty())
            for (int i = entity->Count() - 1; i >= 0; --i)
                stack.push_back(entity->Items(i));
    }
}

void TLumexSaver::WriteHeader()
{
    m_writer->WriteRaw(lmx::modelSignature);
    m_writer->WriteString(lmx::headerWord);
    m_writer->WriteString(lmx::headerWord);
    m_writer->WriteString(m_comment.isEmpty() ? lmx::defaultComment : m_comment);
    m_writer->WriteListBegin();
}

void TLumexSaver::Action(TElement* element)
{
    if (m_indexes.contains(element))
        return;
    const qint32 index = m_counter++;
    m_indexes.insert(element, index);
    element->SetID(index);
    if (!m_secondPass) {
        for (const size_t slot : m_waiting.take(element))
            m_forwardIndexes[slot] = index;
    }
    if (!m_tree.contains(element))
        m_inPlaceWritten.push_back(element);
    stepProgress();
    const int classNumber = RegisterElementClass(element);
    WriteElementHead(classNumber, index);
    WriteProperties(element);
    WriteChildren(element);
}

void TLumexSaver::stepProgress()
{
    if (m_counter % progressThreshold != 0)
        return;
    StepProgress(m_counter);
    ProgressText(QStringLiteral("Uloženo %1 elementů").arg(m_counter));
    ProcessMessages();
}

int TLumexSaver::RegisterElementClass(TElement* element)
{
    const TClass cls = element->ClassType();
    const auto known = m_classNumbers.constFind(cls);
    if (known != m_classNumbers.constEnd())
        return known.value();
    // A class met by a save becomes known to the registry (and so loadable by name).
    if (!FindLumexClass(cls->ClassName()))
        RegisterLumexClass(cls);
    const int number = static_cast<int>(m_classes.size());
    m_classes.push_back(cls);
    m_classNumbers.insert(cls, number);
    WriteClassEntry(cls, number);
    return number;
}

void TLumexSaver::WriteClassEntry(TClass cls, int number)
{
    m_writer->WriteInteger(lmx::classEntryMark);
    m_writer->WriteString(cls->ClassName());
    m_writer->WriteInteger(number);
    m_writer->WriteListBegin();
    for (const PPropInfo prop : cls->Props()) {
        m_writer->WriteString(prop->Name);
        m_writer->WriteInteger(prop->Kind);
    }
    m_writer->WriteListEnd();
}

void TLumexSaver::WriteElementHead(int classNumber, qint32 index)
{
    m_writer->WriteInteger(classNumber);
    m_writer->WriteInteger(index);
}

void TLumexSaver::WriteProperties(TElement* element)
{
    const TClass cls = element->ClassType();
    m_writer->WriteListBegin();
    for (int i = 0; i < cls->PropCount(); ++i) {
        const PPropInfo prop = cls->Prop(i);
        if (!isSaved(prop, *element))
            continue;
        const PropValue value = prop->Read(*element);
        if (isZeroValue(prop->Kind, value) && zeroIsDefault(cls, i))
            continue;
        switch (prop->Kind) {
        case tkInteger:
        case tkEnumeration:
        case tkSet:
            WriteOrdValue(i, value.Ordinal);
            break;
        case tkChar:
            WriteCharValue(i, value.Ordinal);
            break;
        case tkFloat:
            WriteFloatValue(i, value.Float);
            break;
        case tkString:
        case tkLString:
            WriteStringValue(i, value.Text);
            break;
        case tkClass:
            if (auto* target = dynamic_cast<TElement*>(value.Object))
                WriteReference(i, target);
            break;
        default:
            break;
        }
    }
    m_writer->WriteListEnd();
}

// A new instance of the class tells the defaults; a class that cannot be created counts zero as
// its default. Zero is left out only where it is the default, so a rectangle that starts at 1e30
// keeps its edge at 0.
bool TLumexSaver::zeroIsDefault(TClass cls, int propIndex)
{
    auto found = m_zeroDefaults.find(cls);
    if (found == m_zeroDefaults.end()) {
        std::vector<char> zero(static_cast<size_t>(cls->PropCount()), 1);
        Owned<TPersistent> probe = CreateOfClass<TPersistent>(cls);
        for (int i = 0; probe && i < cls->PropCount(); ++i) {
            // Only what a save may write is read: other getters may build things on demand.
            const PPropInfo prop = cls->Prop(i);
            if (!prop->HasRead() || !prop->HasWrite() || !hasOmittedZero(prop->Kind))
                continue;
            try {
                zero[static_cast<size_t>(i)] = isZeroValue(prop->Kind, prop->Read(*probe)) ? 1 : 0;
            } catch (const std::exception&) {
                // An unreadable default counts as zero.
            }
        }
        found = m_zeroDefaults.insert(cls, std::move(zero));
    }
    return found.value().at(static_cast<size_t>(propIndex)) != 0;
}

void TLumexSaver::WriteChildren(TElement* element)
{
    auto* entity = dynamic_cast<TEntity*>(element);
    if (!entity || entity->IsEmpty()) {
        m_writer->WriteInteger(0);
        return;
    }
    m_writer->WriteInteger(1);
    m_writer->WriteListBegin();
    for (int i = 0; i < entity->Count(); ++i) {
        TElement* child = entity->Items(i);
        if (!child)
            continue;
        if (m_indexes.contains(child) || m_tree.contains(child) || m_pending.contains(child)) {
            writeIndexOf(child);
            continue;
        }
        // Not written and never going to be: the reader ignores the index.
        m_writer->WriteInteger(lmx::nilReference);
        PostTextMessage(this, LumexCode::Info,
                        child->GetName() + QStringLiteral(": ") + QString::number(child->ID()) + QChar(13), nullptr);
    }
    m_writer->WriteListEnd();
}

void TLumexSaver::WriteOrdValue(int propIndex, qint32 value)
{
    m_writer->WriteInteger(propIndex);
    m_writer->WriteInteger(value);
}

void TLumexSaver::WriteCharValue(int propIndex, qint32 code)
{
    m_writer->WriteInteger(propIndex);
    m_writer->WriteInteger(code);
}

void TLumexSaver::WriteFloatValue(int propIndex, double value)
{
    m_writer->WriteInteger(propIndex);
    m_writer->WriteFloat(value);
}

void TLumexSaver::WriteStringValue(int propIndex, const QString& value)
{
    m_writer->WriteInteger(propIndex);
    m_writer->WriteString(value);
}

void TLumexSaver::WriteReference(int propIndex, TElement* target)
{
    m_writer->WriteInteger(propIndex);
    if (m_indexes.contains(target) || m_tree.contains(target) || m_pending.contains(target))
        writeIndexOf(target);
    else
        writeInPlace(target);
}

// The index of an element written already, or a forward index of one written later.
void TLumexSaver::writeIndexOf(TElement* target)
{
    const auto found = m_indexes.constFind(target);
    if (found != m_indexes.constEnd())
        m_writer->WriteInteger(found.value());
    else
        writeForward(target);
}

void TLumexSaver::writeForward(const TElement* target)
{
    if (!m_secondPass) {
        m_waiting[target].push_back(m_forwardIndexes.size());
        m_forwardIndexes.push_back(lmx::nilReference);
        m_writer->WriteInteger(lmx::nilReference);   // rewritten by the second pass
        return;
    }
    const qint32 index =
        m_forwardCursor < m_forwardIndexes.size() ? m_forwardIndexes[m_forwardCursor] : lmx::nilReference;
    ++m_forwardCursor;
    m_writer->WriteInteger(index);
}

// An element outside the tree: its subtree in a nested list. Each place that refers to it gets
// its own copy, so afterwards its out-of-tree elements count as unwritten again.
void TLumexSaver::writeInPlace(TElement* target)
{
    QSet<const TElement*> subtree;
    collectTree(target, subtree, m_tree);
    subtree.removeIf([this](const TElement* e) { return m_indexes.contains(e) || m_pending.contains(e); });
    m_pending.unite(subtree);
    const size_t mark = m_inPlaceWritten.size();

    m_writer->WriteInteger(lmx::inPlaceReference);
    m_writer->WriteListBegin();
    if (DescendTest(target))
        Recurse(target);
    Action(target);
    m_writer->WriteListEnd();

    m_pending.subtract(subtree);
    for (size_t i = mark; i < m_inPlaceWritten.size(); ++i) {
        m_indexes.remove(m_inPlaceWritten[i]);
        m_inPlaceWritten[i]->SetID(-1);
    }
    m_inPlaceWritten.resize(mark);
}

// --- TStreamSaver, TSave -------------------------------------------------------------------------

TClass TStreamSaver::StaticClass()
{
    static const TClassInfo info = describeClass<TStreamSaver, TLumexSaver>("TStreamSaver");
    return &info;
}

void TStreamSaver::StoreStream(const QByteArray& bytes)
{
    writeStreamFile(FileName(), bytes);
}

TClass TSave::StaticClass()
{
    static const TClassInfo info = describeClass<TSave, TStreamSaver>("TSave");
    return &info;
}

// --- TSaver --------------------------------------------------------------------------------------

TSaver::TSaver()
{
    m_name = lmx::defaultFileName;
}

TClass TSaver::StaticClass()
{
    static const TClassInfo info = describeClass<TSaver, TRecursor>("TSaver");
    return &info;
}

bool TSaver::DescendTest(TElement* element)
{
    return dynamic_cast<TEntity*>(element) != nullptr;
}

void TSaver::Execute()
{
    TElement* input = Input();
    if (!input)
        return;
    const ui::WaitCursor busy;
    // The original left the marking to the caller; a tree marked by an older walk lost elements.
    input->ResetMarks();
    m_mark = TraversalMark();
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        m_writer = &writer;
        m_counter = 0;
        try {
            writer.WriteRaw(lmx::elementSignature);
            writer.WriteListBegin();
            TRecursor::Execute();
            writer.WriteListEnd();
        } catch (...) {
            m_writer = nullptr;
            throw;
        }
        m_writer = nullptr;
    }
    writeStreamFile(m_name, bytes);
}

void TSaver::Action(TElement* element)
{
    if (element->ID() > m_mark)
        return;
    element->SetID(m_counter++);
    element->WriteTo(*m_writer);
}

void RegisterT_saverUnit()
{
    RegisterUnitClasses({TSaver::StaticClass(), TSave::StaticClass()});
}
