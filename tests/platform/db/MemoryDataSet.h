// A dataset over rows held in the test: the smallest subclass of db::DataSet.
#pragma once

#include "platform/db/DataSet.h"

#include <vector>

namespace test {

class MemoryDataSet : public db::DataSet
{
public:
    MemoryDataSet(std::vector<db::FieldDef> defs, std::vector<std::vector<QVariant>> rows)
        : m_defs(std::move(defs)), m_rows(std::move(rows)), m_gone(m_rows.size(), false) {}
    ~MemoryDataSet() override { closeForDestruction(); }

    bool writable = true;
    int writes = 0;
    const std::vector<std::vector<QVariant>>& rows() const { return m_rows; }

protected:
    void openSource() override
    {
        for (const auto& d : m_defs)
            addField(d);
    }
    void closeSource() override {}
    int sourceRecordCount() const override { return int(m_rows.size()); }
    QVariant sourceValue(int record, int field) const override { return m_rows[size_t(record)][size_t(field)]; }
    bool sourceRecordDeleted(int record) const override { return m_gone[size_t(record)]; }
    bool sourceCanModify() const override { return writable; }
    int writeRecord(int record, const std::vector<QVariant>& values) override
    {
        ++writes;
        if (record < 0) {
            m_rows.push_back(values);
            m_gone.push_back(false);
            return int(m_rows.size()) - 1;
        }
        m_rows[size_t(record)] = values;
        return record;
    }
    void removeRecord(int record) override { m_gone[size_t(record)] = true; }

private:
    std::vector<db::FieldDef> m_defs;
    std::vector<std::vector<QVariant>> m_rows;
    std::vector<bool> m_gone;
};

// Rows 1..n of one integer field "ID" (values 10, 20, 30 ...) and a string "NAME".
inline std::vector<std::vector<QVariant>> numberedRows(int n)
{
    std::vector<std::vector<QVariant>> rows;
    for (int i = 1; i <= n; ++i)
        rows.push_back({QVariant(i * 10), QVariant(QStringLiteral("řádek %1").arg(i))});
    return rows;
}

inline std::vector<db::FieldDef> numberedDefs()
{
    return {db::FieldDef{QStringLiteral("ID"), db::FieldType::ftInteger, 0},
            db::FieldDef{QStringLiteral("NAME"), db::FieldType::ftString, 20}};
}

} // namespace test
