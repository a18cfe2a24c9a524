#pragma once
// The sound picker: the sounds of the sounds folder's library on the shared picker window, with
// its own menus and tool bar. Sounds are heard, recorded, opened from files, saved as a library
// or as wave files, cut, copied and pasted, renamed, put into the current frame, and dragged onto
// a film window.

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "app/picker/PickerItems.h"

class QAction;
class QMimeData;
class QWidget;

namespace celvane {

class CCelvaneView;
class CPickerWindow;
class CRecordDialog;
class Sound;
class SoundLibrary;

class CSoundPicker : public QObject, public PickerItems {
    Q_OBJECT
public:
    // What a dragged sound carries: the sound clipboard's own form.
    static constexpr const char* kMimeType = "application/x-celvane-sounds";

    // `activeView` gives the film window sounds are put into (or null).
    CSoundPicker(SoundLibrary& library, std::function<CCelvaneView*()> activeView, QWidget* parent);
    ~CSoundPicker() override;

    CPickerWindow& window() const { return *window_; }
    // Opens the sounds folder the settings name; again when the setting changed.
    void start();
    void settingsChanged();
    // Adds the sounds of a file and shows the picker.
    void loadFile(const std::string& path);

    void open();
    void save();
    void saveAsDefault();
    void cut();
    void copy();
    void paste();
    void deleteSelected();
    void renameSelected();
    void hear();
    void record();
    // A sound recorded and kept joins the picker's library and shows at once; the pooled sound.
    Sound* keep(CRecordDialog& dialog);
    // Puts the first selected sound into the active window's current frame.
    void putInFrame();
    // Puts the sounds a drag carries into the current frame of `view`; false when it carries none.
    static bool dropInto(CCelvaneView& view, const QMimeData& data);

    // PickerItems
    int itemCount() const override;
    PickerLook describe(int item) const override;
    void paintIcon(int item, QPainter& painter, const QRect& icon) override;
    void select(PickerSelect op, int item) override;
    bool picked(int item, bool doubleClick) override;
    QMimeData* dragData() override;
    void dropFiles(const std::vector<std::string>& paths) override;
    bool openFolder(const std::string& folder) override;

private:
    void buildMenus();
    QAction* action(const QString& text, void (CSoundPicker::*run)(), const QString& tip = {});
    int firstSelected() const;
    // False, once the user is told, when the picker has no sounds.
    bool anythingToSave() const;
    // Runs `work`, reporting what it throws; the picker shows the result.
    void guarded(const std::function<void()>& work, const std::string& file = {});

    SoundLibrary& library_;
    std::function<CCelvaneView*()> activeView_;
    std::unique_ptr<CPickerWindow> window_;
    std::string folder_;
    bool large_ = true;
};

} // namespace celvane
