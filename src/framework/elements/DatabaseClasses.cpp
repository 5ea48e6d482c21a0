// Database tables as model classes: a table or query whose rows appear as elements of a container.
#include "framework/elements/DatabaseClasses.h"

#include "framework/core/ClassRegistry.h"
#include "platform/db/DataSource.h"
#include "platform/db/sql/Query.h"
#include "platform/db/Table.h"
#include "platform/Exceptions.h"
#include "platform/text/Case.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"

#include <QVariantList>

namespace {

const QStringList& dsTypeNames()
{
    static const QStringList names = {QStringLiteral("dstTable"), QStringLiteral("dstSQL"),
                                      QStringLiteral("dstSQLdef"), QStringLiteral("dstQBE"),
                                      QStringLiteral("dstText")};
    return names;
}

// Keeps the controls of a data set disabled for one scope.
class ControlsOff
{
public:
    explicit ControlsOff(db::DataSet& dataSet) : m_dataSet(dataSet) { m_dataSet.DisableControls(); }
    ~ControlsOff() { m_dataSet.EnableControls(); }
    ControlsOff(const ControlsOff&) = delete;
    ControlsOff& operator=(const ControlsOff&) = delete;

private:
    db::DataSet& m_dataSet;
};

QString fieldText(const db::DataSet& dataSet, const QString& field)
{
    return dataSet.FieldByName(field).AsString();
}

} // namespace

QString GetFieldN(const QString& text, int n)
{
    if (n < 1)
        return QString();
    const QStringList parts = text.split(QLatin1Char(';'));
    // "A;B;" splits into A, B and a last empty part that is no field.
    const int count = text.endsWith(QLatin1Char(';')) ? int(parts.size()) - 1 : int(parts.size());
    return n <= count ? parts.at(n - 1) : QString();
}

// --- TVirtualElement ------------------------------------------------------------------------------

TClass TVirtualElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TVirtualElement, TOwnerElement>("TVirtualElement", [](PropertyTable<TVirtualElement>& t) {
            t.string("ElementAdress", &TVirtualElement::ElementAdress, &TVirtualElement::SetElementAdress);
            t.integer("PropertyCount", &TVirtualElement::PropertyCount, nullptr);
        });
    return &info;
}

TDatabaseClass* TVirtualElement::OwnerClass() const
{
    return m_owner.get();
}

void TVirtualElement::SetOwnerClass(TDatabaseClass* owner)
{
    m_owner = owner;
}

qint32 TVirtualElement::PropertyCount() const
{
    const TDatabaseClass* owner = OwnerClass();
    return owner ? owner->PropertyCount() : 0;
}

qint32 TVirtualElement::Size()
{
    const TDatabaseClass* owner = OwnerClass();
    return owner ? owner->RecordSize() : 0;
}

QString TVirtualElement::GetPropAsString(const QString& name)
{
    const TDatabaseClass* owner = OwnerClass();
    if (!owner)
        return QString();
    if (owner->OpenDataSource() && owner->DataSet()->FindField(name))
        return owner->FieldValue(name, m_elementAdress);
    return TOwnerElement::GetPropAsString(name);
}

// --- TDatabaseClass -------------------------------------------------------------------------------

TClass TDatabaseClass::StaticClass()
{
    static const TClassInfo info =
        describeClass<TDatabaseClass, TOwnerEntity>("TDatabaseClass", [](PropertyTable<TDatabaseClass>& t) {
            t.string("DataSourcePath", &TDatabaseClass::DataSourcePath, &TDatabaseClass::SetDataSourcePath);
            t.enumeration(
                "DataSourceType", "TDSType", dsTypeNames(),
                [](TDatabaseClass& d) { return int(d.DataSourceType()); },
                [](TDatabaseClass& d, int v) {
                    // An ordinal outside the type (an unknown identifier reads -1) is ignored.
                    if (v >= dstTable && v <= dstText)
                        d.SetDataSourceType(TDSType(v));
                });
            t.string("DataSource", &TDatabaseClass::DataSource, &TDatabaseClass::SetDataSource);
            t.string("AdressField", &TDatabaseClass::AdressField, &TDatabaseClass::SetAdressField);
            t.string("NameField", &TDatabaseClass::NameField, &TDatabaseClass::SetNameField);
            t.integer("PropertyCount", &TDatabaseClass::PropertyCount, nullptr);
            t.integer("RecordSize", &TDatabaseClass::RecordSize, nullptr);
        });
    return &info;
}

TDatabaseClass::TDatabaseClass() : m_link(std::make_unique<db::DataSource>()) {}

TDatabaseClass::~TDatabaseClass()
{
    // A row element that a container took over stays with it.
    if (m_rowElement && m_rowElement->HolderCount() > 0)
        m_rowElement.release();
    m_link->SetDataSet(nullptr);
}

void TDatabaseClass::SetDataSourcePath(const QString& path)
{
    m_dataSourcePath = path;
    dataSourceChanged();
}

void TDatabaseClass::SetDataSource(const QString& tableName)
{
    m_dataSource = tableName;
    dataSourceChanged();
}

// The original's hook did nothing, so a table once opened kept being read after its name had
// changed. Closing it makes the next access open the named one.
void TDatabaseClass::dataSourceChanged()
{
    if (m_table && m_table->Active())
        m_table->Close();
    if (m_query && m_query->Active())
        m_query->Close();
}

void TDatabaseClass::SetSQL(const QStringList& lines)
{
    m_sql = lines;
    if (m_query && m_query->Active())
        m_query->Close();
}

db::DataSet* TDatabaseClass::DataSet() const
{
    return m_link->dataSet();
}

bool TDatabaseClass::openTable() const
{
    if (!m_table) {
        m_table = std::make_unique<db::Table>();
        m_table->SetName(GetName() + QStringLiteral("_DB"));
    }
    if (m_table->Active()) {
        if (m_table->IndexName() != m_keyIndexName)
            m_table->SetIndexName(m_keyIndexName);
    } else {
        m_table->SetDatabaseName(m_dataSourcePath);
        m_table->SetTableName(m_dataSource);
        m_table->SetIndexName(m_keyIndexName);
        m_table->Open();
    }
    m_link->SetDataSet(m_table.get());
    return true;
}

bool TDatabaseClass::openQuery() const
{
    if (!m_query) {
        m_query = std::make_unique<db::Query>();
        m_query->SetName(GetName() + QStringLiteral("_SQL"));
    }
    if (!m_query->Active()) {
        m_query->SetDatabaseName(m_dataSourcePath);
        m_query->SQL().Clear();
        for (const QString& line : m_sql)
            m_query->SQL().Add(line);
        m_query->Open();
    }
    m_link->SetDataSet(m_query.get());
    return true;
}

// Any failure beeps and leaves the source not ready; the next access tries again.
bool TDatabaseClass::OpenDataSource() const
{
    try {
        switch (m_dataSourceType) {
        case dstTable:
            return openTable();
        case dstSQL:
        case dstSQLdef:
            return openQuery();
        case dstText:
            // The engine's ODBC text driver has no counterpart here.
            throw EDatabaseError(QStringLiteral("Textové tabulky (ovladač ODBC_Text) nejsou podporovány: ") +
                                 m_dataSource);
        case dstQBE:
            return false;
        }
        return false;
    } catch (const std::exception&) {
        ui::services().beep();
        return false;
    }
}

qint32 TDatabaseClass::PropertyCount() const
{
    return OpenDataSource() ? DataSet()->FieldCount() : 0;
}

qint32 TDatabaseClass::RecordSize() const
{
    if (!OpenDataSource())
        return 0;
    const db::DataSet& dataSet = *DataSet();
    qint32 size = 0;
    for (int i = 0; i < dataSet.FieldCount(); ++i)
        size = txt::addChecked(size, dataSet.Fields(i).DataSize());
    return size;
}

qint32 TDatabaseClass::WholeSize()
{
    return txt::mulChecked(Count(), RecordSize());
}

bool TDatabaseClass::IsEmpty() const
{
    return Count() < 1;
}

int TDatabaseClass::Count() const
{
    return OpenDataSource() ? DataSet()->RecordCount() : 0;
}

void TDatabaseClass::Clear() {}

QStringList TDatabaseClass::keyFields() const
{
    if (m_adressField.isEmpty())
        return m_nameField.isEmpty() ? QStringList() : QStringList{m_nameField};
    QStringList keys = m_adressField.split(QLatin1Char(';'));
    if (m_adressField.endsWith(QLatin1Char(';')))
        keys.removeLast();
    return keys;
}

QString TDatabaseClass::lookupField() const
{
    const QString first = GetFieldN(m_adressField, 1);
    return first.isEmpty() ? m_nameField : first;
}

QString TDatabaseClass::rowAdress(const QStringList& keys) const
{
    QString adress;
    for (const QString& key : keys)
        adress += fieldText(*DataSet(), key) + QLatin1Char(';');
    return adress;
}

bool TDatabaseClass::rowHasAdress(const QStringList& keys, const QString& adress, bool ignoreCase) const
{
    for (int k = 0; k < keys.size(); ++k) {
        const QString value = fieldText(*DataSet(), keys.at(k));
        const QString wanted = GetFieldN(adress, k + 1);
        const bool same = ignoreCase ? txt::upperLetters(value) == txt::upperLetters(wanted) : value == wanted;
        if (!same)
            return false;
    }
    return true;
}

template<class Match>
bool TDatabaseClass::scanRows(Match match) const
{
    db::DataSet& dataSet = *DataSet();
    const int count = dataSet.RecordCount();
    if (count < 1)
        return false;
    if (dataSet.currentRow() < 0)
        dataSet.First();
    for (int visited = 0; visited < count; ++visited) {
        if (visited > 0) {
            dataSet.Next();
            if (dataSet.Eof())
                dataSet.First();
        }
        if (match())
            return true;
    }
    return false;
}

TVirtualElement* TDatabaseClass::makeRowElement() const
{
    const QString adress = rowAdress(keyFields());
    const QString name = fieldText(*DataSet(), m_nameField);
    if (m_rowElement && (m_rowElement->HolderCount() > 0 || m_rowElement->OwnersCount() > 0))
        m_rowElement.release();   // a container has taken it over
    if (!m_rowElement) {
        m_rowElement = Create<TVirtualElement>();
        m_rowElement->SetOwnerClass(const_cast<TDatabaseClass*>(this));
    }
    m_rowElement->SetName(name);
    m_rowElement->SetElementAdress(adress);
    return m_rowElement.get();
}

// Moves from the row the cursor is on, so Items(i) reaches row i also after searches moved it.
TElement* TDatabaseClass::Items(int index) const
{
    if (!OpenDataSource())
        return nullptr;
    db::DataSet& dataSet = *DataSet();
    if (index < 0 || index >= dataSet.RecordCount())
        return nullptr;
    {
        const ControlsOff off(dataSet);
        const int current = dataSet.currentRow();
        if (index == 0)
            dataSet.First();
        else if (index == current + 1)
            dataSet.Next();
        else
            dataSet.MoveBy(index - current);
    }
    return makeRowElement();
}

TElement* TDatabaseClass::FindElementByName(const QString& name) const
{
    if (IsEmpty() || !OpenDataSource())
        return nullptr;
    const ControlsOff off(*DataSet());
    const QString field = lookupField();
    const QString wanted = txt::upperLetters(name);
    const bool found = scanRows([&] { return txt::upperLetters(fieldText(*DataSet(), field)) == wanted; });
    return found ? makeRowElement() : nullptr;
}

int TDatabaseClass::IndexOf(const TElement* element) const
{
    const auto* row = dynamic_cast<const TVirtualElement*>(element);
    if (!row || !OpenDataSource())
        return -1;
    const ControlsOff off(*DataSet());
    const QStringList keys = keyFields();
    const bool found = scanRows([&] { return rowHasAdress(keys, row->ElementAdress(), true); });
    return found ? DataSet()->currentRow() : -1;
}

// Goes to the row of the address through the current (primary) index; false when none has it.
bool TDatabaseClass::seekByKey(const QStringList& keys, const QString& adress) const
{
    QVariantList values;
    for (int k = 0; k < keys.size(); ++k)
        values.append(GetFieldN(adress, k + 1));
    try {
        return m_table->FindKey(values);
    } catch (const EConvertError&) {
        return false;   // a text that no key value of that type can equal
    }
}

QString TDatabaseClass::FieldValue(const QString& field, const QString& adress) const
{
    if (!OpenDataSource())
        return QString();
    const QStringList keys = keyFields();
    if (keys.isEmpty())
        return QString();
    if (m_dataSourceType == dstTable && DataSet() == m_table.get()) {
        const std::vector<db::IndexDef> indexes = m_table->IndexDefs();
        if (!indexes.empty() && indexes.front().Primary) {
            const QStringList indexFields = indexes.front().Fields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
            bool leads = keys.size() <= indexFields.size();
            for (int k = 0; leads && k < keys.size(); ++k)
                leads = txt::sameTextAscii(keys.at(k), indexFields.at(k));
            // The index serves only when the row address holds its leading fields.
            if (leads) {
                if (m_table->IndexName() != m_keyIndexName)
                    m_table->SetIndexName(m_keyIndexName);
                return seekByKey(keys, adress) ? fieldText(*m_table, field) : QString();
            }
        }
    }
    const ControlsOff off(*DataSet());
    const bool found = scanRows([&] { return rowHasAdress(keys, adress, false); });
    return found ? fieldText(*DataSet(), field) : QString();
}

void RegisterE_dclassUnit()
{
    RegisterUnitClasses({TDatabaseClass::StaticClass()});
}
