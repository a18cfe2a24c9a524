#include "app/ChoicesPages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <filesystem>

#include "app/CommandTable.h"
#include "app/FileDialogs.h"
#include "base/Reporter.h"
#include "base/StringTable.h"

namespace celvane {

namespace {
QSpinBox* numberField(int low, int high, int value)
{
    auto* box = new QSpinBox;
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

QCheckBox* checkBox(const QString& text, bool on)
{
    auto* box = new QCheckBox(text);
    box->setChecked(on);
    return box;
}

QComboBox* list(const QStringList& entries, int index)
{
    auto* box = new QComboBox;
    box->addItems(entries);
    box->setCurrentIndex(index);
    return box;
}

// Radio buttons, numbered in order, in a box of their own.
QButtonGroup* radios(const QString& title, const QStringList& texts, int chosen, QVBoxLayout* into, QWidget* owner)
{
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(owner);
    for (int i = 0; i < texts.size(); ++i) {
        auto* b = new QRadioButton(texts[i]);
        group->addButton(b, i);
        layout->addWidget(b);
    }
    if (QAbstractButton* b = group->button(chosen))
        b->setChecked(true);
    into->addWidget(box);
    return group;
}
} // namespace

CChoicesMisc::CChoicesMisc(const Settings& settings)
{
    const GeneralChoices g = GeneralChoices::load(settings);
    const WindowDefaults w = WindowDefaults::load(settings);
    splash_ = checkBox("Show &Title Screen at start up", g.splash);
    overRun_ = checkBox("Indicate &over runs on films", g.showOverRun);
    singleDoc_ = checkBox("Single &document mode", g.singleDoc);
    toolTips_ = checkBox("Show Tool&Tips", g.toolTips);
    statusBar_ = checkBox("Show &Status Bar", g.statusBar);
    blackWhite_ = checkBox("&Black && White", g.blackWhite);
    gridShown_ = checkBox("Sho&wn", w.grid.show);
    snapTo_ = checkBox("Snap To", w.grid.lock);
    xSpacing_ = numberField(GridSettings::kMinSpacing, GridSettings::kMaxSpacing, w.grid.xSpacing);
    ySpacing_ = numberField(GridSettings::kMinSpacing, GridSettings::kMaxSpacing, w.grid.ySpacing);
    xDivisions_ = numberField(GridSettings::kMinDivisions, GridSettings::kMaxDivisions, w.grid.xSubDivs);
    yDivisions_ = numberField(GridSettings::kMinDivisions, GridSettings::kMaxDivisions, w.grid.ySubDivs);
    ghosting_ = list({"Previous frame", "Previous 2 frames", "Previous 3 frames"}, w.ghosting);
    inBetweening_ = list({"Previous and next frames", "2 previous and 1 next", "2 previous and 2 next"}, w.inBetweening);
    ghostsWhilePlaying_ = checkBox("Show ghosts while &playing", g.ghostsWhilePlaying);
    xSpacing_->setObjectName("xSpacing");

    auto* layout = new QVBoxLayout(this);
    for (QCheckBox* b : {splash_, overRun_, singleDoc_, toolTips_, statusBar_, blackWhite_}) {
        layout->addWidget(b);
        // Every other choice takes effect on OK; the windows' arrangement is made at start-up.
        if (b == singleDoc_) {
            auto* note = new QLabel("(takes effect when Celvane next starts)");
            note->setObjectName("restartNote");
            note->setContentsMargins(24, 0, 0, 0);
            layout->addWidget(note);
        }
    }
    auto* grid = new QGroupBox("Default Grid Settings");
    auto* gridForm = new QFormLayout(grid);
    gridForm->addRow(gridShown_);
    gridForm->addRow(snapTo_);
    gridForm->addRow("&X spacing:", xSpacing_);
    gridForm->addRow("&Y spacing:", ySpacing_);
    gridForm->addRow("X di&visions:", xDivisions_);
    gridForm->addRow("Y div&isions:", yDivisions_);
    layout->addWidget(grid);
    auto* preview = new QFormLayout;
    preview->addRow("&Ghosting:", ghosting_);
    preview->addRow("&In-betweening:", inBetweening_);
    preview->addRow(ghostsWhilePlaying_);
    layout->addLayout(preview);
    layout->addStretch();
}

void CChoicesMisc::save(Settings& settings) const
{
    // The Tools page's switches live in the same record; what it wrote stays.
    GeneralChoices g = GeneralChoices::load(settings);
    g.splash = splash_->isChecked();
    g.showOverRun = overRun_->isChecked();
    g.singleDoc = singleDoc_->isChecked();
    g.toolTips = toolTips_->isChecked();
    g.statusBar = statusBar_->isChecked();
    g.blackWhite = blackWhite_->isChecked();
    g.ghostsWhilePlaying = ghostsWhilePlaying_->isChecked();
    g.save(settings);
    WindowDefaults w;
    w.grid.show = gridShown_->isChecked();
    w.grid.lock = snapTo_->isChecked();
    w.grid.xSpacing = xSpacing_->value();
    w.grid.ySpacing = ySpacing_->value();
    w.grid.xSubDivs = xDivisions_->value();
    w.grid.ySubDivs = yDivisions_->value();
    w.ghosting = ghosting_->currentIndex();
    w.inBetweening = inBetweening_->currentIndex();
    w.save(settings);
}

CChoicesTools::CChoicesTools(const Settings& settings)
{
    const GeneralChoices g = GeneralChoices::load(settings);
    const ToolBoxGroup custom = ToolBoxGroup::load(settings, ToolBoxGroup::kCustom);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* kinds = new QVBoxLayout;
    kind_ = radios("Toolbox", {"Standard", "Junior", "Custom..."}, g.group, kinds, this);
    auto* sizes = new QVBoxLayout;
    size_ = radios("Buttons", {"Small Buttons", "Large Buttons"}, g.bigButtons ? 1 : 0, sizes, this);
    sizes_ = size_->buttons().front()->parentWidget();
    pinOnMove_ = checkBox("Pin modifers on move", g.pinOnInitialMove);
    sizes->addWidget(pinOnMove_);
    top->addLayout(kinds);
    top->addLayout(sizes);
    layout->addLayout(top);

    custom_ = new QGroupBox("Custom toolbox");
    auto* grid = new QGridLayout(custom_);
    for (int i = 0; i < ToolBoxGroup::kEntries; ++i) {
        const CommandInfo* c = findCommand(ToolBoxGroup::kCommands[size_t(i)]);
        grid->addWidget(new QLabel(QString::fromUtf8(c && c->toolTip ? c->toolTip : "")), i, 0);
        shown_[size_t(i)] = checkBox("Tool Shown", custom.entries[size_t(i)] & ToolBoxGroup::Shown);
        openFirst_[size_t(i)] = checkBox("Open on 1st Click", custom.entries[size_t(i)] & ToolBoxGroup::OpenOnFirstClick);
        grid->addWidget(shown_[size_t(i)], i, 1);
        grid->addWidget(openFirst_[size_t(i)], i, 2);
    }
    layout->addWidget(custom_);
    layout->addStretch();
    follow();
    connect(kind_, &QButtonGroup::idClicked, this, &CChoicesTools::follow);
}

void CChoicesTools::follow()
{
    custom_->setEnabled(kind_->checkedId() == ToolBoxGroup::kCustom);
    // The Junior toolbox always has large buttons.
    sizes_->setEnabled(kind_->checkedId() != ToolBoxGroup::kJunior);
}

void CChoicesTools::save(Settings& settings) const
{
    GeneralChoices g = GeneralChoices::load(settings);
    g.group = std::max(0, kind_->checkedId());
    g.bigButtons = size_->checkedId() == 1;
    g.pinOnInitialMove = pinOnMove_->isChecked();
    g.save(settings);
    if (g.group != ToolBoxGroup::kCustom)
        return;
    ToolBoxGroup custom = ToolBoxGroup::load(settings, ToolBoxGroup::kCustom);
    for (size_t i = 0; i < custom.entries.size(); ++i)
        custom.entries[i] = (shown_[i]->isChecked() ? int(ToolBoxGroup::Shown) : 0)
            | (openFirst_[i]->isChecked() ? int(ToolBoxGroup::OpenOnFirstClick) : 0);
    custom.writeCustom(settings);
}

namespace {
// The screen's proportions with a 4 x 4 grid, the default film's rectangle in it; dragging sets
// the size.
class DefaultFilmPreview : public QWidget {
public:
    explicit DefaultFilmPreview(CChoicesDefaultFilm& page) : page_(page)
    {
        const ScreenInfo& s = page.screen();
        setFixedSize(160, s.width > 0 ? std::clamp(160 * s.height / s.width, 40, 160) : 120);
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Base));
        const auto box = page_.choices().film.preview(page_.screen(), {width(), height()});
        p.fillRect(QRect(0, 0, box.width, box.height), palette().color(isEnabled() ? QPalette::Highlight : QPalette::Mid));
        p.setPen(palette().color(QPalette::Mid));
        for (int i = 1; i < 4; ++i) {
            p.drawLine(width() * i / 4, 0, width() * i / 4, height());
            p.drawLine(0, height() * i / 4, width(), height() * i / 4);
        }
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent* e) override { drag(e); }
    void mouseMoveEvent(QMouseEvent* e) override { drag(e); }

private:
    void drag(QMouseEvent* e)
    {
        DefaultFilmChoices c = page_.choices();
        c.dragTo(page_.screen(), {width(), height()}, e->position().toPoint().x(), e->position().toPoint().y());
        page_.show(c);
    }

    CChoicesDefaultFilm& page_;
};
} // namespace

CChoicesDefaultFilm::CChoicesDefaultFilm(const Settings& settings, const ScreenInfo& screen) : screen_(screen)
{
    const DefaultFilmChoices c = DefaultFilmChoices::load(settings, screen);
    userDefined_ = new QCheckBox("&User Defined Default Film");
    limitDepth_ = new QCheckBox("&Limit default film to no more than 256 colours");
    width_ = numberField(kMinFilmSide, DefaultFilmChoices::maxWidth(screen), c.film.width);
    height_ = numberField(kMinFilmSide, DefaultFilmChoices::maxHeight(screen), c.film.height);
    width_->setObjectName("width");
    height_->setObjectName("height");
    colours_ = new QComboBox;
    const int listed = std::max(DefaultFilmChoices::kListedDepths, NewFilmChoice::depthIndex(c.film.bitsPerPixel) + 1);
    for (int id : {IDS_DEPTH_2, IDS_DEPTH_16, IDS_DEPTH_256, IDS_DEPTH_THOUSANDS, IDS_DEPTH_MILLIONS})
        if (colours_->count() < listed)
            colours_->addItem(QString::fromStdString(loadString(id)));
    compressed_ = new QCheckBox("&Compressed");
    auto* full = new QPushButton("&Full");
    auto* quarter = new QPushButton("1/&4");
    preview_ = new DefaultFilmPreview(*this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(userDefined_);
    auto* row = new QHBoxLayout;
    row->addLayout(sizeForm(full, quarter));
    row->addWidget(preview_, 0, Qt::AlignTop);
    layout->addLayout(row);
    layout->addWidget(limitDepth_);
    layout->addStretch();

    show(c);
    connect(userDefined_, &QCheckBox::toggled, this, &CChoicesDefaultFilm::follow);
    connect(width_, &QSpinBox::valueChanged, preview_, qOverload<>(&QWidget::update));
    connect(height_, &QSpinBox::valueChanged, preview_, qOverload<>(&QWidget::update));
    connect(full, &QPushButton::clicked, this, [this] {
        DefaultFilmChoices d = choices();
        d.film.setFull(screen_);
        show(d);
    });
    connect(quarter, &QPushButton::clicked, this, [this] {
        DefaultFilmChoices d = choices();
        d.film.setQuarter(screen_);
        show(d);
    });
}

QFormLayout* CChoicesDefaultFilm::sizeForm(QPushButton* full, QPushButton* quarter)
{
    auto* form = new QFormLayout;
    auto* widthLabel = new QLabel("&Width:");
    auto* heightLabel = new QLabel("&Height:");
    auto* coloursLabel = new QLabel("C&olours:");
    widthLabel->setBuddy(width_);
    heightLabel->setBuddy(height_);
    coloursLabel->setBuddy(colours_);
    auto* screenWidth = new QLabel(QString::asprintf("%d", screen_.width));
    auto* screenHeight = new QLabel(QString::asprintf("%d", screen_.height));
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(width_);
    widthRow->addWidget(screenWidth);
    auto* heightRow = new QHBoxLayout;
    heightRow->addWidget(height_);
    heightRow->addWidget(screenHeight);
    form->addRow(widthLabel, widthRow);
    form->addRow(heightLabel, heightRow);
    form->addRow(coloursLabel, colours_);
    form->addRow(compressed_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(full);
    buttons->addWidget(quarter);
    form->addRow(buttons);
    sized_ = {widthLabel, width_, screenWidth, heightLabel, height_, screenHeight, coloursLabel,
              colours_, compressed_, full, quarter, preview_};
    return form;
}

void CChoicesDefaultFilm::show(const DefaultFilmChoices& c)
{
    userDefined_->setChecked(c.userDefined);
    limitDepth_->setChecked(c.limitDepth);
    width_->setValue(c.film.width);
    height_->setValue(c.film.height);
    colours_->setCurrentIndex(std::min(NewFilmChoice::depthIndex(c.film.bitsPerPixel), colours_->count() - 1));
    compressed_->setChecked(c.film.compressed);
    follow();
}

void CChoicesDefaultFilm::follow()
{
    const bool own = userDefined_->isChecked();
    for (QWidget* w : sized_)
        w->setEnabled(own);
    limitDepth_->setEnabled(!own);
    preview_->update();
}

DefaultFilmChoices CChoicesDefaultFilm::choices() const
{
    DefaultFilmChoices c;
    c.userDefined = userDefined_->isChecked();
    c.limitDepth = limitDepth_->isChecked();
    c.film.width = width_->value();
    c.film.height = height_->value();
    c.film.bitsPerPixel = NewFilmChoice::kDepths[std::clamp(colours_->currentIndex(), 0, 4)];
    c.film.compressed = compressed_->isChecked();
    return c;
}

void CChoicesDefaultFilm::save(Settings& settings) const { choices().save(settings); }

CChoicesOptions::CChoicesOptions(const Settings& settings, const std::filesystem::path& programFolder)
{
    const OptionsChoices c = loaded_ = OptionsChoices::load(settings, programFolder);
    auto* layout = new QVBoxLayout(this);
    auto* folders = new QGridLayout;
    const auto addFolder = [&](const QString& label, const std::string& value, int row) {
        auto* edit = new QLineEdit(QString::fromStdString(value));
        auto* text = new QLabel(label);
        text->setBuddy(edit);
        auto* browse = new QPushButton("Browse...");
        connect(browse, &QPushButton::clicked, this, [edit, label] {
            if (const auto path = FileDialogs::chooser().chooseFolder(label.toStdString(), edit->text().toStdString()))
                edit->setText(QString::fromStdString(*path));
        });
        folders->addWidget(text, row, 0);
        folders->addWidget(edit, row, 1);
        folders->addWidget(browse, row, 2);
        return std::tuple{text, edit, browse};
    };
    stamps_ = std::get<1>(addFolder("S&tamps directory:", c.stampsDir, 0));
    sounds_ = std::get<1>(addFolder("S&ounds directory:", c.soundsDir, 1));
    stamps_->setObjectName("stampsDir");
    sounds_->setObjectName("soundsDir");
    actionSounds_ = checkBox("&Enable activity sounds", c.actionSoundsOn);
    folders->addWidget(actionSounds_, 2, 0, 1, 3);
    std::tie(actionLabel_, actionDir_, actionBrowse_) = addFolder("&Activity sounds directory:", c.actionSoundsDir, 3);
    actionDir_->setObjectName("actionSoundsDir");
    layout->addLayout(folders);
    auto* fast = new QGroupBox("Enable fast graphics");
    auto* fastLayout = new QVBoxLayout(fast);
    fast2_ = checkBox("for &2-colour films", c.fast2);
    fast16_ = checkBox("for &16-colour films", c.fast16);
    fast256_ = checkBox("for 2&56-colour films", c.fast256);
    for (QCheckBox* b : {fast2_, fast16_, fast256_})
        fastLayout->addWidget(b);
    layout->addWidget(fast);
    auto* recovery = new QHBoxLayout;
    autosave_ = numberField(0, 60, c.autosaveMinutes);
    autosave_->setObjectName("autosaveMinutes");
    autosave_->setSpecialValueText("never");
    auto* recoveryLabel = new QLabel("Keep a recovery copy of unsaved films every (minutes):");
    recoveryLabel->setBuddy(autosave_);
    recovery->addWidget(recoveryLabel);
    recovery->addWidget(autosave_);
    layout->addLayout(recovery);
    auto* undo = new QHBoxLayout;
    undoSteps_ = numberField(1, UndoLimits::kMaxSteps, c.undo.steps);
    undoSteps_->setObjectName("undoSteps");
    undoMegabytes_ = numberField(1, UndoLimits::kMaxMegabytes, int(c.undo.bytes >> 20));
    undoMegabytes_->setObjectName("undoMemory");
    auto* stepsLabel = new QLabel("&Undo steps:");
    stepsLabel->setBuddy(undoSteps_);
    auto* memoryLabel = new QLabel("using at most (MB a window):");
    memoryLabel->setBuddy(undoMegabytes_);
    for (QWidget* w : {static_cast<QWidget*>(stepsLabel), static_cast<QWidget*>(undoSteps_),
                       static_cast<QWidget*>(memoryLabel), static_cast<QWidget*>(undoMegabytes_)})
        undo->addWidget(w);
    layout->addLayout(undo);
    layout->addStretch();
    const auto follow = [this] {
        for (QWidget* w : {static_cast<QWidget*>(actionLabel_), static_cast<QWidget*>(actionDir_), actionBrowse_})
            w->setEnabled(actionSounds_->isChecked());
    };
    follow();
    connect(actionSounds_, &QCheckBox::toggled, this, follow);
}

bool CChoicesOptions::check()
{
    // A folder left as it was is kept even when missing: the shipped folders may not be
    // installed, and a missing one only leaves its picker empty.
    const OptionsChoices now = choices();
    const std::vector<std::tuple<QLineEdit*, std::string, std::string>> fields{
        {stamps_, now.stampsDir, loaded_.stampsDir},
        {sounds_, now.soundsDir, loaded_.soundsDir},
        {actionDir_, now.actionSoundsOn ? now.actionSoundsDir : loaded_.actionSoundsDir, loaded_.actionSoundsDir}};
    for (const auto& [field, folder, before] : fields) {
        std::error_code error;
        if (folder != before && !std::filesystem::is_directory(folder, error)) {
            Reporter::message("The folder \"" + folder + "\" does not exist. Please choose a folder that does.",
                              MessageButtons::Ok, MessageIcon::Warning);
            field->setFocus();
            field->selectAll();
            return false;
        }
    }
    return true;
}

OptionsChoices CChoicesOptions::choices() const
{
    OptionsChoices c;
    c.stampsDir = stamps_->text().trimmed().toStdString();
    c.soundsDir = sounds_->text().trimmed().toStdString();
    c.actionSoundsOn = actionSounds_->isChecked();
    c.actionSoundsDir = actionDir_->text().trimmed().toStdString();
    c.fast2 = fast2_->isChecked();
    c.fast16 = fast16_->isChecked();
    c.fast256 = fast256_->isChecked();
    c.autosaveMinutes = autosave_->value();
    c.undo.steps = undoSteps_->value();
    c.undo.bytes = size_t(undoMegabytes_->value()) << 20;
    return c;
}

void CChoicesOptions::save(Settings& settings) const { choices().save(settings); }

} // namespace celvane
