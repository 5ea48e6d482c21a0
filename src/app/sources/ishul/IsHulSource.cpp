// The forest-unit source over the IS HÚL interchange files, variants 97 and 98.
#include "app/sources/ishul/IsHulSource.h"

#include "app/sources/LesniCelek.h"
#include "app/sources/ishul/FstCodebookTransfer.h"
#include "app/sources/ishul/FstDataReader.h"
#include "app/sources/ishul/FstImporter.h"
#include "app/sources/ishul/IsHulDirectory.h"
#include "app/sources/vex/VexSource.h"
#include "forest/base/ForestSetRoutines.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/base/StatusText.h"
#include "forest/base/TextUtilities.h"
#include "forest/codebooks/CiselLumex.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>

namespace ishul {

namespace {

constexpr int EndNumber = 30000;
const char* const dataFileNames[] = {"PP.FST", "BZL.FST", "JP.FST"};
enum { Pp = 0, Bzl = 1, Jp = 2 };

// The status texts of the record loops are many: the text is always set, pending events run
// only every so many records.
constexpr int EventsEvery = 50;

void recordStatus(const QString& text, int count)
{
    ui::services().setStatusText(text);
    if (count % EventsEvery == 0)
        ProcessPendingEvents();
}

// Appends the values of known columns joined by commas.
void appendKeys(QString& out, TPrenasecZeStandarduData& reader, std::initializer_list<int> columns)
{
    bool first = true;
    for (const int c : columns) {
        if (!first)
            out += QLatin1Char(',');
        first = false;
        if (const QString* text = reader.KnownColumnText(c))
            out += *text;
        else
            out += reader.KnownColumnValue(c);
    }
}

// The keys of the current record as the status texts show them, quoted: the level keys, then
// for the bare-land and other-land files the word and the quoted number.
void appendStatusKeys(QString& keys, TPrenasecZeStandarduData& reader, int kindOfText)
{
    using D = TPrenasecZeStandarduData;
    keys += QLatin1Char('"');
    if (kindOfText == Pp) {
        appendKeys(keys, reader, {D::kcODD, D::kcDIL, D::kcPOR, D::kcPSK, D::kcETAZ, D::kcDR_ZKR});
    } else {
        appendKeys(keys, reader, {D::kcODD, D::kcDIL, D::kcPOR});
        keys += kindOfText == Bzl ? QLatin1String(",Bezlesi \"") : QLatin1String(",JINY \"");
        appendKeys(keys, reader, {kindOfText == Bzl ? D::kcBZL : D::kcJP});
        keys += QLatin1Char('"');
    }
    keys += QLatin1Char('"');
}

// A text kept from record to record is emptied in place; one a receiver still holds is left to
// it, and a new one gets the room the texts have needed (no growing while it is filled).
void startText(QString& text, qsizetype room)
{
    if (text.isDetached()) {
        text.resize(0);
        return;
    }
    text = QString();
    text.reserve(room);
}

// The status texts of a record by the file's kind: while setting, then while loading.
constexpr QStringView settingText[] = {u"Z IS HÚL nastavuju PP ", u"Z IS HÚL nastavuju BZL", u"Z IS HÚL nastavuju JINY POZ "};
constexpr QStringView loadingText[] = {u"Z IS HÚL načítám PP ", u"Z IS HÚL načítám BZL", u"Z IS HÚL načítám JINY POZ "};

} // namespace

IsHulSource::IsHulSource(quint8 kind, app::SourceContext context) : m_kind(kind), m_context(std::move(context))
{
    for (int i = 0; i < FileCount; ++i)
        m_files[static_cast<size_t>(i)].name = QString::fromLatin1(dataFileNames[i]);
    m_lhc.name = QStringLiteral("LHC.FST");
}

IsHulSource::~IsHulSource() = default;

QString IsHulSource::directory(TLesniCelek& unit) const
{
    const QString dir = unit.AdresarStandardu();
    return dir.isEmpty() ? m_context.directory : dir;
}

QString IsHulSource::pathOf(const QString& dir, const QString& name) const
{
    return files::resolvePath(dir + QLatin1Char('/') + name);
}

bool IsHulSource::open(TLesniCelek& unit)
{
    if (unit.AdresarStandardu() == chooseYourselfDirectory)
        unit.SetAdresarStandardu(FindIsHulDirectory(
            unit.programDir(), [](const QString& start, const QString& caption, const QString&, bool) {
                return vex::directoryChooser()(start, caption);
            }));
    const QString dir = directory(unit);
    if (!files::directoryExists(files::resolvePath(dir))) {
        ui::services().showMessage(QStringLiteral("Adresář ISHÚL \"%1\" neexistuje.").arg(dir));
        m_open = false;
        return false;
    }
    if (m_kind == SourceKinds::IsHul98)
        loadCodebooks(unit, dir);
    const QString origin = m_kind == SourceKinds::IsHul98 ? QStringLiteral("IS 98") : QStringLiteral("IS 97");
    auto openFile = [&](DataFile& file) {
        file.importer.reset();
        file.reader.reset();
        file.reader = TPrenasecZeStandarduData::CreateOn(pathOf(dir, file.name), &m_faultLog);
        file.importer = Create<TImportStandardPP_FST>();
        file.importer->setHeader(unit.LHC());
        file.importer->SetOddelovac(file.reader->OddelovacMeziNasobnymiHodnotami());
        file.importer->SetJmenoTextFile(file.name);
        file.importer->SetPUVOD_DAT_PP(origin);
        file.importer->SetNevytvaretNoveOddeleni(true);
    };
    for (DataFile& file : m_files)
        openFile(file);
    if (m_kind == SourceKinds::IsHul98) {
        openFile(m_lhc);
        m_lhc.importer->SetNevytvaretNoveOddeleni(false);
    }
    m_open = true;
    m_openDir = dir;
    return true;
}

// The first five codebook sets of the root and the owners, each only while it is empty.
void IsHulSource::loadCodebooks(TLesniCelek& unit, const QString& dir)
{
    TCiselLumex* root = unit.CiselLumex();
    if (!root)
        return;
    TLesniMnozina* sets[] = {root->CisHsMN(), root->OrgUroven1MN(), root->OrgUroven2MN(), root->OLHMN(),
                             root->KatastryMN()};
    for (int i = 0; i < 5; ++i) {
        if (sets[i] && sets[i]->PocetPrvku() == 0)
            LoadFstCodebookIntoSet(pathOf(dir, QStringLiteral("Cis_05%1.FST").arg(i + 1)), sets[i], &m_faultLog);
    }
    const QString owners = pathOf(dir, QStringLiteral("Maj.FST"));
    if (files::fileExists(owners) && root->MajetkyMN() && root->MajetkyMN()->PocetPrvku() == 0)
        LoadFstDataIntoSet(owners, root->MajetkyMN(), &m_faultLog);
}

void IsHulSource::ensureIndex()
{
    QList<QPair<qint64, QDateTime>> signature;
    for (const DataFile& file : m_files) {
        const QFileInfo info(pathOf(m_openDir, file.name));
        signature.append({info.exists() ? info.size() : -1, info.lastModified()});
    }
    if (m_indexBuilt && signature == m_indexSignature)
        return;
    m_indexSignature = signature;
    buildIndex();
}

// One fast pass over each file (only up to ODD, unsplit), remembering where each compartment
// begins; a compartment that comes back after another one is reported.
void IsHulSource::buildIndex()
{
    ++m_indexBuilds;
    m_indexBuilt = true;
    QStringList list;
    const int order[] = {Pp, Jp, Bzl};
    for (int f = 0; f < FileCount; ++f) {
        QMap<int, IndexEntry>& index = m_index[static_cast<size_t>(f)];
        index.clear();
        const QString path = pathOf(m_openDir, m_files[static_cast<size_t>(f)].name);
        Owned<TPrenasecZeStandarduData> reader = TPrenasecZeStandarduData::CreateOn(path, &m_faultLog);
        reader->SetcistJenPoODD(true);
        reader->SetkonecJenDleRadku(true);
        if (f == Pp)
            ui::services().setProgress(0, qMax(0, reader->PocetDatovychRadku()));
        int last = -1;
        FileFaults unsorted;
        for (reader->ReadRecord(); !reader->Konec(); reader->ReadRecord()) {
            const int number = reader->CisloOddeleni();
            if (number != last) {
                if (index.contains(number))
                    unsorted.add(FileFault::Unsorted, reader->RecordLine(), QString::number(number));
                else
                    index.insert(number, {reader->SeekRadku(), reader->RecordLine(), reader->CisloNactenehoRadku() - 1});
                last = number;
            }
            if (f == Pp && reader->CisloNactenehoRadku() % 50 == 0)
                ui::services().setProgress(reader->CisloNactenehoRadku(), reader->PocetDatovychRadku());
        }
        unsorted.report(path);
    }
    ui::services().setProgress(0, 0);
    for (const int f : order) {
        for (auto it = m_index[static_cast<size_t>(f)].cbegin(); it != m_index[static_cast<size_t>(f)].cend(); ++it)
            AddUnique(list, PadLeft(QString::number(it.key()), 3, QLatin1Char(' ')));
    }
    list.sort();
    m_list = list;
}

QStringList IsHulSource::buildCompartmentList(TLesniCelek& unit)
{
    if (m_listed)
        m_faultLog.rearm();
    m_listed = true;
    if (!m_open && !open(unit))
        return {};
    ensureIndex();
    return m_list;
}

void IsHulSource::loadHeader(TLesniCelek& unit)
{
    loadFirstCompartment(unit);
}

bool IsHulSource::loadFirstCompartment(TLesniCelek& unit)
{
    if (!open(unit))
        return false;
    ensureIndex();
    for (DataFile& file : m_files)
        file.reader->ReadRecord();
    if (m_kind == SourceKinds::IsHul98) {
        m_lhc.reader->ReadRecord();
        if (!m_lhc.reader->Konec())
            m_lhc.importer->ApplyRecord(m_lhc.reader.get(), true);
    }
    return loadCompartment(unit);
}

bool IsHulSource::endOfData() const
{
    if (!m_open)
        return true;
    for (const DataFile& file : m_files)
        if (!file.reader->Konec())
            return false;
    return true;
}

bool IsHulSource::loadNextCompartment(TLesniCelek& unit)
{
    return m_open && loadCompartment(unit);
}

int IsHulSource::nextCompartmentNumber() const
{
    int number = EndNumber;
    for (const DataFile& file : m_files)
        if (!file.reader->Konec())
            number = qMin(number, file.reader->CisloOddeleni());
    return number;
}

bool IsHulSource::loadCompartment(TLesniCelek& unit)
{
    const int number = nextCompartmentNumber();
    if (number == EndNumber)
        return false;   // nothing after the end, and nothing said
    TLHC* header = unit.LHC();
    header->OddeleniMN()->NovyPrvekVzdy(QString::number(number));
    TOddeleni* compartment = header->Oddeleni();
    compartment->SetODD(number);
    ShowStatusText(QStringLiteral("Z IS HÚL načítám oddělení %1").arg(number));
    importRun(m_files[Pp], number, header, Pp);
    importRun(m_files[Bzl], number, header, Bzl);
    importRun(m_files[Jp], number, header, Jp);
    SelectFirstElements(compartment);
    return true;
}

// The records of one compartment in one file, from the reader's current record on.
void IsHulSource::importRun(DataFile& file, int number, TLHC* header, int kindOfText)
{
    (void)header;
    TPrenasecZeStandarduData& reader = *file.reader;
    // Only this file's records change the model until the run ends.
    file.importer->BeginRun();
    const auto endRun = qScopeGuard([&file] { file.importer->EndRun(); });
    while (!reader.Konec() && reader.CisloOddeleni() == number) {
        const int count = reader.CisloNactenehoRadku();
        // The setting prefix and the keys, then the loading prefix and the same keys.
        startText(m_statusText, m_statusRoom);
        m_statusText += settingText[kindOfText];
        appendStatusKeys(m_statusText, reader, kindOfText);
        recordStatus(m_statusText, count);
        m_statusRoom = std::max(m_statusRoom, m_statusText.size());
        const qsizetype keys = m_statusText.size() - settingText[kindOfText].size();
        startText(m_loadingText, loadingText[kindOfText].size() + keys);
        m_loadingText += loadingText[kindOfText];
        m_loadingText += QStringView(m_statusText).last(keys);
        ui::services().setStatusText(m_loadingText);
        applyRecord(file);
        reader.ReadRecord();
    }
}

// Both passes of the current record; a record a conversion refuses is reported and skipped.
void IsHulSource::applyRecord(DataFile& file)
{
    TPrenasecZeStandarduData& reader = *file.reader;
    const QString bad = file.importer->InvalidColumn(&reader);
    if (!bad.isEmpty()) {
        const QString value = reader.NosicHlavicka()->ValueByName(bad);
        reader.faults().add(FileFault::BadValue, reader.RecordLine(),
                            QStringLiteral("sloupec %1, hodnota \"%2\" není celé číslo").arg(bad, value));
        return;
    }
    try {
        file.importer->ApplyRecord(&reader);
    } catch (const Exception& e) {
        reader.faults().add(FileFault::BadValue, reader.RecordLine(),
                            QStringLiteral("sloupec %1: %2").arg(file.importer->CurrentColumn(), e.message()));
    }
}

std::unique_ptr<app::Source> createIsHulSource(quint8 kind, const app::SourceContext& context)
{
    return std::make_unique<IsHulSource>(kind, context);
}

} // namespace ishul
