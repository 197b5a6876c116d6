#include "app/dialogs/Settings.h"

#include "app/Dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include <exception>
#include <filesystem>
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

bool FolderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

} // namespace

bool TSettingsStore::KeyExists(const std::string& key) const {
    return OpenStore().contains(QString::fromStdString(key));
}

std::string TSettingsStore::ReadOrCreate(const std::string& key) {
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

void TSettingsStore::Write(const std::string& key, const std::string& value) {
    QSettings store = OpenStore();
    store.setValue(QString::fromStdString(key), QString::fromStdString(value));
    CheckWritten(store);
}

void ApplyStartupSettings(TShellFolders& folders) {
    TSettingsStore store;
    std::string* targets[] = {&folders.OpenDir, &folders.SaveDir, &folders.UserOverlayFolder,
                              &folders.UserMaskFolder};
    const char* keys[] = {TSettingsStore::kOpenDir, TSettingsStore::kSaveDir,
                          TSettingsStore::kOverlayDir, TSettingsStore::kMaskDir};
    for (int i = 0; i < 4; ++i) {
        const std::string value = store.ReadOrCreate(keys[i]);
        if (!value.empty()) *targets[i] = value;
    }
    if (!store.KeyExists(TSettingsStore::kScaleOnOpen))
        store.Write(TSettingsStore::kScaleOnOpen, "0");
    else
        (void)store.ReadOrCreate(TSettingsStore::kScaleOnOpen); // read; it sets nothing
}

TfrmSetting::TfrmSetting(TShellFolders& folders, QWidget* parent)
    : QDialog(parent), folders_(folders) {
    setWindowTitle(tr("Settings"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(520, 246);

    auto* grid = new QGridLayout;
    auto row = [&](int r, const char* label, QLineEdit*& edit, QPushButton*& button) {
        grid->addWidget(new QLabel(tr(label), this), r * 2, 0, 1, 2);
        edit = new QLineEdit(this);
        button = new QPushButton(QStringLiteral("..."), this);
        button->setFixedWidth(28);
        button->setAutoDefault(false);
        grid->addWidget(edit, r * 2 + 1, 0);
        grid->addWidget(button, r * 2 + 1, 1);
    };
    row(0, "Image Directory", edOpen, btnLoadFrom);
    row(1, "Save Directory", edSave, btnSaveTo);
    row(2, "Additional Overlays Directory", edOverlay, btnOverlay);
    row(3, "Additional Masks Directory", edMask, btnMask);

    btnSettings = new QPushButton(tr("Save Settings"), this);
    btnSettings->setDefault(true);
    btnCancel = new QPushButton(tr("Cancel"), this);
    btnCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSettings);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(btnLoadFrom, &QPushButton::clicked, this,
            [this] { Guard([this] { BrowseFolder(edOpen, TSettingsStore::kOpenDir, true); }); });
    connect(btnSaveTo, &QPushButton::clicked, this,
            [this] { Guard([this] { BrowseFolder(edSave, TSettingsStore::kSaveDir, false); }); });
    connect(btnOverlay, &QPushButton::clicked, this, [this] {
        Guard([this] { BrowseFolder(edOverlay, TSettingsStore::kOverlayDir, false); });
    });
    connect(btnMask, &QPushButton::clicked, this,
            [this] { Guard([this] { BrowseFolder(edMask, TSettingsStore::kMaskDir, false); }); });
    // The OK button: the dialog closes after its handler, whatever happened.
    connect(btnSettings, &QPushButton::clicked, this, [this] {
        Guard([this] { btnSettingsClick(); });
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSetting::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        Dialogs().MessageBox(this, "Quillon", e.what(), TMsgIcon::Error, TMsgButtons::Ok);
    }
}

void TfrmSetting::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Guard([this] { FormShow(); });
}

void TfrmSetting::FormShow() {
    TSettingsStore store;
    edOpen->setText(QString::fromStdString(store.ReadOrCreate(TSettingsStore::kOpenDir)));
    edSave->setText(QString::fromStdString(store.ReadOrCreate(TSettingsStore::kSaveDir)));
    edOverlay->setText(QString::fromStdString(store.ReadOrCreate(TSettingsStore::kOverlayDir)));
    edMask->setText(QString::fromStdString(store.ReadOrCreate(TSettingsStore::kMaskDir)));
}

void TfrmSetting::BrowseFolder(QLineEdit* edit, const char* key, bool setsOpenDialog) {
    TSettingsStore store;
    const std::string start = store.ReadOrCreate(key);
    const auto chosen = Dialogs().ChooseFolder(this, start);
    if (!chosen) return;
    edit->setText(QString::fromStdString(*chosen));
    if (setsOpenDialog) folders_.OpenDir = *chosen;
}

void TfrmSetting::btnSettingsClick() {
    TSettingsStore store;
    auto invalid = [this] {
        Dialogs().MessageBox(this, "Error", "Invalid Directory", TMsgIcon::Error, TMsgButtons::Ok);
    };
    const std::string open = edOpen->text().toStdString();
    if (!FolderExists(open)) return invalid();
    store.Write(TSettingsStore::kOpenDir, open);
    folders_.OpenDir = open;

    const std::string save = edSave->text().toStdString();
    if (!FolderExists(save)) return invalid();
    store.Write(TSettingsStore::kSaveDir, save);
    folders_.SaveDir = save;

    const std::string overlay = edOverlay->text().toStdString();
    if (!overlay.empty() && !FolderExists(overlay)) return invalid();
    store.Write(TSettingsStore::kOverlayDir, overlay);
    folders_.UserOverlayFolder = overlay;

    const std::string mask = edMask->text().toStdString();
    if (!mask.empty() && !FolderExists(mask)) return invalid();
    store.Write(TSettingsStore::kMaskDir, mask);
    folders_.UserMaskFolder = mask;
}

} // namespace quillon
