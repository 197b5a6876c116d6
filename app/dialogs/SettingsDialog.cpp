#include "app/dialogs/SettingsDialog.h"

#include "app/DialogMemory.h"
#include "app/DocumentController.h"
#include "app/dialogs/Dialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <exception>
#include <filesystem>

namespace quillon {

namespace {

bool FolderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

} // namespace

SettingsDialog::SettingsDialog(DocumentController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("settingsDialog");
    setWindowTitle(tr("Settings"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(520, 272);

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
    row(0, "Image Directory", imageFolderEdit, imageFolderBrowse);
    row(1, "Save Directory", saveFolderEdit, saveFolderBrowse);
    row(2, "Additional Overlays Directory", overlayFolderEdit, overlayFolderBrowse);
    row(3, "Additional Masks Directory", maskFolderEdit, maskFolderBrowse);
    autoOrientCheck = new QCheckBox(tr("Rotate photos by their orientation tag"), this);
    autoOrientCheck->setObjectName("autoOrientCheck");
    autoOrientCheck->setToolTip(tr("Turn photos from cameras and phones upright as they open, "
                                   "by the orientation their camera recorded"));
    grid->addWidget(autoOrientCheck, 8, 0, 1, 2);

    saveButton = new QPushButton(tr("Save Settings"), this);
    saveButton->setDefault(true);
    cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    const std::pair<QPushButton*, std::pair<QLineEdit*, FolderSetting>> browses[] = {
        {imageFolderBrowse, {imageFolderEdit, FolderSetting::Open}},
        {saveFolderBrowse, {saveFolderEdit, FolderSetting::Save}},
        {overlayFolderBrowse, {overlayFolderEdit, FolderSetting::Overlay}},
        {maskFolderBrowse, {maskFolderEdit, FolderSetting::Mask}}};
    for (const auto& [button, row] : browses)
        connect(button, &QPushButton::clicked, this,
                [this, row] { guard([this, row] { browseFolder(row.first, row.second); }); });
    // The OK button: the dialog closes after its handler, whatever happened.
    connect(saveButton, &QPushButton::clicked, this, [this] {
        guard([this] { saveSettings(); });
        accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void SettingsDialog::guard(const std::function<void()>& handler) {
    RunCommand(this, handler);
}

void SettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    guard([this] { reloadFolders(); });
}

void SettingsDialog::reloadFolders() {
    SettingsStore store;
    const std::pair<QLineEdit*, FolderSetting> rows[] = {
        {imageFolderEdit, FolderSetting::Open},
        {saveFolderEdit, FolderSetting::Save},
        {overlayFolderEdit, FolderSetting::Overlay},
        {maskFolderEdit, FolderSetting::Mask}};
    for (const auto& [edit, setting] : rows)
        edit->setText(QString::fromStdString(store.ReadOrCreate(SettingsStore::KeyOf(setting))));
    autoOrientCheck->setChecked(store.AutoOrient());
}

void SettingsDialog::browseFolder(QLineEdit* edit, FolderSetting setting) {
    SettingsStore store;
    const std::string start = store.ReadOrCreate(SettingsStore::KeyOf(setting));
    const auto chosen = Dialogs::current().chooseFolder(this, start);
    if (!chosen) return;
    edit->setText(QString::fromStdString(*chosen));
    if (setting == FolderSetting::Open) controller_.setFolder(FolderSetting::Open, *chosen);
}

void SettingsDialog::saveSettings() {
    SettingsStore store;
    // The image and save folders must exist; the two extra folders may also
    // be left empty.
    const std::pair<QLineEdit*, FolderSetting> rows[] = {
        {imageFolderEdit, FolderSetting::Open},
        {saveFolderEdit, FolderSetting::Save},
        {overlayFolderEdit, FolderSetting::Overlay},
        {maskFolderEdit, FolderSetting::Mask}};
    for (const auto& [edit, setting] : rows) {
        const std::string folder = edit->text().toStdString();
        const bool mayBeEmpty = setting == FolderSetting::Overlay || setting == FolderSetting::Mask;
        if (!(mayBeEmpty && folder.empty()) && !FolderExists(folder)) {
            Dialogs::current().messageBox(this, "Error", "Invalid Directory", MessageIcon::Error,
                                          MessageButtons::Ok);
            return;
        }
        // A folder newly chosen here is where its dialog starts again,
        // rather than the folder that dialog last used.
        if (store.ReadOrCreate(SettingsStore::KeyOf(setting)) != folder)
            ForgetDialogFolder(setting);
        store.Write(SettingsStore::KeyOf(setting), folder);
        controller_.setFolder(setting, folder);
    }
    store.Write(SettingsStore::kAutoOrient, autoOrientCheck->isChecked() ? "1" : "0");
}

} // namespace quillon
