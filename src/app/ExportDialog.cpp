#include "app/ExportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cctype>
#include <filesystem>

#include "app/FileDialogs.h"
#include "view/FirstField.h"
#include "view/TitleRoom.h"

namespace celvane {

ExportOffer ExportOffer::forFilm()
{
    ExportOffer offer;
    for (const ExportKindInfo& k : exportKinds())
        offer.kinds.push_back({k.name, k.extension});
    offer.kindForPath = [](const std::string& path) -> std::optional<int> {
        const auto kind = exportKindForPath(path);
        const auto kinds = exportKinds();
        for (size_t i = 0; kind && i < kinds.size(); ++i)
            if (kinds[i].kind == *kind)
                return int(i);
        return std::nullopt;
    };
    offer.selectionText = "Current &Selection";
    return offer;
}

ExportOffer ExportOffer::byExtension(std::vector<Kind> kinds, const QString& selectionText)
{
    ExportOffer offer;
    offer.kinds = std::move(kinds);
    offer.kindForPath = [list = offer.kinds](const std::string& path) -> std::optional<int> {
        std::string ext = std::filesystem::path(path).extension().string();
        for (char& c : ext)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].extension == ext)
                return int(i);
        return std::nullopt;
    };
    offer.selectionText = selectionText;
    return offer;
}

ExportDialog::ExportDialog(const std::string& suggestedPath, ExportOffer offer, bool haveSelection, QWidget* parent)
    : QDialog(parent), offer_(std::move(offer)), folder_(std::filesystem::path(suggestedPath).parent_path().string())
{
    setWindowTitle("Export");
    path_ = new QLineEdit(QString::fromStdString(suggestedPath));
    path_->setMinimumWidth(320);
    auto* browse = new QPushButton("&Browse...");
    kinds_ = new QComboBox;
    for (const ExportOffer::Kind& k : offer_.kinds)
        kinds_->addItem(QString("%1 (*%2)").arg(QString::fromStdString(k.name), QString::fromStdString(k.extension)));
    selection_ = new QCheckBox(offer_.selectionText);
    selection_->setEnabled(haveSelection);
    if (auto kind = offer_.kindForPath(suggestedPath))
        setKind(*kind);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_);
    pathRow->addWidget(browse);
    auto* form = new QFormLayout(this);
    form->addRow(buddyLabel("&File name:", path_), pathRow);
    form->addRow("Save as &type:", kinds_);
    form->addRow(selection_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    form->addRow(buttons);

    // Choosing a kind gives the name that kind's extension, so what is typed and what is
    // written agree.
    connect(kinds_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i < 0)
            return;
        std::filesystem::path p(path().empty() ? "film" : path());
        p.replace_extension(offer_.kinds[size_t(i)].extension);
        path_->setText(QString::fromStdString(p.string()));
    });
    // And a name typed with a kind's extension chooses that kind.
    connect(path_, &QLineEdit::textEdited, this, [this] {
        if (auto kind = offer_.kindForPath(path()))
            setKind(*kind);
    });
    connect(browse, &QPushButton::clicked, this, [this] {
        const ExportOffer::Kind& k = offer_.kinds[size_t(kind())];
        const std::string filter = k.name + " (*" + k.extension + ")";
        if (const auto chosen = FileDialogs::chooser().saveFile("Export", filter, path()))
            setPath(*chosen);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    startInFirstField(*this);
    makeRoomForTitle(*this);
}

std::string ExportDialog::path() const { return path_->text().trimmed().toStdString(); }

std::string ExportDialog::targetPath() const
{
    std::string target = path();
    if (target.empty())
        return target;
    if (std::filesystem::path(target).extension().empty())
        target += offer_.kinds[size_t(kind())].extension;
    // A bare name goes beside the film, not wherever the program happened to be started.
    if (std::filesystem::path(target).is_relative() && !folder_.empty())
        target = (std::filesystem::path(folder_) / target).string();
    return target;
}

void ExportDialog::accept()
{
    // As a file dialog does: No keeps the dialog and the name, to change either.
    if (!path().empty() && !FileDialogs::mayReplace(targetPath()))
        return;
    QDialog::accept();
}

int ExportDialog::kind() const { return std::max(kinds_->currentIndex(), 0); }

bool ExportDialog::selectionOnly() const { return selection_->isEnabled() && selection_->isChecked(); }

void ExportDialog::setPath(const std::string& path)
{
    path_->setText(QString::fromStdString(path));
    if (auto kind = offer_.kindForPath(path))
        setKind(*kind);
}

void ExportDialog::setKind(int kind)
{
    const QSignalBlocker quiet(kinds_); // the name already says so
    kinds_->setCurrentIndex(kind);
}

void ExportDialog::setSelectionOnly(bool on) { selection_->setChecked(on); }

} // namespace celvane
