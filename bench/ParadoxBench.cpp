// Timings of the Paradox layers on a generated 100 000-row, 31-field table (the TGENKL layout);
// pxlib's raw record read is the baseline of the reading ones.
#include "platform/db/Table.h"
#include "platform/db/paradox/CodePage.h"
#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/ParadoxWriter.h"
#include "platform/db/sql/Query.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

extern "C" {
#include <paradox.h>
}

namespace {

namespace dp = db::paradox;

constexpr int rowCount = 100000;

struct Column
{
    const char* name;
    char type;   // A alpha, I long, N number, L logical
    int size;
};

// The 31 fields of the recognised-stands table, in its order.
constexpr Column columns[] = {
    {"LHC_KOD", 'I', 0},    {"LHC_NAZEV", 'A', 80}, {"Okres", 'I', 0},      {"Okr_Nazev", 'A', 80},
    {"LHP_TAX", 'A', 80},   {"LHP_Z_TAX", 'A', 80}, {"MAJ_NAZ", 'A', 80},   {"NAJEMCE", 'A', 80},
    {"ODD", 'I', 0},        {"DIL", 'A', 1},        {"POR", 'A', 1},        {"LES_OBL", 'A', 4},
    {"L_OBL_Naz", 'A', 80}, {"PSK", 'A', 15},       {"ETAZ", 'A', 3},       {"Novy_kod", 'A', 22},
    {"Stary_Kod", 'A', 15}, {"Fenotyp", 'A', 1},    {"DR_ZKR", 'A', 3},     {"VEK", 'I', 0},
    {"PSK_P", 'N', 0},      {"ETAZ_PP", 'N', 0},    {"Plocha", 'N', 0},     {"LVS", 'I', 0},
    {"HS", 'I', 0},         {"DR_ZAS_CEL", 'N', 0}, {"DR_TO", 'N', 0},      {"TO_PROC", 'N', 0},
    {"MODEL", 'L', 0},      {"OBMYTI", 'I', 0},     {"OBN_DOBA", 'I', 0},
};
constexpr int columnCount = int(std::size(columns));
static_assert(columnCount == 31);

QList<dp::FieldDef> fieldDefs()
{
    QList<dp::FieldDef> defs;
    for (const Column& c : columns) {
        dp::FieldDef d;
        d.name = QString::fromLatin1(c.name);
        d.type = c.type == 'A' ? dp::FieldType::Alpha
            : c.type == 'I'    ? dp::FieldType::Long
            : c.type == 'N'    ? dp::FieldType::Number
                               : dp::FieldType::Logical;
        d.width = c.type == 'A' ? c.size : dp::fixedWidth(d.type);
        defs.append(d);
    }
    dp::layoutFields(defs);
    return defs;
}

// Texts of an alpha column: the value of row r is entry r % 485 (Czech letters, numbered).
const std::vector<QVariant>& alphaValues(int c)
{
    static std::vector<std::vector<QVariant>> cache(columnCount);
    std::vector<QVariant>& values = cache[size_t(c)];
    if (values.empty()) {
        static const QString words[] = {QStringLiteral("Žďár"), QStringLiteral("Lesy Třeboň"), QStringLiteral("Šumava"),
                                        QStringLiteral("Brno-venkov"), QStringLiteral("Křivoklát")};
        for (int r = 0; r < 485; ++r)
            values.push_back((words[(r * 7 + c) % 5] + QString::number(r % 97)).left(columns[c].size));
    }
    return values;
}

// The value of row r, column c; every 17th is NULL. Texts are shared, so this allocates nothing.
QVariant valueOf(int r, int c)
{
    if ((r + c) % 17 == 0)
        return QVariant();
    switch (columns[c].type) {
    case 'A':
        return alphaValues(c)[size_t(r % 485)];
    case 'I':
        return (r * 31 + c * 7) % 1000;
    case 'N':
        return (r % 1000) / 8.0 + c;
    default:
        return (r + c) % 2 == 0;
    }
}

dp::TableContent generatedContent()
{
    dp::TableContent content;
    content.fields = fieldDefs();
    const int size = dp::layoutFields(content.fields);
    const dp::CodePage& cp = dp::CodePage::forNumber(1250);
    content.records = QByteArray(qsizetype(size) * rowCount, '\0');
    content.recordCount = rowCount;
    for (int r = 0; r < rowCount; ++r) {
        char* record = content.records.data() + qsizetype(r) * size;
        for (int c = 0; c < columnCount; ++c)
            dp::encodeValue(content.fields[c], record, valueOf(r, c), cp);
    }
    return content;
}

// The generated table, written once per run.
struct Fixture
{
    QTemporaryDir dir;
    QString path;
    Fixture() : path(dir.filePath(QStringLiteral("TGENKL.DB"))) { dp::writeTable(path, generatedContent()); }
};

const Fixture& fixture()
{
    static const Fixture f;
    return f;
}

void BM_PxlibGetRecord(benchmark::State& state)
{
    const QByteArray path = fixture().path.toLocal8Bit();
    for (auto _ : state) {
        FILE* file = std::fopen(path.constData(), "rb");
        pxdoc_t* px = PX_new();
        PX_open_fp(px, file);
        std::vector<char> buffer(size_t(px->px_head->px_recordsize));
        const int count = PX_get_num_records(px);
        for (int r = 0; r < count; ++r)
            benchmark::DoNotOptimize(PX_get_record(px, r, buffer.data()));
        PX_close(px);
        PX_delete(px);
        std::fclose(file);
    }
}
BENCHMARK(BM_PxlibGetRecord)->Unit(benchmark::kMillisecond);

void BM_EngineOpen(benchmark::State& state)
{
    for (auto _ : state) {
        const dp::ParadoxFile file(fixture().path);
        benchmark::DoNotOptimize(file.recordCount());
    }
}
BENCHMARK(BM_EngineOpen)->Unit(benchmark::kMillisecond);

void BM_TableOpenWalk(benchmark::State& state)
{
    for (auto _ : state) {
        db::Table table;
        table.SetTableName(fixture().path);
        table.Open();
        int rows = 0;
        for (table.First(); !table.Eof(); table.Next())
            ++rows;
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_TableOpenWalk)->Unit(benchmark::kMillisecond);

void BM_TableWalkAsString(benchmark::State& state)
{
    for (auto _ : state) {
        db::Table table;
        table.SetTableName(fixture().path);
        table.Open();
        qsizetype chars = 0;
        for (table.First(); !table.Eof(); table.Next()) {
            for (int c = 0; c < columnCount; ++c)
                chars += table.Fields(c).AsString().size();
        }
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_TableWalkAsString)->Unit(benchmark::kMillisecond);

void BM_TableTwoFieldOrder(benchmark::State& state)
{
    for (auto _ : state) {
        db::Table table;
        table.SetTableName(fixture().path);
        table.SetIndexFieldNames(QStringLiteral("LHC_KOD;Okres"));
        table.Open();
        table.First();
        benchmark::DoNotOptimize(table.Fields(0).AsInteger());
    }
}
BENCHMARK(BM_TableTwoFieldOrder)->Unit(benchmark::kMillisecond);

// Local SQL on the table: `lines` of SQL run through db::Query into memory.
void runQuery(benchmark::State& state, std::initializer_list<const char*> lines)
{
    for (auto _ : state) {
        db::Query query;
        query.SetDatabaseName(fixture().dir.path());
        for (const char* line : lines)
            query.SQL().Add(QString::fromLatin1(line));
        query.Open();
        benchmark::DoNotOptimize(query.RecordCount());
    }
}

// Layers of the SQL order: reading and validating the file (count), decoding every value into
// the result (select all), then SQLite's sort on top.
void BM_LocalSqlCount(benchmark::State& state) { runQuery(state, {"select count(*) from TGENKL"}); }
BENCHMARK(BM_LocalSqlCount)->Unit(benchmark::kMillisecond);

void BM_LocalSqlSelectAll(benchmark::State& state) { runQuery(state, {"Select * from TGENKL "}); }
BENCHMARK(BM_LocalSqlSelectAll)->Unit(benchmark::kMillisecond);

void BM_LocalSqlOrderBy(benchmark::State& state)
{
    runQuery(state, {"Select * from TGENKL ", "order by LHC_KOD, OKRES, LES_OBL"});
}
BENCHMARK(BM_LocalSqlOrderBy)->Unit(benchmark::kMillisecond);

void BM_EngineWrite(benchmark::State& state)
{
    const dp::TableContent content = generatedContent();
    const QString path = fixture().dir.filePath(QStringLiteral("ENGINE.DB"));
    for (auto _ : state)
        dp::writeTable(path, content);
}
BENCHMARK(BM_EngineWrite)->Unit(benchmark::kMillisecond);

db::FieldType datasetTypeOf(const Column& c)
{
    return c.type == 'A' ? db::FieldType::ftString
        : c.type == 'I'  ? db::FieldType::ftInteger
        : c.type == 'N'  ? db::FieldType::ftFloat
                         : db::FieldType::ftBoolean;
}

// CreateTable, every row appended with field setters (in an order when `index` is set), Close.
void writeThroughTable(const QString& path, const QString& index)
{
    db::Table table;
    table.SetTableName(path);
    for (const Column& c : columns)
        table.FieldDefs().Add(QString::fromLatin1(c.name), datasetTypeOf(c), c.size);
    table.CreateTable();
    table.SetIndexFieldNames(index);
    table.Open();
    for (int r = 0; r < rowCount; ++r) {
        table.Append();
        for (int c = 0; c < columnCount; ++c)
            table.Fields(c).Value(valueOf(r, c));
        table.Post();
    }
    table.Close();
}

void BM_TableWrite(benchmark::State& state)
{
    const QString path = fixture().dir.filePath(QStringLiteral("TABLE.DB"));
    for (auto _ : state)
        writeThroughTable(path, QString());
}
BENCHMARK(BM_TableWrite)->Unit(benchmark::kMillisecond);

// The same into an order on two fields whose values come in no order (1000 keys spread over the
// rows): every post finds its row in the order.
void BM_TableWriteOrdered(benchmark::State& state)
{
    const QString path = fixture().dir.filePath(QStringLiteral("ORDERED.DB"));
    for (auto _ : state)
        writeThroughTable(path, QStringLiteral("LHC_KOD;Okres"));
}
BENCHMARK(BM_TableWriteOrdered)->Unit(benchmark::kMillisecond);

// The repeated-key check of a keyed table written for fixtures: the time per row must not grow
// with the rows (items per second stay level from 10 000 to 100 000 rows).
void BM_KeyedWriteKeyCheck(benchmark::State& state)
{
    const int rows = int(state.range(0));
    dp::TableContent content;
    content.fields = fieldDefs().mid(0, 2);   // LHC_KOD (I) and LHC_NAZEV (A80)
    content.keyFieldCount = 1;
    const int size = dp::layoutFields(content.fields);
    content.records = QByteArray(qsizetype(size) * rows, '\0');
    content.recordCount = rows;
    for (int r = 0; r < rows; ++r)
        dp::encodeLong(content.fields[0], content.records.data() + qsizetype(r) * size, r + 1);
    const QString path = fixture().dir.filePath(QStringLiteral("KEYED.DB"));
    for (auto _ : state)
        dp::writeTable(path, content);
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_KeyedWriteKeyCheck)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The console report, then each time as a multiple of pxlib's raw read of the same table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            m_times.emplace_back(run.benchmark_name(), run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        // With repetitions the medians stand for their runs.
        const bool hasMedians = std::any_of(m_times.begin(), m_times.end(),
                                            [](const auto& t) { return t.first.ends_with("_median"); });
        double baseline = 0;
        for (const auto& [name, ms] : m_times) {
            if (name == (hasMedians ? "BM_PxlibGetRecord_median" : "BM_PxlibGetRecord"))
                baseline = ms;
        }
        if (baseline <= 0)
            return;
        std::printf("\nTime as a multiple of BM_PxlibGetRecord (%.1f ms):\n", baseline);
        for (const auto& [name, ms] : m_times) {
            if (!hasMedians || name.ends_with("_median"))
                std::printf("  %-36s %8.1f ms  %6.2f\n", name.c_str(), ms, ms / baseline);
        }
    }

private:
    std::vector<std::pair<std::string, double>> m_times;   // name, milliseconds
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    fixture();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
