#pragma once
#include "XlsFileBuilder.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace XlsTest {

inline QString fixture(const QString& name)
{
    return QStringLiteral(XLS_FIXTURE_DIR "/") + name;
}

inline QStringList fixtureNames()
{
    return QDir(QStringLiteral(XLS_FIXTURE_DIR)).entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name);
}

using VumoTest::ReadBytes;
using VumoTest::WriteBytes;

// A workbook file holding `stream` as its "Workbook".
inline QByteArray workbookFile(const QByteArray& stream, const CfbOptions& options = CfbOptions())
{
    return compoundDocument({{QStringLiteral("Workbook"), stream}}, options);
}

} // namespace XlsTest
