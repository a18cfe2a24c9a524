#pragma once
// The toolbox ("Toolbox"): a dockable bar with a button for each shown entry of the group in
// use, and the tool panels, shown next to their buttons. Choosing a tool, from here or from the
// Tools menu, goes through `choose`.

#include <QToolBar>
#include <array>
#include <functional>

#include "view/tools/ToolBox.h"
#include "view/tools/ToolBoxGroup.h"

class QGridLayout;
class QToolButton;

namespace celvane {

class CToolPanel;
class PenPanel;
class SnapshotPanel;
class TextPanel;

class CTools : public QToolBar {
    Q_OBJECT
public:
    // `action` gives the program's action for a command; `run` runs a command as the menus do.
    CTools(ToolBox& box, const std::function<QAction*(int)>& action, const std::function<bool(int)>& run,
           QWidget* parent);
    ~CTools() override;

    const ToolBoxGroup& group() const { return group_; }
    int buttonCount() const { return int(buttons_.size()); }
    QToolButton* button(int entry) const;
    // Null for tools without a panel.
    CToolPanel* panel(int tool) const;

    // Selects the tool; unless quiet, opens its panel when the entry asks for that on a first
    // choice, and toggles it when the tool was current already.
    ToolBox::Selected choose(int tool, bool quiet);
    // Takes the group, button size and tool tips from the settings again.
    void applySettings();
    // Hides the unpinned panels (a press in a film window, say).
    void dismissPanels();
    // Where on the screen the film being drawn is: panels open beside the toolbox but never
    // over it.
    void setKeepClear(std::function<QRect()> area) { keepClear_ = std::move(area); }
    QRect filmShown() const { return keepClear_ ? keepClear_() : QRect(); }
    // The stamp tool's panel is the stamp picker: shown when the tool is chosen, toggled when
    // it is chosen again.
    std::function<void(bool toggle)> showStampPicker;
    // "Grab from clipboard" while snapshots go to the stamps.
    std::function<void()> grabIntoStamps;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeButtons();
    void layOut();
    void makePanels(const std::function<bool(int)>& run);
    QPoint panelPlace(int entry, const CToolPanel& panel) const;

    ToolBox& box_;
    std::function<QAction*(int)> action_;
    ToolBoxGroup group_;
    bool tips_ = true; // tool tips and fly-by status texts
    std::vector<std::pair<int, QToolButton*>> buttons_; // entry, button
    QGridLayout* grid_;
    std::array<CToolPanel*, ToolBox::kCount> panels_{};
    PenPanel* pencilPanel_ = nullptr;
    PenPanel* eraserPanel_ = nullptr;
    SnapshotPanel* snapshotPanel_ = nullptr;
    TextPanel* textPanel_ = nullptr;
    std::function<QRect()> keepClear_;
};

} // namespace celvane
