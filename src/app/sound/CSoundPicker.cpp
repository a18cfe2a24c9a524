#include "app/sound/CSoundPicker.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QToolBar>
#include <filesystem>

#include "app/ExportDialog.h"
#include "app/FileDialogs.h"
#include "app/picker/CPickerWindow.h"
#include "app/sound/CRecordDialog.h"
#include "app/sound/WaveformView.h"
#include "base/Reporter.h"
#include "base/Settings.h"
#include "base/StringTable.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "platform/DataFolder.h"
#include "sound/SoundClipboard.h"
#include "sound/SoundFiles.h"
#include "sound/SoundPlayer.h"
#include "sound/SoundPool.h"
#include "sound/WaveFile.h"
#include "view/ActionSoundHook.h"
#include "view/CCelvaneView.h"

namespace celvane {

namespace {

constexpr const char* kWaveMime = "audio/wav";
// What Save... writes.
const ExportOffer::Kind kKinds[] = {{"Sound library", ".slb"}, {"Wave file", ".wav"}};
constexpr int kWaveKind = 1;

QByteArray bytesOf(const Bytes& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())); }
ByteSpan spanOf(const QByteArray& b) { return {reinterpret_cast<const uint8_t*>(b.constData()), size_t(b.size())}; }

std::string soundsFolder()
{
    return Settings::instance().getString("Sound Picker", "Dir", (dataFolder() / "Sounds").string());
}

} // namespace

CSoundPicker::CSoundPicker(SoundLibrary& library, std::function<CCelvaneView*()> activeView, QWidget* parent)
    : QObject(parent), library_(library), activeView_(std::move(activeView))
{
    const Settings& s = Settings::instance();
    const QSize first(s.getInt("Settings", "SoundPickerWidth", 370, 50, 4000),
                      s.getInt("Settings", "SoundPickerHeight", 100, 50, 4000));
    window_ = std::make_unique<CPickerWindow>(*this, "Sound Picker", first, parent);
    window_->setObjectName("SoundPicker");
    buildMenus();
}

CSoundPicker::~CSoundPicker() = default;

QAction* CSoundPicker::action(const QString& text, void (CSoundPicker::*run)(), const QString& tip)
{
    auto* a = new QAction(text, window_.get());
    if (!tip.isEmpty()) {
        a->setToolTip(tip);
        a->setStatusTip(tip);
    }
    connect(a, &QAction::triggered, this, run);
    return a;
}

void CSoundPicker::buildMenus()
{
    QAction* open = action("&Open...", &CSoundPicker::open, "Open sounds");
    QAction* save = action("&Save...", &CSoundPicker::save, "Save sounds");
    QAction* cut = action("Cu&t", &CSoundPicker::cut, "Cut");
    QAction* copy = action("&Copy", &CSoundPicker::copy, "Copy");
    QAction* paste = action("&Paste", &CSoundPicker::paste, "Paste");
    QAction* del = action("&Delete", &CSoundPicker::deleteSelected, "Delete");
    QMenu* sound = window_->menuBar()->addMenu("&Sound");
    sound->addActions({open, save, action("Save &As Default", &CSoundPicker::saveAsDefault)});
    QMenu* edit = window_->menuBar()->addMenu("&Edit");
    edit->addActions({cut, copy, paste, del});
    edit->addSeparator();
    QAction* all = new QAction("Select &All", window_.get());
    connect(all, &QAction::triggered, this, [this] {
        library_.selectAll(true);
        window_->refresh();
    });
    QAction* none = new QAction("C&lear Selection", window_.get());
    connect(none, &QAction::triggered, this, [this] {
        library_.selectAll(false);
        window_->refresh();
    });
    edit->addActions({all, none, action("&Rename...", &CSoundPicker::renameSelected)});
    QMenu* view = window_->menuBar()->addMenu("&View");
    for (const bool large : {false, true}) {
        QAction* size = view->addAction(large ? "&Large" : "&Small");
        size->setCheckable(true);
        size->setChecked(large == large_);
        connect(size, &QAction::triggered, this, [this, large, view] {
            large_ = large;
            window_->setLarge(large);
            for (QAction* a : view->actions())
                a->setChecked(a->text() == (large ? "&Large" : "&Small"));
            window_->refresh();
        });
    }
    QToolBar* bar = window_->addToolBar("Sounds");
    bar->setObjectName("SoundPickerTools");
    // Pictures for the file and edit buttons, and no handle, leave room for the sound buttons'
    // words at the picker's first width.
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    const std::pair<QAction*, const char*> pictured[] = {{open, "open"}, {save, "save"}, {cut, "cut"},
                                                         {copy, "copy"}, {paste, "paste"}, {del, "delete"}};
    for (const auto& [a, icon] : pictured) {
        a->setIcon(QIcon(QString(":/icons/colour/%1.svg").arg(icon)));
        bar->addAction(a);
    }
    bar->addSeparator();
    bar->addAction(action("Hear", &CSoundPicker::hear, "Hear this sound effect"));
    bar->addAction(action("Record", &CSoundPicker::record, "Record a new sound effect for this frame"));
    bar->addAction(action("Put in frame", &CSoundPicker::putInFrame,
                          "Put the selected sound in the current frame of the film"));
}

void CSoundPicker::guarded(const std::function<void()>& work, const std::string& file)
{
    try {
        work();
    } catch (const std::exception& e) {
        Reporter::reportException(e, true, file);
    }
    window_->refresh();
}

void CSoundPicker::start()
{
    folder_ = soundsFolder();
    window_->start(folder_);
}

void CSoundPicker::settingsChanged()
{
    if (soundsFolder() != folder_)
        start();
}

bool CSoundPicker::openFolder(const std::string& folder)
{
    SoundLibrary found;
    bool loaded = false;
    guarded([&] { loaded = loadFolderSounds(found, folder); });
    if (!loaded) {
        Reporter::message("Warning: the sounds could not be found in " + folder, MessageButtons::Ok,
                          MessageIcon::Warning);
        return false;
    }
    library_.clear();
    for (int i = 0; i < found.count(); ++i)
        library_.add(found.sound(i), found.name(i));
    return true;
}

void CSoundPicker::loadFile(const std::string& path)
{
    guarded([&] { loadSoundFile(library_, path); }, path);
    window_->showPicker();
}

void CSoundPicker::dropFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        guarded([&] { loadSoundFile(library_, path); }, path);
}

void CSoundPicker::open()
{
    if (const auto path = FileDialogs::chooser().openFile(
            "Open", "Sounds (*.slb *.wav);;Films (*.qfm);;All files (*)", folder_))
        loadFile(*path);
}

int CSoundPicker::firstSelected() const { return library_.nextSelected(0); }

bool CSoundPicker::anythingToSave() const
{
    if (library_.count() == 0)
        Reporter::message(IDS_NO_SOUNDS_TO_SAVE);
    return library_.count() > 0;
}

void CSoundPicker::save()
{
    if (!anythingToSave())
        return;
    const int first = firstSelected();
    const std::string proposed = library_.name(std::max(first, 0)) + kKinds[0].extension;
    // Every sound unless "Current Selection" is ticked: a click to hear a sound selects it too.
    ExportDialog dialog((std::filesystem::path(folder_) / proposed).string(),
                        ExportOffer::byExtension(std::vector(std::begin(kKinds), std::end(kKinds)), "Current &Selection"),
                        first >= 0, window_.get());
    dialog.setWindowTitle("Save Sounds");
    if (dialog.exec() != QDialog::Accepted || dialog.path().empty())
        return;
    // The type chosen decides what is written, whatever the name ends in.
    const std::string path = dialog.targetPath();
    const bool selectedOnly = dialog.selectionOnly();
    guarded([&] {
        if (dialog.kind() == kWaveKind) {
            std::vector<int> indices;
            for (int i = 0; i < library_.count(); ++i)
                if (!selectedOnly || library_.selected(i))
                    indices.push_back(i);
            saveSoundsAsWaves(library_, indices, path);
        } else {
            saveSoundLibrary(library_, selectedOnly, path);
        }
    }, path);
}

void CSoundPicker::saveAsDefault()
{
    if (folder_.empty())
        return;
    // An empty default library would leave the picker with nothing at the next start.
    if (!anythingToSave())
        return;
    const std::string path = (std::filesystem::path(folder_) / "data.slb").string();
    guarded([&] { saveSoundLibrary(library_, false, path); }, path);
}

void CSoundPicker::copy()
{
    const int first = firstSelected();
    if (first < 0)
        return;
    auto* data = new QMimeData;
    data->setData(kMimeType, bytesOf(copySounds(library_)));
    Bytes wave;
    ByteWriter w(&wave);
    library_.sound(first)->writeWave(&w);
    data->setData(kWaveMime, bytesOf(wave));
    data->setText(QString::fromStdString(library_.name(first)));
    QApplication::clipboard()->setMimeData(data);
}

void CSoundPicker::cut()
{
    copy();
    deleteSelected();
}

void CSoundPicker::paste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data)
        return;
    guarded([&] {
        if (data->hasFormat(kMimeType)) {
            pasteSounds(library_, spanOf(data->data(kMimeType)));
        } else if (data->hasFormat(kWaveMime)) {
            auto sound = readWave(spanOf(data->data(kWaveMime)));
            sound->checkPlayability();
            library_.hold(SoundPool::shared().add(std::move(sound)), "Sound");
        }
    });
}

void CSoundPicker::deleteSelected()
{
    for (int i = library_.count() - 1; i >= 0; --i)
        if (library_.selected(i))
            library_.remove(i);
    window_->refresh();
}

void CSoundPicker::renameSelected()
{
    for (int i = firstSelected(); i >= 0; i = library_.nextSelected(i + 1)) {
        bool ok = false;
        const QString name = QInputDialog::getText(window_.get(), "Rename", "New name:", QLineEdit::Normal,
                                                   QString::fromStdString(library_.name(i)), &ok);
        if (!ok)
            break;
        if (!name.isEmpty())
            library_.setName(i, name.toStdString());
    }
    window_->refresh();
}

void CSoundPicker::hear()
{
    const int first = firstSelected();
    if (SoundPlayer* player = SoundPlayer::current(); player && first >= 0)
        player->playWhole(*library_.sound(first));
}

void CSoundPicker::record()
{
    CRecordDialog dialog(window_.get());
    if (dialog.exec() == QDialog::Accepted)
        keep(dialog);
}

Sound* CSoundPicker::keep(CRecordDialog& dialog)
{
    Sound* pooled = dialog.keep(library_);
    window_->refresh();
    return pooled;
}

void CSoundPicker::putInFrame()
{
    CCelvaneView* view = activeView_();
    const int first = firstSelected();
    if (!view || !view->film() || first < 0)
        return;
    view->changeFrames("Sound", [&] {
        view->film()->addFrameSound(view->currentFrame(), library_.sound(first), library_.name(first));
        return view->currentFrame();
    });
    ActionSounds::play("Dropped");
    view->document().updateAllViews(nullptr, Hint::CurrentFrame);
}

bool CSoundPicker::dropInto(CCelvaneView& view, const QMimeData& data)
{
    if (!data.hasFormat(kMimeType) || !view.film())
        return false;
    SoundLibrary dropped;
    try {
        pasteSounds(dropped, spanOf(data.data(kMimeType)));
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
        return false;
    }
    if (dropped.count() == 0)
        return false;
    view.changeFrames("Sound", [&] {
        for (int i = 0; i < dropped.count(); ++i)
            view.film()->addFrameSound(view.currentFrame(), dropped.sound(i), dropped.name(i));
        return view.currentFrame();
    });
    ActionSounds::play("Dropped");
    view.document().updateAllViews(nullptr, Hint::CurrentFrame);
    return true;
}

int CSoundPicker::itemCount() const { return library_.count(); }

PickerLook CSoundPicker::describe(int item) const
{
    PickerLook look;
    look.iconWidth = large_ ? 64 : 32;
    look.iconHeight = large_ ? 32 : 16;
    look.name = library_.name(item);
    look.selected = library_.selected(item);
    look.large = large_;
    return look;
}

void CSoundPicker::paintIcon(int item, QPainter& painter, const QRect& icon)
{
    // The sound's own waveform is its picture.
    painter.setPen(QColor(40, 70, 160));
    drawWaveform(painter, *library_.sound(item), icon, 1);
    const int centre = icon.top() + icon.height() / 2;
    painter.drawLine(icon.left(), centre, icon.right(), centre);
}

void CSoundPicker::select(PickerSelect op, int item)
{
    const bool now = op == PickerSelect::Toggle && library_.selected(item);
    applySelect(op, now, [&](bool on) { library_.setSelected(item, on); }, [&](bool on) { library_.selectAll(on); });
}

bool CSoundPicker::picked(int, bool doubleClick)
{
    if (doubleClick)
        hear();
    return false;
}

QMimeData* CSoundPicker::dragData()
{
    if (firstSelected() < 0)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(kMimeType, bytesOf(copySounds(library_)));
    return data;
}

} // namespace celvane
