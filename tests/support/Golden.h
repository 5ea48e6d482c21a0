// Golden files: compare bytes with tests/golden/<name>; GENKLAS_REGENERATE_GOLDEN=1 rewrites them.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

namespace test_support {

inline void expectGolden(const QString& name, const QByteArray& bytes)
{
    const QString path = QStringLiteral(GENKLAS_GOLDEN_DIR "/") + name;
    if (qEnvironmentVariableIsSet("GENKLAS_REGENERATE_GOLDEN")) {
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << "missing golden file " << path.toStdString();
    const QByteArray golden = in.readAll();
    EXPECT_EQ(bytes, golden) << "differs from " << path.toStdString();
}

} // namespace test_support
