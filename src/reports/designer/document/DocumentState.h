// One immutable state of the designed template: settings, user functions, each band's
// elements in z-order, and the lines kept as read. States share what an edit leaves alone.
#pragma once

#include "reports/designer/DesignerTypes.h"
#include "reports/model/ReportElement.h"
#include "reports/model/TemplateRecords.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace reports::designer {

// An element of a band under its id; the element is never changed once shared.
struct DocumentElement
{
    ElementId Id = NoElement;
    std::shared_ptr<const TVoReportElement> Element;
};

// A band's elements, the first at the back.
using BandElements = std::vector<DocumentElement>;

// Where an element lies: its band index and its position in the band's z-order.
struct ElementPlace
{
    int Band = -1;
    int Position = -1;
    bool isValid() const { return Band >= 0; }
    bool operator==(const ElementPlace&) const = default;
};

// A value: copying it copies pointers only. Bands are indexed by band index: the five fixed
// ones, then the start and end band of each group in list position (5 + 2g, 6 + 2g).
struct DocumentState
{
    std::shared_ptr<const TemplateSettings> Settings;
    std::shared_ptr<const std::vector<FunctionSettings>> Functions;
    std::vector<std::shared_ptr<const BandElements>> Bands;
    std::shared_ptr<const QStringList> KeptLines;   // D lines and lines of no known kind

    int BandCount() const { return int(Bands.size()); }
    // Assumes a valid band index.
    const BandElements& Band(int band) const { return *Bands[std::size_t(band)]; }
    ElementPlace Find(ElementId id) const;
    // The element, or null when the state has none under the id.
    const TVoReportElement* Element(ElementId id) const;
    // Every id in band order, each band back to front.
    std::vector<ElementId> Ids() const;
    int ElementCount() const;
};

} // namespace reports::designer
