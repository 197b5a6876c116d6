#include "app/SettingsStore.h"

#include <QSettings>

#include <QStringList>

#include <algorithm>
#include <stdexcept>

namespace quillon {

namespace {

QSettings OpenStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Marrowind Software",
                     "Quillon");
}

void CheckWritten(QSettings& store) {
    store.sync();
    if (store.status() != QSettings::NoError)
        throw std::runtime_error("The settings could not be written to " +
                                 store.fileName().toStdString() + ".");
}

constexpr FolderSetting kFolderSettings[] = {FolderSetting::Open, FolderSetting::Save,
                                             FolderSetting::Overlay, FolderSetting::Mask};

} // namespace

const char* SettingsStore::KeyOf(FolderSetting setting) {
    switch (setting) {
    case FolderSetting::Open:
        return kOpenDir;
    case FolderSetting::Save:
        return kSaveDir;
    case FolderSetting::Overlay:
        return kOverlayDir;
    case FolderSetting::Mask:
        break;
    }
    return kMaskDir;
}

bool SettingsStore::AutoOrient() const {
    // Read without creating the key: it appears only once it is set.
    if (!KeyExists(kAutoOrient)) return true;
    return const_cast<SettingsStore*>(this)->ReadOrCreate(kAutoOrient) != "0";
}

bool SettingsStore::KeyExists(const std::string& key) const {
    return OpenStore().contains(QString::fromStdString(key));
}

std::string SettingsStore::ReadOrCreate(const std::string& key) {
    QSettings store = OpenStore();
    const QString name = QString::fromStdString(key);
    if (!store.contains(name)) {
        store.setValue(name, QString());
        CheckWritten(store);
        return {};
    }
    const QVariant value = store.value(name);
    if (!value.canConvert<QString>())
        throw std::runtime_error("The setting " + key + " is not a text value.");
    return value.toString().toStdString();
}

void SettingsStore::Write(const std::string& key, const std::string& value) {
    QSettings store = OpenStore();
    store.setValue(QString::fromStdString(key), QString::fromStdString(value));
    CheckWritten(store);
}

std::vector<std::string> SettingsStore::ReadList(const std::string& key) const {
    std::vector<std::string> values;
    for (const QString& value : OpenStore().value(QString::fromStdString(key)).toStringList())
        if (!value.isEmpty()) values.push_back(value.toStdString());
    return values;
}

void SettingsStore::WriteList(const std::string& key, const std::vector<std::string>& values) {
    QStringList list;
    for (const std::string& value : values) list.append(QString::fromStdString(value));
    QSettings store = OpenStore();
    store.setValue(QString::fromStdString(key), list);
    CheckWritten(store);
}

std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& name) {
    files.erase(std::remove(files.begin(), files.end(), name), files.end());
    files.insert(files.begin(), name);
    if (files.size() > kRecentFileLimit) files.resize(kRecentFileLimit);
    return files;
}

std::string& FolderOf(ShellFolders& folders, FolderSetting setting) {
    switch (setting) {
    case FolderSetting::Open:
        return folders.openDir;
    case FolderSetting::Save:
        return folders.saveDir;
    case FolderSetting::Overlay:
        return folders.userOverlayFolder;
    case FolderSetting::Mask:
        break;
    }
    return folders.userMaskFolder;
}

void ApplyStartupSettings(ShellFolders& folders) {
    SettingsStore store;
    for (FolderSetting setting : kFolderSettings) {
        const std::string value = store.ReadOrCreate(SettingsStore::KeyOf(setting));
        if (!value.empty()) FolderOf(folders, setting) = value;
    }
    if (!store.KeyExists(SettingsStore::kScaleOnOpen))
        store.Write(SettingsStore::kScaleOnOpen, "0");
    else
        (void)store.ReadOrCreate(SettingsStore::kScaleOnOpen); // read; it sets nothing
}

} // namespace quillon
