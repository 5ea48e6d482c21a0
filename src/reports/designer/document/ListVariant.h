// The designer's undo list: document states with the captions of the changes that made them.
#pragma once

#include "reports/designer/document/DocumentState.h"

#include <QString>

#include <vector>

namespace reports::designer {

// Entry 0 is the state as loaded ("Základní varianta"); each recorded change appends one.
// Entries above the current one are the redo steps, those below it the undo steps.
// Invariants: 0 <= current < count <= depth after every operation.
class TListVariant
{
public:
    static constexpr int DefaultDepth = 10;
    static constexpr qsizetype MaxCaption = 32;

    explicit TListVariant(DocumentState base = {});

    int Count() const { return int(m_entries.size()); }
    int CurrentIndex() const { return m_current; }
    int Depth() const { return m_depth; }
    // Assumes a valid index.
    const DocumentState& Snapshot(int index) const { return m_entries[std::size_t(index)].State; }
    const DocumentState& Current() const { return Snapshot(m_current); }
    QString Caption(int index) const { return m_entries[std::size_t(index)].Caption; }

    // Depth n, at least 1: drops the oldest entries while the current one is above entry 0,
    // then the newest redo steps.
    void SetDepth(int n);
    // Drops the redo steps, and entry 0 when the list is full; appends the state under the
    // caption cut to 32 characters and makes it current. A non-empty merge key lets later
    // changes of the same key merge into this entry.
    void Push(const QString& caption, DocumentState state, const QString& mergeKey = {});
    // Replaces the current entry's state when it is the newest and was pushed under the same
    // non-empty merge key; answers whether it did.
    bool Merge(const QString& mergeKey, DocumentState state);
    // Gives the current entry a new state without a step (a template loaded or generated).
    void ReplaceCurrent(DocumentState state);
    // Keeps only the current entry, which becomes entry 0 and takes no more merges.
    void KeepCurrentOnly();

    bool CanUndo() const { return m_current >= 1; }
    bool CanRedo() const { return m_current < Count() - 1; }
    bool StepBack();
    bool StepForward();
    // "Zrušit <caption of the current entry>", or "Zrušit změny" with nothing to undo.
    QString UndoHint() const;
    // "Znovu <caption of the next entry>", or "Znovu změny" with nothing to redo.
    QString RedoHint() const;

private:
    struct Entry
    {
        QString Caption;
        DocumentState State;
        QString MergeKey;
    };

    std::vector<Entry> m_entries;
    int m_depth = DefaultDepth;
    int m_current = 0;
};

} // namespace reports::designer
