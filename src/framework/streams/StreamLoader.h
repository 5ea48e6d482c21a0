// Loaders of element trees: the model stream "LMX0" (TLoad) and the element stream "TPF0" (TLoader).
#pragma once

#include "framework/tools/Tools.h"
#include "platform/Exceptions.h"

#include <QSet>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

class TReader;

// An empty stream or file name.
class EBadStreamName : public Exception
{
public:
    using Exception::Exception;
};

// Reads a model stream (layout in StreamFormats.h) and leaves its root as Output. The loaded model
// is owned by nobody: the caller takes the root. Elements written in place are owned by nobody
// either; the properties that refer to them are their only link.
//
// Stored properties are matched to the live class by name and kind, so a stream of an older class
// layout still loads. A value that matches no live property, or cannot be read as its kind, is
// stepped over by its stored kind. A record of a class that is not registered keeps its place in
// the element table (empty), so later indexes stay right; elements left without a holder by such
// records are freed at the end. A reference to an element read later is resolved after the last
// record. A child that the entity lists already, or that is the entity or contains it (a damaged
// stream's cycle of child lists), is refused like a child index that does not exist. Errors inside a record are swallowed and reading goes on with the next item; errors
// outside records are raised (the elements read so far are freed), and so are lists or in-place
// elements nested more than 256 deep (EBadStream), which no model has.
class TLumexLoader : public TTool
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // "FileName" for every index.
    QString GetParamName(int index) override;

    const QString& FileName() const { return m_fileName; }
    void SetFileName(const QString& name) { m_fileName = name; }

protected:
    struct StoredProperty {
        QString name;
        qint32 kind = tkUnknown;
        PPropInfo live = nullptr;   // the matched live property, nil when unmatched
    };
    struct StoredClass {
        QString name;
        TClass cls = nullptr;   // nil: not registered (or not an element class)
        std::vector<StoredProperty> properties;
        int nextExpected = 0;
    };

    // Reads the model from the reader, which stands after the signature. Raises EBadStream
    // ("Soubor <name> neobsahuje žádný element!") when the stream holds no root.
    void LoadModel(TReader& reader, qint64 sourceSize);

    // The steps of a load, in their order; descendants override them.
    // Hourglass, progress over SourceSize, pending events run.
    virtual void BeginLoading();
    virtual void EndLoading();
    virtual void StepLoading();
    // Size of the source in bytes.
    virtual qint64 SourceSize() const { return m_sourceSize; }
    // A new element table and class list; FreeTables forgets them (the elements are not freed).
    virtual void CreateTables();
    virtual void FreeTables();
    virtual void NewClassList();
    virtual void ReadHeader();
    virtual void AfterHeader() {}
    virtual void ReadClassEntry();
    // A new class entry, bound to the live class of that name when one is registered.
    virtual void BeginClassEntry(const QString& name);
    // A stored property of the current class entry, matched to a live property by name and kind.
    virtual void AddStoredProperty(const QString& name, qint32 kind);
    // Reads one list of items; answers the index of the last record of the list (-1: none).
    virtual qint32 ReadElements(std::vector<qint32>* records);
    // The element of a record of the class entry numbered classNumber; nil for a class that is not
    // registered. Raises EBadStream for a number no entry has.
    virtual Owned<TElement> BeginElement(qint32 classNumber);
    virtual void ReadProperties(TElement* element, const StoredClass& stored);
    virtual void ApplyValue(TElement* element, PPropInfo prop, const PropValue& value);
    virtual void ReadChildren(TElement* element);
    virtual void AddStoredChild(TElement* element, qint32 index);

private:
    struct PendingReference {
        WeakRef<TElement> element;
        PPropInfo prop;
        qint32 index;
    };
    struct PendingChild {
        WeakRef<TElement> parent;
        qint32 index;
    };

    qint32 ReadRecord(qint32 classNumber);

    std::optional<PropValue> readValue(TElement* element, const StoredProperty* stored);
    std::optional<PropValue> readOrdinal();
    std::optional<PropValue> readChar();
    std::optional<PropValue> readFloat();
    std::optional<PropValue> readString();
    std::optional<PropValue> readReference(TElement* element, const StoredProperty* stored);
    // An element written in place: the element of the inner list's last record.
    TElement* readInPlace();
    // Steps over one value of any kind (an in-place list after -2 included).
    void skipValue();

    TElement* elementAt(qint32 index) const;
    void place(qint32 index, TElement* element);
    void resolvePending();
    void freeOrphans(TElement* output, const std::vector<qint32>& records);
    void freeAll();

    QString m_fileName;
    TReader* m_reader = nullptr;   // during LoadModel
    qint64 m_sourceSize = 0;
    std::deque<StoredClass> m_classes;
    std::vector<WeakRef<TElement>> m_table;   // by stored element index
    std::vector<PendingReference> m_pendingReferences;
    std::vector<PendingChild> m_pendingChildren;
    std::vector<WeakRef<TElement>> m_discarded;   // in-place elements and displaced records, freed unless taken
    QSet<const TElement*> m_referenced;
    int m_nesting = 0;   // lists and in-place elements open while a value is read
};

// Reads a model file: "LMX0" here, "TPF0" through a TLoader.
class TStreamLoader : public TLumexLoader
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Raises EBadStreamName for an empty file name, EBadStream for a missing file
    // ("Soubor <name> neexistuje!"), an unknown signature ("<name> ... neznámý typ souboru") or a
    // stream that breaks outside element records.
    void Execute() override;

protected:
    virtual void LoadElementStream();
};

// TLoad(FileName); Execute; Output.
class TLoad : public TStreamLoader
{
public:
    TLoad() = default;
    explicit TLoad(const QString& fileName) { SetFileName(fileName); }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// Reads an element stream: each element is created by its class name and reads itself through
// ReadFrom. The file is the loader's Name, "LUMEX.LMX" after construction. An unregistered class
// or an element that fails to read shows an error box and leaves no Output (what was read is
// freed).
class TLoader : public TTool
{
public:
    TLoader();
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Raises EBadStreamName for an empty name, EBadStream for a missing file, a wrong signature
    // or a stream without elements.
    void Execute() override;
};

// Registers TLoader and TLoad.
void RegisterT_loaderUnit();
