// Damaged stand tables through the whole source: a message or an error, never a crash or a hang.
#include "app/sources/vex/VexFixture.h"

#include "support/Mutator.h"

namespace vextest {
namespace {

class VexFuzz : public VexUnitTest
{
protected:
    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
};

TEST_F(VexFuzz, DamagedTablesAreReportedOrReadNeverFatal)
{
    samples::UnitOptions o;
    o.compartments = 3;
    o.seed = 11;
    makeUnit(o);
    const QStringList targets = {QStringLiteral("DREVINA.DB"), QStringLiteral("ETAZ.DB"), QStringLiteral("NAVRH.DB"),
                                 QStringLiteral("POROST.DB")};
    std::vector<QByteArray> originals;
    for (const QString& t : targets)
        originals.push_back(fileBytes(dataTable(t)));
    test::Mutator mutator(20261207);
    for (int i = 0; i < 600; ++i) {
        const size_t which = size_t(i) % targets.size();
        writeFile(dataTable(targets[int(which)]), mutator.mutate({originals[which]}));
        dropSource();
        int loaded = 0;
        try {
            if (source().loadFirstCompartment(*unit))
                ++loaded;
            while (!source().endOfData() && loaded < 10) {
                try {
                    source().loadNextCompartment(*unit);
                } catch (const Exception&) {
                }
                ++loaded;
            }
        } catch (const Exception&) {
        }
        EXPECT_LE(loaded, 3) << "iteration " << i;
        writeFile(dataTable(targets[int(which)]), originals[which]);
        recorder().clear();
    }
}

} // namespace
} // namespace vextest
