#include "app/CTools.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QToolButton>

#include "app/CToolPanel.h"
#include "app/ScreenRoom.h"
#include "app/ToolPanels.h"
#include "base/CommandIds.h"
#include "base/Settings.h"
#include "view/tools/PenTool.h"
#include "view/tools/SnapshotTool.h"

namespace celvane {

namespace {
int entryOfTool(int tool)
{
    for (int entry = 0; entry < ToolBoxGroup::kEntries; ++entry)
        if (ToolBox::numberForCommand(ToolBoxGroup::kCommands[size_t(entry)]) == tool)
            return entry;
    return -1;
}
} // namespace

CTools::CTools(ToolBox& box, const std::function<QAction*(int)>& action, const std::function<bool(int)>& run,
               QWidget* parent)
    : QToolBar("Toolbox", parent), box_(box), action_(action), group_(ToolBoxGroup::load(Settings::instance()))
{
    setObjectName("Toolbox");
    auto* holder = new QWidget(this);
    grid_ = new QGridLayout(holder);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(0);
    addWidget(holder);
    makeButtons();
    connect(this, &QToolBar::orientationChanged, this, &CTools::layOut);
    makePanels(run);
    box_.dismissPanels = [this] { dismissPanels(); };
}

void CTools::applySettings()
{
    for (const auto& entry : buttons_)
        delete entry.second;
    buttons_.clear();
    group_ = ToolBoxGroup::load(Settings::instance());
    makeButtons();
}

void CTools::makeButtons()
{
    QWidget* holder = grid_->parentWidget();
    const QSize buttonSize = group_.bigButtons ? QSize(40, 40) : QSize(24, 22);
    const QSize pictureSize = group_.bigButtons ? QSize(34, 34) : QSize(16, 15);
    tips_ = Settings::instance().getFlag("Settings", "ToolTips", true);
    for (int entry : group_.shownEntries()) {
        QAction* a = action_(ToolBoxGroup::kCommands[size_t(entry)]);
        if (!a)
            continue;
        auto* b = new QToolButton(holder);
        b->setDefaultAction(a);
        b->setFixedSize(buttonSize);
        b->setIconSize(pictureSize);
        b->setAutoRaise(true);
        b->installEventFilter(this);
        b->show();
        buttons_.emplace_back(entry, b);
    }
    layOut();
}

CTools::~CTools() { box_.dismissPanels = nullptr; }

bool CTools::eventFilter(QObject* watched, QEvent* event)
{
    // The buttons take their tips from the program's actions, so they are held back here.
    if (!tips_ && (event->type() == QEvent::ToolTip || event->type() == QEvent::StatusTip))
        return true;
    return QToolBar::eventFilter(watched, event);
}

void CTools::layOut()
{
    const int perRow = orientation() == Qt::Horizontal ? group_.horzPerRow : group_.vertPerRow;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        grid_->removeWidget(buttons_[i].second);
        grid_->addWidget(buttons_[i].second, int(i) / perRow, int(i) % perRow);
    }
}

void CTools::makePanels(const std::function<bool(int)>& run)
{
    QWidget* main = parentWidget();
    const bool pinOnMove = group_.pinOnInitialMove;
    // A choice in a panel makes its tool current, quietly, and the panel goes.
    const auto chosen = [this](int tool) {
        return [this, tool] {
            box_.select(tool, true);
            if (CToolPanel* p = panel(tool))
                p->dismiss();
        };
    };
    pencilPanel_ = new PenPanel(box_.pencil(), chosen(ToolBox::Pencil));
    panels_[ToolBox::Pencil] = new CToolPanel("Pencil", pencilPanel_, pinOnMove, main);

    eraserPanel_ = new PenPanel(box_.eraser(), chosen(ToolBox::Eraser));
    const auto undoLast = [run] {
        if (!run(ID_EDIT_UNDO))
            run(ID_EDIT_REDO);
    };
    // After an action the eraser makes way for the tool used before it.
    const auto back = [this] {
        box_.select(ToolBox::kPrevious, true);
        panels_[ToolBox::Eraser]->dismiss();
    };
    auto* eraser = new CommandButtonsPanel(eraserPanel_,
                                           {{"Undo Last Change", undoLast},
                                            {"Undo All Changes", [run] { run(ID_EDIT_RESTORE); }},
                                            {"Blank frame", [run] { run(ID_FRAME_BLANK); }}},
                                           back);
    panels_[ToolBox::Eraser] = new CToolPanel("Eraser", eraser, pinOnMove, main);

    // Grabbing from the clipboard goes where snapshots go.
    snapshotPanel_ = new SnapshotPanel(box_.snapshot(), chosen(ToolBox::Snapshot), [this, run] {
        if (box_.snapshot().toStamps() && grabIntoStamps)
            grabIntoStamps();
        else
            run(ID_EDIT_PASTE);
    });
    panels_[ToolBox::Snapshot] = new CToolPanel("Snap Shot", snapshotPanel_, pinOnMove, main);
    // Ctrl+R repeats the last snapshot from anywhere in the program.
    auto* repeat = new QAction("Repeat last snapshot", this);
    repeat->setShortcut(QKeySequence("Ctrl+R"));
    repeat->setShortcutContext(Qt::ApplicationShortcut);
    connect(repeat, &QAction::triggered, this, [this] { box_.snapshot().repeatLast(); });
    if (main)
        main->addAction(repeat);

    textPanel_ = new TextPanel(box_.text());
    panels_[ToolBox::Text] = new CToolPanel("Text", textPanel_, pinOnMove, main);

    panels_[ToolBox::FloodFill] =
        new CToolPanel("Flood Fill", new FillPanel(box_.floodFill(), chosen(ToolBox::FloodFill)), pinOnMove, main);
}

QToolButton* CTools::button(int entry) const
{
    for (const auto& [e, b] : buttons_)
        if (e == entry)
            return b;
    return nullptr;
}

CToolPanel* CTools::panel(int tool) const
{
    return tool >= 0 && tool < ToolBox::kCount ? panels_[size_t(tool)] : nullptr;
}

QPoint CTools::panelPlace(int entry, const CToolPanel& panel) const
{
    const QToolButton* by = button(entry);
    const QRect at = by && by->isVisible() ? QRect(by->mapToGlobal(QPoint(0, 0)), by->size()) : QRect();
    return placed(panel, [at](const WindowPlace& place, QSize frame) { return place.panel(frame, at); });
}

ToolBox::Selected CTools::choose(int tool, bool quiet)
{
    const ToolBox::Selected selected = box_.select(tool, quiet);
    if (selected == ToolBox::Selected::Changed)
        dismissPanels();
    const int current = box_.currentNumber();
    const int entry = entryOfTool(current);
    if (!quiet && current == ToolBox::Stamp && showStampPicker && selected != ToolBox::Selected::Nothing) {
        showStampPicker(selected == ToolBox::Selected::Again);
        return selected;
    }
    if (quiet || !group_.opensPanel(entry, selected))
        return selected;
    if (CToolPanel* p = panel(current)) {
        pencilPanel_->sync();
        eraserPanel_->sync();
        snapshotPanel_->sync();
        textPanel_->sync();
        p->resize(p->sizeHint().expandedTo(p->size()));
        const QPoint place = panelPlace(entry, *p);
        if (selected == ToolBox::Selected::Again)
            p->toggleAt(place);
        else
            p->showAt(place);
    }
    return selected;
}

void CTools::dismissPanels()
{
    for (CToolPanel* p : panels_)
        if (p)
            p->dismiss();
}

} // namespace celvane
