#include "framework/ProfileSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString kOrganization = QStringLiteral("Local AppWizard-Generated Applications");
const QString kApplication = QStringLiteral("Vorlisk");
const QString kRecentSection = QStringLiteral("Recent File List");
const QString kSettingsSection = QStringLiteral("Settings");
constexpr int kRecentCount = 4;

QSettings OpenSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kOrganization, kApplication);
}

// Paths are bytes. Valid UTF-8 is stored as readable text; any other name is
// stored as a byte array so that it comes back exactly.
QVariant PathValue(const std::string& path)
{
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() == bytes)
        return text;
    return bytes;
}

std::string PathFromValue(const QVariant& value)
{
    const QByteArray bytes =
        value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}
} // namespace

QString ProfileSettings::FilePath() { return OpenSettings().fileName(); }

ProfileValues ProfileSettings::Load()
{
    QSettings settings = OpenSettings();
    ProfileValues values;
    for (int i = 1; i <= kRecentCount; ++i) {
        const std::string path = PathFromValue(settings.value(kRecentSection + QStringLiteral("/File%1").arg(i)));
        if (!path.empty())
            values.recentFiles.push_back(path);
    }
    values.previewPages = settings.value(kSettingsSection + QStringLiteral("/PreviewPages"), 0).toInt();
    return values;
}

void ProfileSettings::Save(const std::vector<std::string>& recentFiles, int previewPages)
{
    QSettings settings = OpenSettings();
    settings.remove(kRecentSection);
    int number = 1;
    for (const std::string& path : recentFiles) {
        if (path.empty() || number > kRecentCount)
            continue;
        settings.setValue(kRecentSection + QStringLiteral("/File%1").arg(number++), PathValue(path));
    }
    if (previewPages != 0)
        settings.setValue(kSettingsSection + QStringLiteral("/PreviewPages"), previewPages);
    settings.sync();
}

void ProfileSettings::Remove()
{
    const QString path = FilePath();
    QFile::remove(path);
    // rmdir removes the folder only when it is empty.
    QDir().rmdir(QFileInfo(path).absolutePath());
}
