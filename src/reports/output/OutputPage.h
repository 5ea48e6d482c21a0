// One output page: its items in drawing order.
#pragma once

#include "reports/output/OutputItem.h"

#include <deque>
#include <map>
#include <vector>

namespace reports {

// TStranaPrvku. Lines, shapes and pictures lie under texts, texts are ordered by their
// flags, and a new item goes in front of its equals: sections place their elements from the
// last to the first, so equal items end up in template order.
class TStranaPrvku
{
public:
    TStranaPrvku() = default;
    // Its layers point into its own items: a copy would point into the original's.
    TStranaPrvku(const TStranaPrvku&) = delete;
    TStranaPrvku& operator=(const TStranaPrvku&) = delete;

    // Inserts in drawing order and gives the item its layer; answers the stored item, which
    // stays where it is while the page lives.
    TVystPrvek& AddItem(TVystPrvek item);
    // Comparison of an existing item against a new one: texts by flags, graphics equal,
    // otherwise the new kind minus the existing kind, as a sign.
    static int CompareItems(const ItemStyle& existing, const ItemStyle& added);

    int count() const { return int(m_items.size()); }
    const TVystPrvek& item(int i) const { return *drawingOrder().at(size_t(i)); }
    TVystPrvek& item(int i) { return *drawingOrder().at(size_t(i)); }

private:
    // Items that compare equal form a layer; the page is its layers in the order the
    // comparison gives, each layer's items newest first.
    struct Layer {
        int number = 0;                     // layers are numbered in the order they appear
        std::vector<TVystPrvek*> items;     // in the order they were added
    };
    static long long rankOf(const ItemStyle& style);
    const std::vector<TVystPrvek*>& drawingOrder() const;

    std::deque<TVystPrvek> m_items;          // owned, in the order added; never moved
    std::map<long long, Layer> m_layers;     // by rank, see rankOf()
    // The items in drawing order, rebuilt on the first read after an addition.
    mutable std::vector<TVystPrvek*> m_order;
    mutable bool m_isOrdered = true;
};

} // namespace reports
