#pragma once
// One INI file read and written through QSettings (UTF-8). Every access enters one group, reads
// or writes one key and leaves the group again.
#include <QObject>
#include <QString>
#include <QVariant>

class QSettings;

namespace Quorvia::utils {

class IniSetting : public QObject
{
    Q_OBJECT
public:
    // An empty path means "no file": reads give the default, writes fail.
    explicit IniSetting(const QString& filePath, QObject* parent = nullptr);
    ~IniSetting() override;

    QString FilePath() const { return m_filePath; }

    QVariant Value(const QString& key, const QString& group, const QVariant& defaultValue = QVariant()) const;
    // True only when the value reached the file.
    bool SetValue(const QString& group, const QString& key, const QVariant& value);

private:
    QString m_filePath;
    QSettings* m_settings = nullptr;
};

} // namespace Quorvia::utils
