// Test file operations that fail at a chosen step of a save.
#pragma once

#include "platform/Exceptions.h"
#include "platform/files/FileOps.h"

namespace test {

// Makes the n-th file operation fail (counting from 1). A torn failure writes half of the data
// first, as a full disk or a crash would.
class FailingFileOps : public files::FileOps
{
public:
    FailingFileOps(int failAt, bool isTorn) : m_failAt(failAt), m_isTorn(isTorn) {}

    using FileOps::writeFile;
    void writeFile(const QString& path, std::span<const QByteArrayView> pieces) override
    {
        if (isFailing()) {
            tear([&] {
                QByteArray whole;
                for (const QByteArrayView piece : pieces)
                    whole += piece;
                FileOps::writeFile(path, QByteArrayView(whole).first(whole.size() / 2));
            });
        }
        FileOps::writeFile(path, pieces);
    }
    qint64 append(const QString& path, QByteArrayView data) override
    {
        if (isFailing())
            tear([&] { FileOps::append(path, data.first(data.size() / 2)); });
        return FileOps::append(path, data);
    }
    void resize(const QString& path, qint64 size) override
    {
        if (isFailing())
            tear([] {});
        FileOps::resize(path, size);
    }
    void replace(const QString& from, const QString& to) override
    {
        if (isFailing())
            tear([] {});
        FileOps::replace(from, to);
    }
    void remove(const QString& path) override
    {
        if (isFailing())
            tear([] {});
        FileOps::remove(path);
    }

    bool hasFailed() const { return m_calls >= m_failAt; }

private:
    bool isFailing() { return ++m_calls == m_failAt; }
    template <typename Half>
    [[noreturn]] void tear(Half half)
    {
        if (m_isTorn)
            half();
        throw EFileError(QStringLiteral("vložená chyba"));
    }

    int m_failAt;
    bool m_isTorn;
    int m_calls = 0;
};

} // namespace test
