#pragma once
// A registry file in a fresh folder, with helpers to write and read its bytes.

#include "platform/RegistryFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace xr::test {

class RegistryFileFixture : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("Xarvane.reg")); }

    void writeFile(const QByteArray& bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray fileBytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    platform::RegistryFile m_registry{path()};
};

} // namespace xr::test
