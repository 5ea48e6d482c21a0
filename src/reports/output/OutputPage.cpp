// Drawing order of the items of a page.
#include "reports/output/OutputPage.h"

namespace reports {

namespace {

// The sign of a - b, without the subtraction (template numbers may be any integer).
int compare(int a, int b)
{
    return (a > b) - (a < b);
}

} // namespace

int TStranaPrvku::CompareItems(const ItemStyle& existing, const ItemStyle& added)
{
    if (existing.isText() && added.isText()) return compare(existing.TextFlags, added.TextFlags);
    if (existing.isGraphic() && added.isGraphic()) return 0;
    return compare(added.Kind, existing.Kind);
}

// The order CompareItems gives a page: unknown kinds above 11 first, by falling kind; then
// the graphics, all equal; then the texts by rising flags; then unknown kinds below 1, by
// falling kind. Each part takes 2^34 ranks, enough for any int key offset to be positive.
long long TStranaPrvku::rankOf(const ItemStyle& style)
{
    constexpr long long part = 1LL << 34;
    constexpr long long offset = 1LL << 32;
    if (style.isGraphic()) return part;
    if (style.isText()) return 2 * part + offset + style.TextFlags;
    return (style.Kind > 0 ? 0 : 3 * part) + offset - style.Kind;
}

TVystPrvek& TStranaPrvku::AddItem(TVystPrvek item)
{
    const auto [at, isNew] = m_layers.try_emplace(rankOf(item.Style));
    Layer& layer = at->second;
    if (isNew) layer.number = int(m_layers.size());
    item.Layer = layer.number;
    TVystPrvek& stored = m_items.emplace_back(std::move(item));
    layer.items.push_back(&stored);
    m_isOrdered = false;
    return stored;
}

const std::vector<TVystPrvek*>& TStranaPrvku::drawingOrder() const
{
    if (m_isOrdered) return m_order;
    m_order.clear();
    m_order.reserve(m_items.size());
    for (const auto& entry : m_layers)
        m_order.insert(m_order.end(), entry.second.items.rbegin(), entry.second.items.rend());
    m_isOrdered = true;
    return m_order;
}

} // namespace reports
