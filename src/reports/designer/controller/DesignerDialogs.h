// The designer's modal dialogs as plain exchanges: each fills from a struct and answers the
// edited struct on OK, nothing on cancel.
#pragma once

#include "reports/designer/dialogs/DlgKonfPrvku.h"
#include "reports/designer/dialogs/SestDlg.h"
#include "reports/designer/dialogs/Sest_FnEditVyraz.h"
#include "reports/designer/settings/NastaveniEditoru.h"
#include "reports/designer/wizard/NewReportGenerator.h"
#include "reports/expressions/UserFunctions.h"
#include "reports/model/ReportFont.h"

#include <functional>
#include <optional>

namespace reports::designer {

// The wizard's modal result (1 design, 7 by hand, 2 cancel) and, for 1, what it chose.
struct WizardOutcome
{
    int ModalResult = 2;
    WizardChoice Choice;
};

class DesignerDialogs
{
public:
    virtual ~DesignerDialogs() = default;
    // "Nastavení oddílů a skupin" on page `tab` (-1 any) with group `group` selected.
    virtual std::optional<ReportSettingsData> settings(const ReportSettingsData& data, int tab, int group) = 0;
    virtual std::optional<ElementDialogData> element(const ElementDialogData& data) = 0;
    virtual std::optional<ReportFont> font(const ReportFont& font) = 0;
    virtual std::optional<FunctionSettings> function(const FunctionSettings& function, const ExpressionLists& lists,
                                                     int groupCount) = 0;
    virtual std::optional<NastaveniEditoru> editorSettings(const NastaveniEditoru& settings) = 0;
    // `paperFormat` runs the settings dialog on its paper page ("&Formát papíru").
    virtual WizardOutcome wizard(const QStringList& columnNames, bool byName, const std::function<void()>& paperFormat) = 0;
};

} // namespace reports::designer
