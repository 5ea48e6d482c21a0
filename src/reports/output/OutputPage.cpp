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

TVystPrvek& TStranaPrvku::AddItem(TVystPrvek item)
{
    const bool text = item.Style.isText();
    const bool graphic = item.Style.isGraphic();
    m_graphics += graphic;
    for (auto it = m_items.begin() + (text ? m_graphics : 0); it != m_items.end(); ++it) {
        const int c = CompareItems((*it)->Style, item.Style);
        if (c < 0) continue;
        item.Layer = c == 0 ? (*it)->Layer : ++m_layers;
        return **m_items.insert(it, std::make_unique<TVystPrvek>(std::move(item)));
    }
    item.Layer = ++m_layers;
    m_items.push_back(std::make_unique<TVystPrvek>(std::move(item)));
    return *m_items.back();
}

} // namespace reports
