#pragma once
// The Choices sheet: "General", "Tools", "Default Film" and "Options". OK writes every page's
// values once all of them are acceptable; Cancel writes nothing.

#include <QDialog>
#include <filesystem>
#include <vector>

#include "film/DefaultFilm.h"

class QTabWidget;

namespace celvane {

class CChoicesPage;
class Settings;

class CChoices : public QDialog {
    Q_OBJECT
public:
    CChoices(Settings& settings, const ScreenInfo& screen, const std::filesystem::path& programFolder,
             QWidget* parent = nullptr);

    QTabWidget* pages() const { return tabs_; }
    void accept() override;

private:
    Settings& settings_;
    QTabWidget* tabs_;
    std::vector<CChoicesPage*> pages_;
};

} // namespace celvane
