// One output page: its items in drawing order.
#pragma once

#include "reports/output/OutputItem.h"

#include <memory>
#include <vector>

namespace reports {

// TStranaPrvku. Lines, shapes and pictures lie under texts, texts are ordered by their
// flags, and a new item goes in front of its equals: sections place their elements from the
// last to the first, so equal items end up in template order.
class TStranaPrvku
{
public:
    // Inserts in drawing order and gives the item its layer; answers the stored item.
    TVystPrvek& AddItem(TVystPrvek item);
    // Comparison of an existing item against a new one: texts by flags, graphics equal,
    // otherwise the new kind minus the existing kind, as a sign.
    static int CompareItems(const ItemStyle& existing, const ItemStyle& added);

    int count() const { return int(m_items.size()); }
    const TVystPrvek& item(int i) const { return *m_items.at(size_t(i)); }
    TVystPrvek& item(int i) { return *m_items.at(size_t(i)); }

private:
    // Owned items; pointers keep insertion cheap on pages of many items.
    std::vector<std::unique_ptr<TVystPrvek>> m_items;
    int m_layers = 0;
    // Graphic items always precede texts; a text's place is searched after them.
    int m_graphics = 0;
};

} // namespace reports
