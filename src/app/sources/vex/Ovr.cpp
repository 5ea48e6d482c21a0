// The data-access module over the sibling inventory program's database, versions 97 and 98.
#include "app/sources/vex/Ovr.h"

#include "app/sources/vex/VexLoader.h"

#include "forest/base/TextUtilities.h"
#include "forest/rules/SpeciesTable.h"
#include "platform/Exceptions.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/TableFiles.h"
#include "platform/db/sql/Query.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"

namespace vex {

namespace {

const QString kNavrhOrder = QStringLiteral("Vazba;N_Druh_vykonu;ID");

// The part of a path line up to and including its last separator ("\" or "/").
QString upToLastSeparator(const QString& path)
{
    const int at = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.left(at + 1);
}

} // namespace

bool isPeerProtected(const QString& dbPath)
{
    if (db::paradox::hasIndexFiles(dbPath))
        return true;
    try {
        const db::paradox::ParadoxFile file(dbPath);
        return file.header().keyFieldCount > 0;
    } catch (const Exception&) {
        return true;   // what cannot be read is not ours to change
    }
}

TOvr::TOvr(Version version, OvrOptions options) : m_version(version), m_options(std::move(options))
{
    createTables();
    linkTables();
}

TOvr::~TOvr()
{
    forgetColumns();
    try {
        CloseCodebookTables();
        CloseStandTables();
    } catch (const Exception&) {
        // the program is ending: a table that cannot be written keeps its file as it was
    }
}

void TOvr::createTables()
{
    auto add = [this](const TableLayout& layout) {
        auto t = std::make_unique<db::Table>();
        t->SetName(QString::fromLatin1(layout.component));
        t->SetTableName(QString::fromLatin1(layout.file));
        t->FieldDefs() = parseFields(layout.declared);
        m_tables[t->Name()] = std::move(t);
    };
    for (const TableLayout& l : standTables(m_version))
        add(l);
    for (const TableLayout& l : codebookTables(m_version))
        add(l);
    for (const char* extra : {"TB_OrgUr1", "TB_OrgUr2", "TB_porKTG"})
        add(layoutOf(m_version, QString::fromLatin1(extra)));
    m_lhc = &table(QStringLiteral("Tb_LHC"));
    m_odd = &table(QStringLiteral("TB_ODD"));
    m_dl = &table(QStringLiteral("TB_DL"));
    m_porost = &table(QStringLiteral("TB_Porost"));
    m_porPozn = &table(QStringLiteral("TB_POR_POZN"));
    m_prekryv = &table(QStringLiteral("TB_PREKRYV"));
    m_bzl = &table(QStringLiteral("Tb_BZL"));
    m_sk = &table(QStringLiteral("TB_SK"));
    m_psPozn = &table(QStringLiteral("TB_PS_POZN"));
    m_etaz = &table(QStringLiteral("TB_ETAZ"));
    m_dr = &table(QStringLiteral("TB_DR"));
    m_poskoz = &table(QStringLiteral("Tb_Poskoz"));
    m_tezob = &table(QStringLiteral("TB_TEZOB"));
    m_navrh = &table(QStringLiteral("TB_NAVRH"));
    m_pror = &table(QStringLiteral("TB_Pror"));
    m_zal = &table(QStringLiteral("TB_ZAL"));
    m_navrh1 = &table(QStringLiteral("Tb_navrh1"));
    m_ost = &table(QStringLiteral("Tb_ost"));
    m_jine = &table(QStringLiteral("Tb_jine"));
    m_id = &table(QStringLiteral("TB_ID"));
}

// Each detail shows the rows whose VAZBA is the master row's ID; the four proposal views
// follow the storey through SetNavrhRanges over their composite order.
void TOvr::linkTables()
{
    DTZ_ODD.SetDataSet(m_odd);
    DTZ_DL.SetDataSet(m_dl);
    DTZ_POROST.SetDataSet(m_porost);
    DTZ_SK.SetDataSet(m_sk);
    DTZ_ETAZ.SetDataSet(m_etaz);
    DTZ_DR.SetDataSet(m_dr);
    dtz_NAVRH.SetDataSet(m_navrh);
    dtz_TEZOB.SetDataSet(m_tezob);
    auto link = [](db::Table* detail, db::DataSource& master) {
        detail->SetIndexFieldNames(QStringLiteral("VAZBA"));
        detail->SetMasterSource(&master);
        detail->SetMasterFields(QStringLiteral("ID"));
    };
    if (m_version == Version::V97)
        m_odd->SetIndexFieldNames(QStringLiteral("Vazba"));
    link(m_dl, DTZ_ODD);
    link(m_porost, DTZ_DL);
    link(m_porPozn, DTZ_POROST);
    link(m_prekryv, DTZ_POROST);
    link(m_bzl, DTZ_POROST);
    link(m_sk, DTZ_POROST);
    link(m_psPozn, DTZ_SK);
    link(m_etaz, DTZ_SK);
    link(m_dr, DTZ_ETAZ);
    link(m_poskoz, DTZ_DR);
    link(m_navrh1, DTZ_ETAZ);
    link(m_ost, m_version == Version::V98 ? DTZ_POROST : DTZ_ODD);
    link(m_jine, m_version == Version::V98 ? DTZ_POROST : DTZ_ODD);
    for (db::Table* view : {m_navrh, m_tezob, m_zal, m_pror}) {
        view->SetIndexFieldNames(kNavrhOrder);
        view->AfterOpen = [this](db::DataSet&) { SetNavrhRanges(); };
    }
    m_dr->AfterOpen = [this](db::DataSet&) { SetNavrhRanges(); };
    for (TKSekvenFind* f : {&Find_NAVRH, &Find_TEZOB, &Find_DR}) {
        f->SetFindStyle(FromTop);
        f->SetDataField(QStringLiteral("N_Zkratka_Dreviny"));
    }
    Find_NAVRH.SetDataSource(&dtz_NAVRH);
    Find_TEZOB.SetDataSource(&dtz_TEZOB);
    Find_DR.SetDataSource(&DTZ_DR);
    Find_DR.SetDataField(QStringLiteral("DR_ZKR"));
}

db::Table& TOvr::table(const QString& component) const
{
    const auto it = m_tables.find(component);
    if (it == m_tables.end())
        throw EDatabaseError(QStringLiteral("Neznámá tabulka %1").arg(component));
    return *it->second;
}

QString TOvr::directoryOf(const QString& pathLine)
{
    const int eq = pathLine.indexOf(QLatin1Char('='));
    return eq < 0 ? pathLine : pathLine.mid(eq + 1);
}

void TOvr::FormCreate()
{
    const QString iniPath = files::resolvePath(m_options.programDir + QStringLiteral("/vkm.ini"));
    IniFile vkm(iniPath);
    const QString section = QStringLiteral("DATABASE");
    m_dataPath = vkm.readString(section, QStringLiteral("DATA"), QStringLiteral("path=\\wkm\\data\\zdroj"));
    const QString pristup = vkm.readString(section, QStringLiteral("PristupPHS"), QStringLiteral("ANO"));
    m_pristupPhs = !(pristup == QLatin1String("NE") || pristup == QLatin1String("ne") || pristup == QLatin1String("Ne"));
    m_kavel = vkm.readString(section, QStringLiteral("KAVEL"), QString());
    const QString manager = vkm.readString(section, QStringLiteral("MANAGER"), QStringLiteral("ANO"));
    if (!chooseDataPath(manager))
        return;
    if (m_dataPath != vkm.readString(section, QStringLiteral("DATA"), QString()))
        vkm.writeString(section, QStringLiteral("DATA"), m_dataPath);
    m_phsPath = upToLastSeparator(m_dataPath) + QStringLiteral("PHS");
    // The codebooks are the program's own, whatever else exists on the disk.
    m_cisPath = QStringLiteral("PATH=") + m_options.programDir + QStringLiteral("/CISELNIK");
    if (m_version == Version::V98)
        readNationalParkFlag();

    const QString data = files::resolvePath(directoryOf(m_dataPath));
    const QString phs = files::resolvePath(directoryOf(m_phsPath));
    const QString cis = files::resolvePath(directoryOf(m_cisPath));
    for (auto& [name, t] : m_tables) {
        const TableLayout& layout = layoutOf(m_version, name);
        t->SetDatabaseName(layout.directory == Directory::Data ? data : layout.directory == Directory::Phs ? phs : cis);
    }
    OpenStandTables();
    openOrgLevels(QStringLiteral("TB_OrgUr1"), QStringLiteral("Zapiš čiselník správ( lesních závodů )."));
    openOrgLevels(QStringLiteral("TB_OrgUr2"), QStringLiteral("Zapiš čiselník revírů"));
    openCodebooks();
    OpenStandTables();
    wireHandlers();
}

// The stand designation of the messages: ODD, DIL and POR written together, a blank, ETAZ.
QString TOvr::designation() const
{
    auto text = [](db::Table* t, const char* field) {
        const db::Field* f = t->Active() ? t->FindField(QString::fromLatin1(field)) : nullptr;
        return f ? f->AsString() : QString();
    };
    return text(m_odd, "ODD") + text(m_dl, "DIL") + text(m_porost, "POR") + QLatin1Char(' ') + text(m_etaz, "ETAZ");
}

// Cancels the table's pending change and puts its current row back into edit state.
void TOvr::dropEntry(db::Table& t)
{
    t.Cancel();
    if (!DataSetIsEmpty(&t))
        t.Edit();
}

namespace {

void flushTable(db::DataSet& d)
{
    static_cast<db::Table&>(d).FlushBuffers();
}

// Sets a field without running its change handler.
void setQuietly(db::Field& f, double value)
{
    auto handler = std::move(f.OnChange);
    f.OnChange = nullptr;
    f.AsFloat(value);
    f.OnChange = std::move(handler);
}

void roundField(db::Table& t, const char* field)
{
    if (db::Field* f = t.FindField(QString::fromLatin1(field)); f && !f->IsNull())
        setQuietly(*f, RoundTo2(f->AsFloat()));
}

// A species abbreviation as the species table keys it (two letters padded with a blank).
bool isKnownSpecies(const QString& abbreviation)
{
    QString key = abbreviation.trimmed().toUpper();
    if (key.size() == 2)
        key += QLatin1Char(' ');
    return SpeciesGrowthGroup(key) != unknownGrowthGroup;
}

} // namespace

// The entry checks and write-through of the stand tables (the module's dataset handlers).
void TOvr::wireHandlers()
{
    for (db::Table* t : {m_odd, m_dl, m_porost, m_sk, m_id, m_poskoz, m_navrh, m_tezob, m_zal})
        t->AfterPost = [this, t](db::DataSet&) {
            if (t == m_navrh || t == m_tezob || t == m_zal)
                PostIfEditing(*m_id);
            flushTable(*t);
        };
    m_etaz->BeforeEdit = [this](db::DataSet&) { SetNavrhRanges(); };
    m_etaz->AfterEdit = [this](db::DataSet&) { SetNavrhRanges(); };
    m_etaz->AfterPost = [this](db::DataSet& d) {
        SetNavrhRanges();
        flushTable(d);
    };
    m_sk->BeforePost = [](db::DataSet& d) {
        auto& t = static_cast<db::Table&>(d);
        if (db::Field* psk = t.FindField(QStringLiteral("PSK")); psk && psk->AsString().isEmpty())
            psk->AsString(QStringLiteral("vv"));
        for (const char* f : {"PSK_P0", "PSK_V", "PSK_P"})
            roundField(t, f);
    };
    m_etaz->BeforePost = [](db::DataSet& d) {
        for (const char* f : {"ETAZ_PP", "ETAZ_PS"})
            roundField(static_cast<db::Table&>(d), f);
    };
    if (db::Field* hs = m_etaz->FindField(QStringLiteral("HS")))
        hs->OnChange = [this](db::Field& f) { copyManagementSet(f.AsInteger()); };
    if (db::Field* zkr = m_dr->FindField(QStringLiteral("DR_ZKR")))
        zkr->OnChange = [this](db::Field& f) {
            if (isKnownSpecies(f.AsString()))
                return;
            ui::services().showMessage(QStringLiteral("Chybně dřevina ") + designation() + QStringLiteral(" \"")
                                       + f.AsString() + QLatin1Char('"'));
            dropEntry(*m_dr);
        };
    m_dr->BeforeInsert = [this](db::DataSet&) {
        if (!DataSetIsEmpty(m_dr) && m_dr->FieldByName(QStringLiteral("DR_ZKR")).AsString().isEmpty())
            m_dr->Delete();
    };
    m_dr->AfterPost = [this](db::DataSet& d) {
        for (db::Table* view : {m_navrh, m_tezob})
            if (view->Active() && m_dr->RecordCount() > view->RecordCount() && view->RecordCount() >= 1)
                view->Insert();
        PostIfEditing(*m_id);
        flushTable(d);
    };
    m_navrh->AfterInsert = [this](db::DataSet&) { newProposal(*m_navrh, 11); };
    m_tezob->AfterInsert = [this](db::DataSet&) { newProposal(*m_tezob, 10); };
    if (db::Field* percent = m_zal->FindField(QStringLiteral("N_Procento")))
        percent->OnChange = [this](db::Field&) { m_zal->FieldByName(QStringLiteral("ZpZadTV")).AsString(QStringLiteral("1")); };
    if (db::Field* area = m_zal->FindField(QStringLiteral("N_Plocha")))
        area->OnChange = [this](db::Field&) { m_zal->FieldByName(QStringLiteral("ZpZadTV")).AsString(QStringLiteral("2")); };
    // The proposal views follow the storey through ranges; a new row belongs to that storey.
    for (db::Table* view : {m_navrh, m_tezob, m_zal, m_pror})
        view->OnNewRecord = [this, view](db::DataSet&) {
            if (!DataSetIsEmpty(m_etaz))
                view->FieldByName(QStringLiteral("Vazba")).AsFloat(m_etaz->FieldByName(QStringLiteral("ID")).AsFloat());
        };
    m_zal->BeforePost = [this](db::DataSet&) { checkAfforestation(); };
    m_poskoz->BeforePost = [this](db::DataSet&) { checkDamage(); };
    m_poskoz->AfterInsert = [this](db::DataSet&) {
        m_poskoz->FieldByName(QStringLiteral("Vazba")).AsFloat(m_dr->FieldByName(QStringLiteral("ID")).AsFloat());
    };
}

// An afforestation row: its area to hundredths; only kinds 1 to 5 and species of the table.
void TOvr::checkAfforestation()
{
    roundField(*m_zal, "N_Plocha");
    const int kind = m_zal->FieldByName(QStringLiteral("N_Druh_vykonu")).AsInteger();
    if (kind < 1 || kind > 5) {
        dropEntry(*m_zal);
        return;
    }
    const QString species = m_zal->FieldByName(QStringLiteral("N_Zkratka_dreviny")).AsString();
    if (species.isEmpty() || isKnownSpecies(species))
        return;
    ui::services().showMessage(QStringLiteral("Chybně zales.dřevina ") + designation() + QStringLiteral(" \"") + species
                               + QLatin1Char('"'));
    dropEntry(*m_zal);
}

// One damage kind once per species: the sibling program's key refuses a second row, and our
// tables of that program are kept without keys, so the module checks it itself.
void TOvr::checkDamage()
{
    const int kind = m_poskoz->FieldByName(QStringLiteral("Druh_poskozeni")).AsInteger();
    const int editedRow = m_poskoz->State() == db::DataSetState::dsEdit ? m_poskoz->currentRow() : -1;
    const int column = m_poskoz->FieldByName(QStringLiteral("Druh_poskozeni")).Index();
    for (int row = 0; row < m_poskoz->RecordCount(); ++row) {
        if (row == editedRow || m_poskoz->Fields(column).asIntegerOf(m_poskoz->rowValue(row, column)) != kind)
            continue;
        ui::services().showMessage(QStringLiteral(
            "U jedné dřeviny se nemůže vyskytovat dvakrát stejny druh poškozeni. Ruším poslední řádek."));
        dropEntry(*m_poskoz);
        return;
    }
}

// The storey's management set changed: its rotation, regeneration period and minimum share of
// ameliorating species come from the set's row of TAB_HS (nothing when the set is not there).
void TOvr::copyManagementSet(int hs)
{
    db::Table& sets = table(QStringLiteral("TB_HS"));
    if (!sets.Active())
        return;
    for (sets.First(); !sets.Eof(); sets.Next()) {
        if (sets.FieldByName(QStringLiteral("CISLO_HS")).AsInteger() != hs)
            continue;
        for (const char* f : {"OBMYTI", "OBN_DOBA", "POC_OBNOVY"})
            m_etaz->FieldByName(QString::fromLatin1(f)).AsInteger(sets.FieldByName(QString::fromLatin1(f)).AsInteger());
        m_etaz->FieldByName(QStringLiteral("MZD")).AsInteger(sets.FieldByName(QStringLiteral("POD_MEL_DR")).AsInteger());
        return;
    }
}

// A thinning (11) or regeneration-felling (10) row added for the current species of the storey.
void TOvr::newProposal(db::Table& view, int kind)
{
    if (kind == 10 && view.RecordCount() >= m_dr->RecordCount()) {
        ui::services().showMessage(QStringLiteral("Nelze přidávat, chybí další dřevina."));
        dropEntry(view);
        return;
    }
    auto set = [&view](const char* field, const QString& text) { view.FieldByName(QString::fromLatin1(field)).AsString(text); };
    view.FieldByName(QStringLiteral("VAZBA")).AsInteger(m_etaz->FieldByName(QStringLiteral("ID")).AsInteger());
    set("N_ZKRATKA_DREVINY", m_dr->FieldByName(QStringLiteral("DR_ZKR")).AsString());
    set("N_Druh_Vykonu", QString::number(kind));
    if (kind == 11)
        set("N_NALEHAVOST", m_etaz->FieldByName(QStringLiteral("VEK")).AsInteger() <= 40 ? QStringLiteral("1")
                                                                                          : QStringLiteral("2"));
    else
        set("N_NALEHAVOST", QStringLiteral("2"));
    set("N_OBJEM", QStringLiteral("0"));
    set("N_PLOCHA", QStringLiteral("0"));
    set("POCET_ZASAHU", QStringLiteral("1"));
    set("DUVOD", QStringLiteral("0"));
    if (kind == 10)
        set("ZpZadTV", QStringLiteral("1"));
    AssignNextId(*m_id, view, QStringLiteral("NAVRH"));
}

// The data path from vkm.ini or the directory dialog; false after a cancelled dialog.
bool TOvr::chooseDataPath(const QString& manager)
{
    const bool skip = manager == QLatin1String("NE") || (m_version == Version::V98 && m_options.skipDirectoryDialog);
    if (skip)
        return true;
    const QString caption = m_version == Version::V98 ? QStringLiteral("Vyhledej adresář dat vexu98.")
                                                      : QStringLiteral("Vyhledej adresář dat vexu97.");
    const QString answer = m_options.chooseDirectory ? m_options.chooseDirectory(m_dataPath.mid(5), caption)
                                                     : kNothingChosen;
    if (answer == kNothingChosen) {
        ui::services().showMessage(QStringLiteral("Neuspěšné otevření souboru s údaji."));
        m_cancelled = true;
        return false;
    }
    m_dataPath = QStringLiteral("PATH=") + answer;
    return true;
}

void TOvr::readNationalParkFlag()
{
    const QString phsIni = files::resolvePath(directoryOf(m_phsPath) + QStringLiteral("/phs.ini"));
    const IniFile phsSettings(phsIni);
    const QString value =
        phsSettings.readString(QStringLiteral("ObecneParametry"), QStringLiteral("VerzeProNarodniPark"), QStringLiteral("CHYB"));
    m_narodniPark = RemoveSpaces(value.toUpper()) == QLatin1String("ANO");
}

void TOvr::openChecked(db::Table& t)
{
    if (t.Active())
        return;
    try {
        t.Open();
    } catch (const Exception& e) {
        throw EDatabaseError(QStringLiteral("Tabulku %1 nelze otevřít: %2").arg(t.TableName(), e.message()));
    }
}

// Opens a table; when a declared field is missing, restructures it with the statements (the
// message `before` first, `after` once they succeeded) and opens it again. A table of the
// sibling program with index files or keys is opened as it is instead.
bool TOvr::openWithUpgrade(db::Table& t, const QStringList& statements, const QString& before, const QString& after)
{
    if (t.Active())
        return true;
    try {
        t.Open();
        return true;
    } catch (const db::EDeclaredFieldMissing&) {
    }
    if (isPeerProtected(t.filePath())) {
        const db::FieldDefs declared = t.FieldDefs();
        t.FieldDefs().Clear();
        openChecked(t);
        t.FieldDefs() = declared;
        return true;
    }
    if (!before.isEmpty())
        ui::services().showMessage(before);
    try {
        execOn(t.DatabaseName(), statements);
    } catch (const Exception&) {
        return false;
    }
    if (!after.isEmpty())
        ui::services().showMessage(after);
    try {
        t.Open();
        return true;
    } catch (const db::EDeclaredFieldMissing&) {
        return false;
    }
}

void TOvr::execOn(const QString& directory, const QStringList& lines)
{
    db::Query q;
    q.SetDatabaseName(directory);
    for (const QString& line : lines)
        q.SQL().Add(line);
    q.ExecSQL();
}

void TOvr::OpenStandTables()
{
    forgetColumns();
    openChecked(*m_sk);
    if (m_version == Version::V98
        && !openWithUpgrade(*m_etaz, {QStringLiteral("ALTER TABLE ETAZ"), QStringLiteral("ADD PROC_HS INTEGER")}, {}, {})) {
        ui::services().showMessage(QStringLiteral("Nemohu otevřít k tabulku ETAZ.DB"));
        return;
    }
    for (db::Table* t : {m_etaz, m_dr, m_navrh, m_navrh1, m_tezob, m_zal, m_pror, m_poskoz, m_lhc, m_odd, m_dl, m_porost,
                         m_porPozn, &table(QStringLiteral("TB_PS_POZN")), m_prekryv})
        openChecked(*t);
    if (!openWithUpgrade(*m_bzl, {QStringLiteral("ALTER TABLE BEZLESI  ADD Vyuziti CHAR(2)")},
                         QStringLiteral("V tabulce bezlesí vyplňte kolonku Vyuziti. Použijte program Kortel."), {}))
        openChecked(*m_bzl);
    if (!m_jine->Active()) {
        const bool added = openWithUpgrade(*m_jine, {QStringLiteral("ALTER TABLE JINE_POZ ADD Vyuziti CHAR(2)")}, {},
                                           QStringLiteral("V tabulce jiné vyplňte kolonku Vyuziti.Použijte program Kortel."));
        if (!added
            && !openWithUpgrade(*m_jine, {QStringLiteral("ALTER TABLE JINE_POZ ADD Kategorie CHAR(14)")},
                                QStringLiteral("V tabulce jiné vyplňte kolonku Katgorie. Použijte program Kortel."), {}))
            openChecked(*m_jine);
    }
    if (!openWithUpgrade(*m_ost, {QStringLiteral("ALTER TABLE OST_POZ  ADD Vyuziti CHAR(2)")},
                         QStringLiteral("V tabulce ostatní vyplňte kolonku Vyuziti. Použijte program Kortel."), {}))
        openChecked(*m_ost);
    openChecked(*m_id);
}

// A missing organisation-level codebook is created empty and offered for filling; an existing
// file that does not open is reported and left alone.
void TOvr::openOrgLevels(const QString& component, const QString& label)
{
    db::Table& t = table(component);
    if (t.Active())
        return;
    if (files::fileExists(t.filePath())) {
        try {
            t.Open();
        } catch (const Exception& e) {
            ui::services().showMessage(QStringLiteral("Tabulku %1 nelze otevřít: %2").arg(t.TableName(), e.message()));
        }
        return;
    }
    try {
        t.CreateTable();
        t.Open();
    } catch (const Exception& e) {
        ui::services().showMessage(QStringLiteral("Tabulku %1 nelze vytvořit: %2").arg(t.TableName(), e.message()));
        return;
    }
    if (m_options.fillCodebook)
        m_options.fillCodebook(label, t);
}

void TOvr::openCodebooks()
{
    for (const TableLayout& layout : codebookTables(m_version)) {
        db::Table& t = table(QString::fromLatin1(layout.component));
        if (m_version == Version::V98 && t.Name() == QLatin1String("TB_OLH"))
            openOlh98();
        else
            openChecked(t);
    }
    db::Table& categories = table(QStringLiteral("TB_porKTG"));
    if (files::fileExists(categories.filePath()))
        openChecked(categories);
}

void TOvr::openOlh98()
{
    db::Table& olh = table(QStringLiteral("TB_OLH"));
    try {
        olh.Open();
        return;
    } catch (const db::EDeclaredFieldMissing&) {
    }
    if (isPeerProtected(olh.filePath())) {
        const db::FieldDefs declared = olh.FieldDefs();
        olh.FieldDefs().Clear();
        openChecked(olh);
        olh.FieldDefs() = declared;
        return;
    }
    bool failed = false;
    for (const char* statement : {"ALTER TABLE OLH ADD ICO_RC CHAR(12)", "ALTER TABLE OLH ADD OKR_URAD CHAR(4)",
                                  "ALTER TABLE OLH ADD CIS_LIC CHAR(12)"}) {
        try {
            execOn(olh.DatabaseName(), {QString::fromLatin1(statement)});
        } catch (const Exception&) {
            failed = true;
        }
    }
    if (failed) {
        ui::services().showMessage(QStringLiteral("Nelze rozšířit tabulku OLH"));
        return;
    }
    ui::services().showMessage(
        QStringLiteral("V tabulce OLH vyplňte kolonky ICO_RC,OKR_URAD,CIS_LIC(číslo licence).Použijte program VEX98."));
    olh.SetExclusive(false);
    openChecked(olh);
}

void TOvr::SetNavrhRanges()
{
    const int storey = m_etaz->Active() && !m_etaz->IsEmpty() ? m_etaz->FieldByName(QStringLiteral("ID")).AsInteger() : 0;
    const struct {
        db::Table* view;
        double first;
        double last;
    } views[] = {{m_pror, 12, 12}, {m_tezob, 10, 10}, {m_navrh, 11, 11}, {m_zal, 0, 7}};
    for (const auto& v : views) {
        if (v.view->Active()) {
            const double start[] = {double(storey), v.first, 0.0};
            const double end[] = {double(storey), v.last, 900000.0};
            v.view->SetNumberRange(start, end);
        }
    }
}

void TOvr::CloseStandTables()
{
    forgetColumns();
    for (db::Table* t : {m_sk, m_etaz, m_dr, m_navrh, m_navrh1, m_tezob, m_zal, m_pror, m_poskoz, m_lhc, m_odd, m_dl,
                         m_porost, m_porPozn, &table(QStringLiteral("TB_PS_POZN")), m_prekryv, m_bzl, m_jine, m_ost, m_id}) {
        if (!t->Active())
            continue;
        PostIfEditing(*t);
        t->Close();
    }
}

void TOvr::CloseCodebookTables()
{
    for (const TableLayout& layout : codebookTables(m_version))
        table(QString::fromLatin1(layout.component)).Close();
    for (const char* extra : {"TB_OrgUr1", "TB_OrgUr2", "TB_porKTG"})
        table(QString::fromLatin1(extra)).Close();
}

} // namespace vex
