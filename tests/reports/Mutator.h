// Deterministic mutations of byte strings for the fuzz tests of the report generator.
#pragma once

#include <QByteArray>

#include <random>

namespace reports::test {

// Flips, truncations, insertions, deletions and duplications, biased towards the bytes that
// matter to line and field syntax.
class Mutator
{
public:
    explicit Mutator(unsigned seed) : m_random(seed) {}

    QByteArray mutate(QByteArray bytes)
    {
        const int steps = 1 + int(m_random() % 4);
        for (int s = 0; s < steps; ++s)
            step(bytes);
        return bytes;
    }

    unsigned next(unsigned bound) { return unsigned(m_random() % bound); }

private:
    void step(QByteArray& bytes)
    {
        static const char special[] = ",\"'\r\n0123456789-#&@()[]^*/+<>=ITFZHKPSUD \xe8\xff";
        const qsizetype pos = bytes.isEmpty() ? 0 : qsizetype(next(unsigned(bytes.size())));
        const char byte = next(3) == 0 ? char(next(256)) : special[next(sizeof(special) - 1)];
        switch (next(6)) {
        case 0:
            if (!bytes.isEmpty())
                bytes[pos] = char(bytes[pos] ^ char(1 << next(8)));
            break;
        case 1:
            bytes.truncate(pos);
            break;
        case 2:
            bytes.insert(pos, byte);
            break;
        case 3:
            bytes.remove(pos, 1 + next(8));
            break;
        case 4:
            bytes.insert(pos, bytes.mid(pos, 1 + next(40)));
            break;
        default:
            if (!bytes.isEmpty())
                bytes[pos] = byte;
            break;
        }
    }

    std::mt19937 m_random;
};

} // namespace reports::test
