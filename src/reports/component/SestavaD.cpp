// Data questions of a report answered from a data set.
#include "reports/component/SestavaD.h"

#include "platform/Exceptions.h"
#include "platform/db/DataSet.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"
#include "reports/model/ReportTexts.h"

namespace reports {

namespace {

void showError(int textId)
{
    ui::services().messageBox(reportText(textId), QString(), ui::MsgType::Error, ui::Ok);
}

} // namespace

TSestavaD::TSestavaD() = default;
TSestavaD::~TSestavaD() = default;

db::Field* TSestavaD::field(int index) const
{
    const db::DataSet* set = m_link.dataSet();
    if (fromLists() || !set || !set->Active() || index < 0 || index >= set->FieldCount()) return nullptr;
    return &set->Fields(index);
}

void TSestavaD::GetData()
{
    if (OnGetData) OnGetData(*this);
}

int TSestavaD::StepData(int dir)
{
    if (OnStepData) {
        m_lastStepAnswer = OnStepData(*this, dir);
    } else if (db::DataSet* set = m_link.dataSet(); set && set->Active()) {
        switch (dir) {
        case sdFirst: set->First(); break;
        case sdPrior: set->Prior(); break;
        case sdNext: set->Next(); break;
        default: set->Last();
        }
    }
    const int answer = DataFlags();
    GetData();
    return answer;
}

int TSestavaD::DataFlags()
{
    if (OnStepData) return m_lastStepAnswer;
    const db::DataSet* set = m_link.dataSet();
    if (!set || !set->Active()) return srBof | srEof;
    return (set->Bof() ? srBof : 0) | (set->Eof() ? srEof : 0);
}

bool TSestavaD::DataIsEmpty()
{
    if (OnGetData || OnStepData) return false;
    const db::DataSet* set = m_link.dataSet();
    return set && set->Active() && set->IsEmpty();
}

void TSestavaD::SaveDataPosition()
{
    const db::DataSet* set = m_link.dataSet();
    m_savedPosition = !OnStepData && set && set->Active() ? set->GetBookmark() : db::Bookmark();
}

void TSestavaD::RestoreDataPosition()
{
    db::DataSet* set = m_link.dataSet();
    if (OnStepData || !set || !set->Active() || !set->BookmarkValid(m_savedPosition)) return;
    set->GotoBookmark(m_savedPosition);
    GetData();
}

void TSestavaD::DoTiskPrvku(const TVoReportElement& element, bool& print)
{
    if (OnTiskPrvku) OnTiskPrvku(*this, element, print);
}

int TSestavaD::ColumnDataType(int index) const
{
    const db::Field* f = field(index);
    if (!f) return TSestavaTyp::ColumnDataType(index);
    int type = int(f->DataType());
    if (OnGetDataType) OnGetDataType(const_cast<TSestavaD&>(*this), index, type);
    return type == ctFmtMemo ? ctMemo : type;
}

int TSestavaD::ColumnAlignment(int index) const
{
    const db::Field* f = field(index);
    int alignment = f ? int(f->Alignment()) : 0;
    if (f && OnGetAlignment) OnGetAlignment(const_cast<TSestavaD&>(*this), index, alignment);
    return alignment;
}

int TSestavaD::ColumnWidth(int index) const
{
    const db::Field* f = field(index);
    return f ? f->DisplayWidth() : 10;
}

QString TSestavaD::ColumnText(int index) const
{
    const db::Field* f = field(index);
    return f ? f->DisplayText() : TSestavaTyp::ColumnText(index);
}

double TSestavaD::ColumnValue(int index) const
{
    const db::Field* f = field(index);
    if (!f) return TSestavaTyp::ColumnValue(index);
    try {
        switch (ColumnDataType(index)) {
        case ctSmallint: case ctInteger: case ctWord: case ctFloat: case ctCurrency: case ctBCD:
        case ctDate: case ctTime: case ctDateTime:
            return f->IsNull() ? 0 : f->AsFloat();
        case ctBoolean: return f->AsBoolean() ? 1 : 0;
        case ctString: return txt::textToFloatDef(f->AsString(), 0);
        default: return 0;
        }
    } catch (const Exception&) {
        return 0;
    }
}

QString TSestavaD::ColumnMemo(int index) const
{
    const db::Field* f = field(index);
    return f ? f->AsString() : TSestavaTyp::ColumnMemo(index);
}

QImage TSestavaD::ColumnPicture(int index) const
{
    const db::Field* f = field(index);
    if (!f || f->IsNull()) return TSestavaTyp::ColumnPicture(index);
    QImage picture;
    picture.loadFromData(f->Value().toByteArray());
    return picture;
}

void TSestavaD::ColumnsFromData()
{
    const db::DataSet* set = m_link.dataSet();
    if (fromLists() || !set || !set->Active()) return;
    QStringList names;
    QStringList labels;
    for (int i = 0; i < set->FieldCount(); ++i) {
        names << set->Fields(i).FieldName();
        labels << set->Fields(i).DisplayLabel();
    }
    SetColumns(names);
    ColumnLabels = labels;
    for (int i = 0; i < Details.Count(); ++i)
        if (auto* variant = dynamic_cast<TSestavaD*>(Details.VariantAt(i))) variant->ColumnsFromData();
}

bool TSestavaD::CheckReady()
{
    if (!checkOwnData()) return false;
    for (int i = 0; i < Details.Count(); ++i)
        if (auto* variant = dynamic_cast<TSestavaD*>(Details.VariantAt(i)); variant && !variant->CheckReady()) return false;
    return true;
}

bool TSestavaD::checkOwnData()
{
    m_openedByCheck = false;
    if (OnGetData) return true;
    if (!DataSource()) {
        showError(65137);
        return false;
    }
    db::DataSet* set = m_link.dataSet();
    if (!set) {
        showError(65138);
        return false;
    }
    if (set->Active()) return true;
    if (ui::services().messageBox(reportText(65139), QString(), ui::MsgType::Confirmation, ui::YesNo) != ui::Answer::Yes)
        return false;
    try {
        set->Open();
    } catch (const Exception&) {
    }
    if (!set->Active()) {
        showError(65140);
        return false;
    }
    m_openedByCheck = true;
    return true;
}

} // namespace reports
