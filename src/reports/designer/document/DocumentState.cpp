// Queries over one state of the designed template.
#include "reports/designer/document/DocumentState.h"

namespace reports::designer {

ElementPlace DocumentState::Find(ElementId id) const
{
    for (int b = 0; b < BandCount(); ++b) {
        const BandElements& band = Band(b);
        for (std::size_t i = 0; i < band.size(); ++i) {
            if (band[i].Id == id)
                return {b, int(i)};
        }
    }
    return {};
}

const TVoReportElement* DocumentState::Element(ElementId id) const
{
    const ElementPlace place = Find(id);
    return place.isValid() ? Band(place.Band)[std::size_t(place.Position)].Element.get() : nullptr;
}

std::vector<ElementId> DocumentState::Ids() const
{
    std::vector<ElementId> ids;
    for (const auto& band : Bands) {
        for (const DocumentElement& e : *band)
            ids.push_back(e.Id);
    }
    return ids;
}

int DocumentState::ElementCount() const
{
    int count = 0;
    for (const auto& band : Bands)
        count += int(band->size());
    return count;
}

} // namespace reports::designer
