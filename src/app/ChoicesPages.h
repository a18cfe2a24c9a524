#pragma once
// The four pages of the Choices sheet. Each shows its values as read from the settings, checks
// what was typed (`check`, which says what is wrong and returns false) and writes its values.

#include <QWidget>
#include <array>
#include <vector>

#include "app/Choices.h"
#include "view/tools/ToolBoxGroup.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace celvane {

class Settings;

class CChoicesPage : public QWidget {
public:
    using QWidget::QWidget;
    virtual bool check() { return true; }
    virtual void save(Settings& settings) const = 0;
};

// "General": the program's switches, and the grid and preview that new film windows take.
class CChoicesMisc : public CChoicesPage {
    Q_OBJECT
public:
    explicit CChoicesMisc(const Settings& settings);
    void save(Settings& settings) const override;

private:
    QCheckBox* splash_;
    QCheckBox* overRun_;
    QCheckBox* singleDoc_;
    QCheckBox* toolTips_;
    QCheckBox* statusBar_;
    QCheckBox* blackWhite_;
    QCheckBox* gridShown_;
    QCheckBox* snapTo_;
    QSpinBox* xSpacing_;
    QSpinBox* ySpacing_;
    QSpinBox* xDivisions_;
    QSpinBox* yDivisions_;
    QComboBox* ghosting_;
    QComboBox* inBetweening_;
    QCheckBox* ghostsWhilePlaying_;
};

// "Tools": the toolbox kind and button size, and which tools a custom toolbox shows.
class CChoicesTools : public CChoicesPage {
    Q_OBJECT
public:
    explicit CChoicesTools(const Settings& settings);
    void save(Settings& settings) const override;

private:
    void follow();

    QButtonGroup* kind_;
    QButtonGroup* size_;
    QWidget* sizes_;
    QCheckBox* pinOnMove_;
    QGroupBox* custom_;
    std::array<QCheckBox*, ToolBoxGroup::kEntries> shown_{};
    std::array<QCheckBox*, ToolBoxGroup::kEntries> openFirst_{};
};

// "Default Film": the teacher's own default film, with its size against the screen's.
class CChoicesDefaultFilm : public CChoicesPage {
    Q_OBJECT
public:
    CChoicesDefaultFilm(const Settings& settings, const ScreenInfo& screen);
    void save(Settings& settings) const override;
    DefaultFilmChoices choices() const;
    const ScreenInfo& screen() const { return screen_; }
    // The preview sets the size it was dragged to.
    void show(const DefaultFilmChoices& c);

private:
    // Width, height, colours and the Full and 1/4 buttons, with their labels.
    QFormLayout* sizeForm(QPushButton* full, QPushButton* quarter);
    void follow();

    ScreenInfo screen_;
    QCheckBox* userDefined_;
    QCheckBox* limitDepth_;
    QSpinBox* width_;
    QSpinBox* height_;
    QComboBox* colours_;
    QCheckBox* compressed_;
    std::vector<QWidget*> sized_; // enabled with "User Defined Default Film"
    QWidget* preview_;
};

// "Options": picker folders, action sounds and fast graphics.
class CChoicesOptions : public CChoicesPage {
    Q_OBJECT
public:
    CChoicesOptions(const Settings& settings, const std::filesystem::path& programFolder);
    // A changed folder that does not exist is refused.
    bool check() override;
    void save(Settings& settings) const override;
    OptionsChoices choices() const;

private:
    QLineEdit* stamps_;
    QLineEdit* sounds_;
    QCheckBox* actionSounds_;
    QLabel* actionLabel_;
    QLineEdit* actionDir_;
    QWidget* actionBrowse_;
    QCheckBox* fast2_;
    QCheckBox* fast16_;
    QCheckBox* fast256_;
    QSpinBox* autosave_;
    QSpinBox* undoSteps_;
    QSpinBox* undoMegabytes_;
    OptionsChoices loaded_;
};

} // namespace celvane
