// The designer's undo list.
#include "reports/designer/document/ListVariant.h"

#include "reports/model/ReportTexts.h"

namespace reports::designer {
namespace {

constexpr int textBase = 65095;      // "Základní varianta"
constexpr int textUndo = 65096;      // "Zrušit"
constexpr int textUndoNone = 65097;  // "Zrušit změny"
constexpr int textRedo = 65098;      // "Znovu"
constexpr int textRedoNone = 65099;  // "Znovu změny"

} // namespace

TListVariant::TListVariant(DocumentState base)
{
    m_entries.push_back({reportText(textBase), std::move(base), {}});
}

void TListVariant::SetDepth(int n)
{
    m_depth = n < 1 ? 1 : n;
    while (Count() > m_depth && m_current >= 1) {
        m_entries.erase(m_entries.begin());
        --m_current;
    }
    while (Count() > m_depth && Count() - 1 > m_current)
        m_entries.pop_back();
}

void TListVariant::Push(const QString& caption, DocumentState state, const QString& mergeKey)
{
    m_entries.erase(m_entries.begin() + m_current + 1, m_entries.end());
    if (m_current == m_depth - 1)
        m_entries.erase(m_entries.begin());
    m_entries.push_back({caption.left(MaxCaption), std::move(state), mergeKey});
    m_current = Count() - 1;
}

bool TListVariant::Merge(const QString& mergeKey, DocumentState state)
{
    Entry& current = m_entries[std::size_t(m_current)];
    if (mergeKey.isEmpty() || CanRedo() || current.MergeKey != mergeKey)
        return false;
    current.State = std::move(state);
    return true;
}

void TListVariant::ReplaceCurrent(DocumentState state)
{
    Entry& current = m_entries[std::size_t(m_current)];
    current.State = std::move(state);
    current.MergeKey.clear();
}

void TListVariant::KeepCurrentOnly()
{
    m_entries.erase(m_entries.begin() + m_current + 1, m_entries.end());
    m_entries.erase(m_entries.begin(), m_entries.begin() + m_current);
    m_current = 0;
    m_entries.front().MergeKey.clear();
}

bool TListVariant::StepBack()
{
    if (!CanUndo())
        return false;
    --m_current;
    return true;
}

bool TListVariant::StepForward()
{
    if (!CanRedo())
        return false;
    ++m_current;
    return true;
}

QString TListVariant::UndoHint() const
{
    if (!CanUndo())
        return reportText(textUndoNone);
    return reportText(textUndo) + QLatin1Char(' ') + Caption(m_current);
}

QString TListVariant::RedoHint() const
{
    if (!CanRedo())
        return reportText(textRedoNone);
    return reportText(textRedo) + QLatin1Char(' ') + Caption(m_current + 1);
}

} // namespace reports::designer
