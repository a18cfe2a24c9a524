#include "app/CChoices.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ChoicesPages.h"
#include "base/Settings.h"
#include "view/TitleRoom.h"

namespace celvane {

CChoices::CChoices(Settings& settings, const ScreenInfo& screen, const std::filesystem::path& programFolder,
                   QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle("Choices");
    tabs_ = new QTabWidget(this);
    pages_ = {new CChoicesMisc(settings), new CChoicesTools(settings), new CChoicesDefaultFilm(settings, screen),
              new CChoicesOptions(settings, programFolder)};
    const char* titles[] = {"General", "Tools", "Default Film", "Options"};
    for (size_t i = 0; i < pages_.size(); ++i)
        tabs_->addTab(pages_[i], titles[i]);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    makeRoomForTitle(*this);
}

void CChoices::accept()
{
    for (CChoicesPage* page : pages_)
        if (!page->check()) {
            tabs_->setCurrentWidget(page);
            return;
        }
    for (CChoicesPage* page : pages_)
        page->save(settings_);
    QDialog::accept();
}

} // namespace celvane
