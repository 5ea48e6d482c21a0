// Deterministic mutations of test inputs for the fuzz tests: bit flips, cuts, insertions.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <random>
#include <vector>

namespace test {

// A seeded source of mutated copies of a set of seed inputs. The same seed gives the same
// sequence on every run, so a failure names its iteration and can be replayed.
class Mutator
{
public:
    explicit Mutator(uint32_t seed) : m_rng(seed) {}

    // Picks a seed input and applies one to four mutations. `alphabet`, when given, supplies
    // the inserted and replaced bytes (so texts stay close to their grammar); otherwise any byte.
    QByteArray mutate(const std::vector<QByteArray>& seeds, const QByteArray& alphabet = QByteArray())
    {
        QByteArray data = seeds.empty() ? QByteArray() : seeds[below(seeds.size())];
        const int steps = 1 + int(below(4));
        for (int i = 0; i < steps; ++i)
            mutateOnce(data, alphabet);
        return data;
    }

    // Same over texts, on whole characters; inserted and replaced ones come from `alphabet`.
    QString mutateText(const std::vector<QString>& seeds, const QString& alphabet)
    {
        QString out = seeds.empty() ? QString() : seeds[below(seeds.size())];
        const int steps = 1 + int(below(4));
        for (int i = 0; i < steps; ++i)
            mutateTextOnce(out, alphabet);
        return out;
    }

    // A number in [0, n).
    size_t below(size_t n) { return n == 0 ? 0 : size_t(m_rng() % n); }

private:
    char pick(const QByteArray& alphabet)
    {
        return alphabet.isEmpty() ? char(below(256)) : alphabet[qsizetype(below(size_t(alphabet.size())))];
    }

    void mutateOnce(QByteArray& data, const QByteArray& alphabet)
    {
        const auto at = [&] { return qsizetype(below(size_t(data.size()) + 1)); };
        switch (below(6)) {
        case 0:   // flip one bit
            if (!data.isEmpty())
                data[qsizetype(below(size_t(data.size())))] ^= char(1 << below(8));
            break;
        case 1:   // replace a byte
            if (!data.isEmpty())
                data[qsizetype(below(size_t(data.size())))] = pick(alphabet);
            break;
        case 2:   // insert a few bytes
            data.insert(at(), QByteArray(qsizetype(1 + below(4)), pick(alphabet)));
            break;
        case 3:   // cut the tail
            data.truncate(at());
            break;
        case 4: {   // remove a run
            const qsizetype from = at();
            data.remove(from, qsizetype(below(8)));
            break;
        }
        default: {   // repeat a run, as a pattern or a field grows
            const qsizetype from = at();
            const QByteArray run = data.mid(from, qsizetype(1 + below(6)));
            data.insert(at(), run.repeated(qsizetype(1 + below(8))));
            break;
        }
        }
    }

    void mutateTextOnce(QString& text, const QString& alphabet)
    {
        const auto at = [&] { return qsizetype(below(size_t(text.size()) + 1)); };
        const auto letter = [&] { return alphabet[qsizetype(below(size_t(alphabet.size())))]; };
        switch (below(5)) {
        case 0:
            if (!text.isEmpty())
                text[qsizetype(below(size_t(text.size())))] = letter();
            break;
        case 1:
            text.insert(at(), QString(qsizetype(1 + below(4)), letter()));
            break;
        case 2:
            text.truncate(at());
            break;
        case 3:
            text.remove(at(), qsizetype(below(8)));
            break;
        default: {
            const QString run = text.mid(at(), qsizetype(1 + below(6)));
            text.insert(at(), run.repeated(qsizetype(1 + below(8))));
            break;
        }
        }
    }

    std::mt19937 m_rng;
};

} // namespace test
