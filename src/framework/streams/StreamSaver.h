// Savers of element trees: the model stream "LMX0" (TSave) and the element stream "TPF0" (TSaver).
#pragma once

#include "framework/tools/Recursors.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <vector>

class TWriter;

// Writes the tree under Input as a model stream (layout in StreamFormats.h). The walk is the
// recursor's, children before their parent; Action writes one element record.
//
// Indexes live in a map of this saver, not in the elements' IDs (a stale ID is no index).
// References to elements of the tree that are written later are forward indexes: the first pass
// notes them and, when there was any, a second pass writes the whole stream with them filled in.
// After a save every element of the tree has its index as ID, elements written in place -1.
class TLumexSaver : public TRecursor
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Without Input nothing is written at all (an existing file stays as it was).
    void Execute() override;
    // "FileName" for every index.
    QString GetParamName(int index) override;
    bool DescendTest(TElement* element) override;
    bool PostTest(TElement*) override { return true; }
    void Action(TElement* element) override;

    const QString& FileName() const { return m_fileName; }
    void SetFileName(const QString& name) { m_fileName = name; }
    // The comment of the header; "No comment" when empty.
    const QString& Comment() const { return m_comment; }
    void SetComment(const QString& text) { m_comment = text; }

protected:
    // Takes the finished stream (the whole file).
    virtual void StoreStream(const QByteArray& bytes) = 0;

    virtual void PrepareClasses();
    virtual void WriteHeader();
    // The class number of the element's class; a new one gets its entry written now.
    virtual int RegisterElementClass(TElement* element);
    virtual void WriteClassEntry(TClass cls, int number);
    virtual void WriteElementHead(int classNumber, qint32 index);
    virtual void WriteProperties(TElement* element);
    virtual void WriteChildren(TElement* element);
    virtual void WriteOrdValue(int propIndex, qint32 value);
    virtual void WriteCharValue(int propIndex, qint32 code);
    virtual void WriteFloatValue(int propIndex, double value);
    virtual void WriteStringValue(int propIndex, const QString& value);
    virtual void WriteReference(int propIndex, TElement* target);

private:
    // One full pass of the stream into bytes.
    QByteArray render();
    // True when a zero (empty) value of the property is what a new instance holds.
    bool zeroIsDefault(TClass cls, int propIndex);
    void writeIndexOf(TElement* target);
    void writeForward(const TElement* target);
    void writeInPlace(TElement* target);
    void collectTree(TElement* root, QSet<const TElement*>& into, const QSet<const TElement*>& skip) const;
    void stepProgress();

    QString m_fileName;
    QString m_comment;
    TWriter* m_writer = nullptr;   // the pass being written
    qint32 m_counter = 0;
    std::vector<TClass> m_classes;                          // class entries of this stream
    QHash<TClass, int> m_classNumbers;
    QHash<TClass, std::vector<char>> m_zeroDefaults;        // per class, per property
    QHash<const TElement*, qint32> m_indexes;               // elements written and not released
    QSet<const TElement*> m_tree;                           // reachable from Input by children
    QSet<const TElement*> m_pending;                        // subtrees being written in place
    std::vector<TElement*> m_inPlaceWritten;                // out-of-tree elements of open lists
    // Forward references: slot k holds the index of the k-th forward reference written.
    std::vector<qint32> m_forwardIndexes;
    QHash<const TElement*, std::vector<size_t>> m_waiting;  // first pass: slots awaiting an index
    size_t m_forwardCursor = 0;
    bool m_secondPass = false;
};

// The model saver into a file; the file is replaced only once the whole stream is ready.
class TStreamSaver : public TLumexSaver
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

protected:
    void StoreStream(const QByteArray& bytes) override;
};

// TSave(FileName); set Input; Execute.
class TSave : public TStreamSaver
{
public:
    TSave() = default;
    explicit TSave(const QString& fileName) { SetFileName(fileName); }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// Writes the tree under Input as an element stream: every element after its children through
// its WriteTo. The file is the saver's Name, "LUMEX.LMX" after construction. The saver marks the
// tree itself; elements are numbered through their IDs, which entities write for their children.
class TSaver : public TRecursor
{
public:
    TSaver();
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Without Input nothing is written at all.
    void Execute() override;
    bool DescendTest(TElement* element) override;
    bool PostTest(TElement*) override { return true; }
    void Action(TElement* element) override;

private:
    TWriter* m_writer = nullptr;
    qint32 m_counter = 0;
    qint32 m_mark = 0;
};

// Replaces the file at the stored path with the bytes; the old file survives a failure.
// Raises EFileError ("Nelze vytvořit soubor <name>") when the file cannot be written.
void writeStreamFile(const QString& fileName, const QByteArray& bytes);

// Registers TSaver and TSave.
void RegisterT_saverUnit();
