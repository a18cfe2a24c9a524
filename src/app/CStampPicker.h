#pragma once
// The stamp picker: the stamps of a folder in the shared picker window, with the Stamp, Edit,
// View and Image menus that open, save and edit the stamps and give each its own flip, turn and
// size. Picking a stamp makes it the one the stamp tool places.

#include <QObject>
#include <functional>
#include <memory>

#include "app/picker/PickerItems.h"
#include "base/Command.h"
#include "stamps/StampPickerModel.h"

class QAction;
class QMainWindow;

namespace celvane {

class CPickerWindow;
class Sprite;

class CStampPicker : public QObject, public PickerItems, public CommandTarget {
public:
    // The picker window floats over `mainWindow`; `tellViews` sends an update hint to every film
    // window.
    CStampPicker(QMainWindow& mainWindow, std::function<void(uint32_t)> tellViews);
    ~CStampPicker() override;

    StampPickerModel& model() { return model_; }
    CPickerWindow& window() { return *window_; }
    // Reads the settings and opens the folder they name (again when the folder setting has
    // changed since).
    void start();
    // Shows the window, opening the folder first the first time; `toggle` hides it when it is
    // showing.
    void show(bool toggle);
    // A new stamps folder from the Choices opens at once in a picker already in use.
    void settingsChanged()
    {
        if (started_)
            start();
    }

    // A command of the picker's menus, run as they run it; false when it is not enabled.
    bool run(int id);
    CommandState state(int id);

    // A picture taken from a film becomes the stamp "Snapshot" (replacing the last one) and the
    // one the stamp tool places.
    void addSnapshot(const Sprite& picture);
    // The pictures on the clipboard join the stamps, the first of them as the new "Snapshot";
    // false when the clipboard has none.
    bool grabSnapshotFromClipboard();

    // PickerItems
    int itemCount() const override;
    PickerLook describe(int item) const override;
    void paintIcon(int item, QPainter& painter, const QRect& icon) override;
    void select(PickerSelect op, int item) override;
    void selectionEnded() override;
    bool picked(int item, bool doubleClick) override;
    QMimeData* dragData() override;
    // The stamp the stamp tool would place, in a small cell.
    QPixmap dragPicture() override;
    void dropFiles(const std::vector<std::string>& paths) override;
    bool openFolder(const std::string& folder) override;

private:
    void addPickerCommands();
    void buildMenus();
    void refreshActions();
    void changed(uint32_t hint);
    // Adds pictures of a kind; failures are reported.
    void addPictures(int fileType, ByteSpan data);
    // Pictures whose first becomes the stamp "Snapshot", in place of the last one.
    void replaceSnapshot(int fileType, ByteSpan data);

    void openFile();
    void exportStamps();
    void removeSelected();
    void copy();
    void paste();
    void rename();

    std::function<void(uint32_t)> tellViews_;
    StampPickerModel model_;
    std::unique_ptr<CPickerWindow> window_;
    std::vector<std::pair<int, QAction*>> actions_;
    bool started_ = false;
};

} // namespace celvane
