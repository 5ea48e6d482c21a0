// Database tables as model classes: a table or query whose rows appear as elements of a container.
#pragma once

#include "framework/core/Elements.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace db {
class DataSet;
class DataSource;
class Query;
class Table;
} // namespace db

class TDatabaseClass;

// Kind of data source of a TDatabaseClass (published as DataSourceType).
enum TDSType : int { dstTable = 0, dstSQL = 1, dstSQLdef = 2, dstQBE = 3, dstText = 4 };

// The N-th field (from 1) of a text whose fields are separated by ";" (the last one needs no
// closing ";"); empty when there is no such field.
QString GetFieldN(const QString& text, int n);

// One row of a TDatabaseClass seen as an element: its Name is the row's NameField value, its
// ElementAdress the row's key values, each followed by ";". Property reads by a field name give
// the row's field value; other names read the published properties.
// The owning TDatabaseClass is referred to, not owned; a row element outlives it harmlessly
// (it then reads nothing).
class TVirtualElement : public TOwnerElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TDatabaseClass* OwnerClass() const;
    void SetOwnerClass(TDatabaseClass* owner);
    const QString& ElementAdress() const { return m_elementAdress; }
    void SetElementAdress(const QString& adress) { m_elementAdress = adress; }
    // The owner's PropertyCount; 0 without owner.
    qint32 PropertyCount() const;

    // The owner's RecordSize; 0 without owner.
    qint32 Size() override;
    // The row's field `name` (letter case ignored) when the data set has one; else the published
    // property. Empty without owner.
    QString GetPropAsString(const QString& name) override;

private:
    WeakRef<TDatabaseClass> m_owner;
    QString m_elementAdress;
};

// A table (Paradox, through db::Table) or an SQL query (db::Query) shown as a container whose
// children are its rows (TVirtualElement). Nothing is copied: Items, FindElementByName and IndexOf
// move the data set's cursor and describe the row they reach. One row element is handed out
// again and again, describing the row asked for last, until a container takes it; then a new
// one is made (the container owns the old one).
//
// The data set is opened on first need and stays open. A source that cannot be opened beeps at
// each access and shows no rows. Field names that the data set lacks (AdressField, NameField)
// raise EDatabaseError to the caller.
//
// Key fields: the ";"-separated names of AdressField; with an empty AdressField the NameField
// serves as the only key field (the stored text stays empty). FindElementByName compares the
// first key field.
//
// The class creates and owns its table, query and data source.
class TDatabaseClass : public TOwnerEntity
{
public:
    TDatabaseClass();
    ~TDatabaseClass() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& DataSourcePath() const { return m_dataSourcePath; }
    void SetDataSourcePath(const QString& path);
    const QString& DataSource() const { return m_dataSource; }
    void SetDataSource(const QString& tableName);
    const QString& AdressField() const { return m_adressField; }
    void SetAdressField(const QString& fields) { m_adressField = fields; }
    const QString& NameField() const { return m_nameField; }
    void SetNameField(const QString& field) { m_nameField = field; }
    TDSType DataSourceType() const { return m_dataSourceType; }
    void SetDataSourceType(TDSType type) { m_dataSourceType = type; }
    // The SQL lines of the query kinds; a change closes an open query.
    const QStringList& SQL() const { return m_sql; }
    void SetSQL(const QStringList& lines);

    // Columns of the opened data set; 0 when it cannot be opened.
    qint32 PropertyCount() const;
    // Sum of the record-buffer sizes of all fields; 0 when it cannot be opened.
    qint32 RecordSize() const;

    // Opens the data source when needed; false (after a beep) when it cannot be opened.
    bool OpenDataSource() const;
    // The data source all reads go through (its data set is the opened table or query).
    db::DataSource& DataSourceLink() const { return *m_link; }
    // The opened table or query; nil before the first successful opening.
    db::DataSet* DataSet() const;

    // Count × RecordSize (EIntOverflow beyond 32 bits).
    qint32 WholeSize() override;
    bool IsEmpty() const override;
    // Record count of the opened data set; 0 when it cannot be opened.
    int Count() const override;
    // The row at 0-based position index; nil when the source cannot be opened or index lies
    // outside 0..Count-1.
    TElement* Items(int index) const override;
    // 0-based row position of the row with the element's key; -1 when none (or no row element).
    int IndexOf(const TElement* element) const override;
    // Rows are never removed through the model.
    void Clear() override;
    // The row whose first key field equals name ignoring letter case; nil when none.
    TElement* FindElementByName(const QString& name) const override;

    // The text of field `field` in the row of the given address; empty when no row has it.
    QString FieldValue(const QString& field, const QString& adress) const;

private:
    // The key fields as row addresses use them.
    QStringList keyFields() const;
    // The field that FindElementByName compares.
    QString lookupField() const;
    bool openTable() const;
    bool openQuery() const;
    // The row element describing the current row.
    TVirtualElement* makeRowElement() const;
    QString rowAdress(const QStringList& keys) const;
    bool rowHasAdress(const QStringList& keys, const QString& adress, bool ignoreCase) const;
    // Visits at most Count rows from the current one, wrapping to the first; stops on the row
    // for which `match` answers true (left current) and answers whether one did.
    template<class Match>
    bool scanRows(Match match) const;
    bool seekByKey(const QStringList& keys, const QString& adress) const;
    // The data source-changed hook: a new table name or path takes effect at the next access.
    void dataSourceChanged();

    QString m_dataSourcePath;
    QString m_dataSource;
    QString m_adressField;
    QString m_keyIndexName;   // always empty: the primary index
    TDSType m_dataSourceType = dstTable;
    QStringList m_sql;
    QString m_nameField;

    // Created on first use and kept open; reads move their cursor, so the element tree's const
    // queries work on them too.
    mutable std::unique_ptr<db::Table> m_table;
    mutable std::unique_ptr<db::Query> m_query;
    std::unique_ptr<db::DataSource> m_link;
    // The row element handed out last, while no container holds it.
    mutable Owned<TVirtualElement> m_rowElement;
};

// Registers the classes of this unit (TDatabaseClass).
void RegisterE_dclassUnit();
