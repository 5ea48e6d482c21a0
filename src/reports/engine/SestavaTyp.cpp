// The report at run time.
#include "reports/engine/SestavaTyp.h"

#include "platform/files/Files.h"
#include "platform/paint/PictureLoader.h"
#include "reports/engine/ReportRun.h"
#include "reports/output/TextMeasurer.h"

namespace reports {

TSestavaTyp::TSestavaTyp()
{
    Output.setPictureLoader([this](const QString& name) {
        QImage picture;
        return NactiObraz(name, picture) ? picture : QImage();
    });
}

TSestavaTyp::~TSestavaTyp()
{
    ReleaseOperandHost(this);
}

int TSestavaTyp::StepData(int)
{
    GetData();
    return srBof | srEof;
}

void TSestavaTyp::DoTiskOddilu(const TOddilSestavy&, bool&) {}

void TSestavaTyp::DoTiskPrvku(const TVoReportElement&, bool&) {}

const TextMeasurer& TSestavaTyp::measurer() const
{
    static const FontMetricsMeasurer real;
    return m_measurer ? *m_measurer : real;
}

bool TSestavaTyp::NactiObraz(const QString& name, QImage& picture)
{
    if (ParentReport()) return ReportModel::NactiObraz(name, picture);
    if (!files::fileExists(files::resolvePath(name))) return false;
    picture = paint::loadPicture(name);
    return true;
}

int TSestavaTyp::RunReport(bool topLevel)
{
    m_clipped = false;
    return ReportRun(*this, topLevel).run();
}

} // namespace reports
