// A report whose data come from a data source (TSestavaD).
#pragma once

#include "reports/engine/SestavaTyp.h"

#include "platform/db/DataSource.h"

#include <functional>

namespace reports {

// Answers the column questions from the fields of its data source's data set, unless
// OnGetData is assigned: then from the report's own lists, filled by the event.
class TSestavaD : public TSestavaTyp
{
public:
    TSestavaD();
    ~TSestavaD() override;

    db::DataSource* DataSource() const { return m_link.dataSource(); }
    void SetDataSource(db::DataSource* source) { m_link.setDataSource(source); }

    std::function<void(TSestavaD&)> OnGetData;
    std::function<int(TSestavaD&, int dir)> OnStepData;
    std::function<void(TSestavaD&, int index, int& dataType)> OnGetDataType;
    std::function<void(TSestavaD&, int index, int& alignment)> OnGetAlignment;
    // Element veto (no published property).
    std::function<void(TSestavaD&, const TVoReportElement&, bool&)> OnTiskPrvku;

    void GetData() override;
    int StepData(int dir) override;
    // With OnStepData, what the event answered last.
    int DataFlags() override;
    bool DataIsEmpty() override;
    // The data set's record, by bookmark (not when an event steps the data).
    void SaveDataPosition() override;
    void RestoreDataPosition() override;
    void DoTiskPrvku(const TVoReportElement& element, bool& print) override;

    int ColumnDataType(int index) const override;
    int ColumnAlignment(int index) const;
    int ColumnWidth(int index) const;
    QString ColumnText(int index) const override;
    double ColumnValue(int index) const override;
    QString ColumnMemo(int index) const override;
    QImage ColumnPicture(int index) const override;

    // Column names and labels from the data set's fields, in field order.
    void ColumnsFromData();
    // Ready to run: a data source with an open data set (asks to open a closed one), and so
    // is every detail variant.
    virtual bool CheckReady();
    // The data set was opened by CheckReady (and is closed again after the operation).
    bool openedByCheck() const { return m_openedByCheck; }

protected:
    // The field of a column, or null when the data come from the lists or it is missing.
    db::Field* field(int index) const;
    bool fromLists() const { return bool(OnGetData); }

private:
    bool checkOwnData();

    class Link : public db::DataLink
    {
    protected:
        void dataEvent(db::DataEvent, db::Field*) override {}
    };
    Link m_link;
    bool m_openedByCheck = false;
    int m_lastStepAnswer = srBof | srEof;   // of OnStepData
    db::Bookmark m_savedPosition;
};

} // namespace reports
