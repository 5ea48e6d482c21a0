// The forest-unit source over the SQL database of forest units.
#pragma once

#include "app/sources/Source.h"
#include "app/sources/sql/LhcDatabase.h"

#include <memory>
#include <optional>

namespace sqlsrc {

// Chooses a unit in the list of the connected database; nullopt when the choice was cancelled.
using UnitChooser = std::function<std::optional<UnitKey>(const QString& databaseName)>;

// What the source asks of the user: the program's dialogs unless replaced (tests answer themselves).
LoginDialog& loginDialog();
UnitChooser& unitChooser();

// Kind 5. One connection and one login per source (the program's run); every restart shows the
// unit list, reads the chosen unit's header and walks its stands compartment by compartment.
// A cancelled login or list gives no compartments and no unit.
class SqlSource : public app::Source
{
public:
    explicit SqlSource(app::SourceContext context);
    ~SqlSource() override;

    quint8 kind() const override;
    void loadHeader(TLesniCelek& unit) override;
    QStringList buildCompartmentList(TLesniCelek& unit) override;
    bool loadFirstCompartment(TLesniCelek& unit) override;
    bool endOfData() const override;
    bool loadNextCompartment(TLesniCelek& unit) override;
    bool hasUnit() const override { return m_key.has_value(); }

    // The name of the source's database connection.
    static QString databaseName();
    std::optional<UnitKey> chosenUnit() const { return m_key; }

private:
    bool connect();
    void loadCompartment(TLesniCelek& unit);

    app::SourceContext m_context;
    db::Database m_database;
    std::unique_ptr<LoaderQueries> m_queries;
    std::optional<UnitKey> m_key;
};

std::unique_ptr<app::Source> createSqlSource(const app::SourceContext& context);

} // namespace sqlsrc
