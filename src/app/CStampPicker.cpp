#include "app/CStampPicker.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <filesystem>
#include <string_view>

#include "app/CommandTable.h"
#include "app/ExportDialog.h"
#include "app/FileDialogs.h"
#include "app/picker/CPickerWindow.h"
#include "app/picker/FittedStamp.h"
#include "base/CommandIds.h"
#include "base/Reporter.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/UpdateHint.h"
#include "gfx/Sprite.h"
#include "platform/DataFolder.h"
#include "platform/FrameClipboard.h"
#include "base/Settings.h"
#include "stamps/StampExport.h"
#include "view/ActionSoundHook.h"

namespace celvane {

namespace {
constexpr const char* kOpenFilters = "Stamps (*.stp);;Animations (*.qfm *.gif);;Bitmap files (*.bmp *.dib *.ff9);;"
                                     "Other graphics (*.wmf *.emf *.aff);;All Files (*)";
constexpr const char* kSnapshotName = "Snapshot";
constexpr int kIconCell = 32;  // the file icon's size
constexpr int kSmallCell = 48; // the picture carried by a drag

// "Snapshot", or a frame of a film so named ("Snapshot1").
bool isSnapshot(const std::string& name)
{
    const std::string_view base(kSnapshotName);
    return name.starts_with(base)
        && std::all_of(name.begin() + long(base.size()), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The commands shown with a tick: how the stamps are shown and the stamp mode.
bool checkable(int id)
{
    switch (id) {
    case ID_STAMP_VIEW_STAMPS:
    case ID_STAMP_VIEW_ICONS:
    case ID_STAMP_SMALL:
    case ID_STAMP_LARGE:
    case ID_STAMP_USE_MASK:
    case ID_STAMP_SOLID: return true;
    }
    return false;
}
} // namespace

CStampPicker::CStampPicker(QMainWindow& mainWindow, std::function<void(uint32_t)> tellViews)
    : tellViews_(std::move(tellViews))
{
    const Settings& s = Settings::instance();
    const QSize first(s.getInt("Settings", "StampPickerWidth", 440, 100, 4000),
                      s.getInt("Settings", "StampPickerHeight", 160, 60, 4000));
    window_ = std::make_unique<CPickerWindow>(*this, QString::fromStdString(loadString(IDS_STAMP_PICKER)), first,
                                              &mainWindow);
    window_->setObjectName("stampPicker");
    addPickerCommands();
    buildMenus();
}

CStampPicker::~CStampPicker() = default;

void CStampPicker::start()
{
    const std::string before = model_.settingsFolder;
    model_.readSettings(Settings::instance(), (dataFolder() / "Stamps").string());
    if (!started_ || model_.settingsFolder != before)
        window_->start(model_.settingsFolder);
    started_ = true;
}

void CStampPicker::show(bool toggle)
{
    if (toggle && window_->isVisible()) {
        window_->hide();
        return;
    }
    if (!started_)
        start();
    refreshActions();
    window_->showPicker();
}

void CStampPicker::buildMenus()
{
    struct Menu {
        const char* title;
        std::vector<int> ids; // 0 a separator
    };
    const Menu menus[] = {
        {"&Stamp", {ID_STAMP_OPEN, ID_STAMP_SAVE, ID_STAMP_SAVE_DEFAULT}},
        {"&Edit",
         {ID_STAMP_CUT, ID_STAMP_COPY, ID_STAMP_PASTE, ID_STAMP_DELETE, 0, ID_STAMP_SELECT_ALL,
          ID_STAMP_CLEAR_SELECTION, 0, ID_STAMP_RENAME}},
        {"&View", {ID_STAMP_VIEW_STAMPS, ID_STAMP_VIEW_ICONS, 0, ID_STAMP_SMALL, ID_STAMP_LARGE}},
        {"&Image",
         {ID_STAMP_FLIP_HORIZONTAL, ID_STAMP_FLIP_VERTICAL, ID_STAMP_ROTATE_LEFT, ID_STAMP_ROTATE_RIGHT, 0,
          ID_STAMP_DOUBLE_SIZE, ID_STAMP_BIGGER, ID_STAMP_DEFAULT_SIZE, ID_STAMP_SMALLER, ID_STAMP_HALF_SIZE, 0,
          ID_STAMP_USE_MASK, ID_STAMP_SOLID}},
    };
    for (const Menu& m : menus) {
        QMenu* menu = window_->menuBar()->addMenu(m.title);
        connect(menu, &QMenu::aboutToShow, this, &CStampPicker::refreshActions);
        for (int id : m.ids) {
            if (id == 0) {
                menu->addSeparator();
                continue;
            }
            const CommandInfo* info = findCommand(id);
            const QString text = QString::fromUtf8(info->menuText);
            auto* action = menu->addAction(text.section('\t', 0, 0));
            if (text.contains('\t'))
                action->setShortcut(QKeySequence(text.section('\t', 1)));
            action->setStatusTip(QString::fromUtf8(info->prompt));
            action->setCheckable(checkable(id));
            connect(action, &QAction::triggered, this, [this, id] { run(id); });
            actions_.emplace_back(id, action);
        }
    }
    refreshActions();
}

void CStampPicker::refreshActions()
{
    for (auto& [id, action] : actions_) {
        const CommandState s = state(id);
        action->setEnabled(s.enabled);
        action->setChecked(s.checked);
    }
}

void CStampPicker::addPickerCommands()
{
    const auto someSelected = [this] { return enabledWhen(model_.stamps().graphics().countSelectedFrames() > 0); };
    const auto someStamps = [this] { return enabledWhen(model_.stamps().count() > 0); };
    const auto always = [] { return alwaysEnabled(); };
    const auto selectAll = [this](bool on) {
        model_.stamps().selectAll(on);
        changed(Hint::StampChanged);
    };
    const auto showStamps = [this](bool on) {
        model_.showStamps = on;
        model_.writeSettings(Settings::instance());
        changed(0);
    };
    const auto large = [this](bool on) {
        model_.large = on;
        window_->setLarge(on);
    };
    std::vector<CommandEntry> entries = {
        {ID_STAMP_OPEN, [this] { openFile(); }, always},
        {ID_STAMP_SAVE, [this] { exportStamps(); }, someStamps},
        {ID_STAMP_SAVE_DEFAULT, [this] { model_.saveAsDefault(); },
         [this] { return enabledWhen(!model_.folder().empty()); }},
        {ID_STAMP_CUT,
         [this] {
             copy();
             removeSelected();
         },
         someSelected},
        {ID_STAMP_COPY, [this] { copy(); }, someSelected},
        {ID_STAMP_PASTE, [this] { paste(); }, [] { return enabledWhen(FrameClipboard::canPaste()); }},
        {ID_STAMP_DELETE, [this] { removeSelected(); }, someSelected},
        {ID_STAMP_SELECT_ALL, [selectAll] { selectAll(true); }, someStamps},
        {ID_STAMP_CLEAR_SELECTION, [selectAll] { selectAll(false); }, someSelected},
        {ID_STAMP_RENAME, [this] { rename(); }, someSelected},
        {ID_STAMP_VIEW_STAMPS, [showStamps] { showStamps(true); }, [this] { return checkedWhen(model_.showStamps); }},
        {ID_STAMP_VIEW_ICONS, [showStamps] { showStamps(false); }, [this] { return checkedWhen(!model_.showStamps); }},
        {ID_STAMP_SMALL, [large] { large(false); }, [this] { return checkedWhen(!model_.large); }},
        {ID_STAMP_LARGE, [large] { large(true); }, [this] { return checkedWhen(model_.large); }},
        {ID_STAMP_USE_MASK,
         [this] {
             model_.toggleUseMask();
             changed(Hint::StampChanged);
         },
         [this] { return checkedWhen(model_.mode() & StampPickerModel::UseMask); }},
        {ID_STAMP_SOLID,
         [this] {
             model_.toggleSolid();
             changed(Hint::StampChanged);
         },
         [this] { return checkedWhen(model_.mode() & StampPickerModel::Solid); }},
    };
    for (int id : StampPickerModel::imageCommands())
        entries.push_back({id,
                           [this, id] {
                               model_.runImageCommand(id);
                               changed(Hint::StampChanged);
                           },
                           someStamps});
    addCommands(std::move(entries));
}

bool CStampPicker::run(int id)
{
    bool ran = false;
    try {
        ran = onCommand(id);
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
    refreshActions();
    return ran;
}

CommandState CStampPicker::state(int id)
{
    CommandState s;
    onUpdate(id, s);
    return s;
}

void CStampPicker::removeSelected()
{
    model_.stamps().removeSelected();
    changed(Hint::StampChanged);
}

void CStampPicker::changed(uint32_t hint)
{
    window_->refresh();
    if (hint && tellViews_)
        tellViews_(hint);
}

void CStampPicker::addPictures(int fileType, ByteSpan data)
{
    try {
        model_.stamps().add(fileType, data);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
    changed(Hint::StampChanged);
}

void CStampPicker::addSnapshot(const Sprite& picture)
{
    // A stamp file of one chunk: the bitmap with its transparent colour or mask.
    Bytes chunk;
    ByteWriter out(&chunk);
    picture.write(&out, SpriteWriteKind::FilmChunk, true);
    replaceSnapshot(FileType::StampFile, chunk);
}

bool CStampPicker::grabSnapshotFromClipboard()
{
    const auto contents = FrameClipboard::take();
    if (!contents)
        return false;
    replaceSnapshot(contents->fileType, contents->data);
    return true;
}

void CStampPicker::replaceSnapshot(int fileType, ByteSpan data)
{
    StampSet& stamps = model_.stamps();
    for (int n = 0; n < stamps.count(); ++n)
        stamps.select(n, isSnapshot(stamps.name(n)));
    stamps.removeSelected();
    const int first = stamps.count();
    addPictures(fileType, data);
    if (stamps.count() > first) {
        stamps.rename(first, kSnapshotName);
        stamps.select(first, true);
        changed(Hint::StampChanged);
    }
}

void CStampPicker::openFile()
{
    const auto path = FileDialogs::chooser().openFile("Open", kOpenFilters, model_.folder());
    if (!path)
        return;
    try {
        addPictures(fileTypeOfPath(*path, FileType::StampFile, Settings::instance()), readFile(*path));
    } catch (const std::exception& e) {
        Reporter::reportException(e, true, *path);
    }
}

void CStampPicker::exportStamps()
{
    std::vector<ExportOffer::Kind> kinds;
    for (const StampExportKind& k : stampExportKinds())
        kinds.push_back({k.name, k.extension});
    StampSet& stamps = model_.stamps();
    ExportDialog dialog((std::filesystem::path(model_.folder()) / "stamps.stp").string(),
                        ExportOffer::byExtension(std::move(kinds), "&Selected stamps only"),
                        stamps.graphics().countSelectedFrames() > 0, window_.get());
    dialog.setWindowTitle("Save stamps");
    if (dialog.exec() != QDialog::Accepted || dialog.path().empty())
        return;
    const std::string path = dialog.targetPath();
    try {
        celvane::exportStamps(stamps, path, stampExportKinds()[size_t(dialog.kind())].fileType, dialog.selectionOnly());
    } catch (const std::exception& e) {
        Reporter::reportException(e, true, path);
    }
}

void CStampPicker::copy()
{
    if (QMimeData* data = dragData())
        QGuiApplication::clipboard()->setMimeData(data);
}

void CStampPicker::paste()
{
    if (const auto contents = FrameClipboard::take())
        addPictures(contents->fileType, contents->data);
}

void CStampPicker::rename()
{
    StampSet& stamps = model_.stamps();
    const std::vector<int> chosen = stamps.chosen();
    bool ok = false;
    const QString name = QInputDialog::getText(window_.get(), "Rename", "Name:", QLineEdit::Normal,
                                               QString::fromStdString(stamps.name(chosen.front())), &ok);
    if (!ok)
        return;
    for (int n : chosen)
        stamps.rename(n, name.toStdString());
    changed(0);
}

int CStampPicker::itemCount() const { return const_cast<CStampPicker*>(this)->model_.stamps().count(); }

PickerLook CStampPicker::describe(int item) const
{
    StampSet& stamps = const_cast<CStampPicker*>(this)->model_.stamps();
    PickerLook look;
    look.name = stamps.name(item);
    look.selected = stamps.isSelected(item);
    if (model_.showStamps) {
        look.iconWidth = model_.cellWidth();
        look.iconHeight = model_.cellHeight();
        look.large = true;
    } else {
        look.iconWidth = look.iconHeight = model_.large ? kIconCell : kIconCell / 2;
        look.large = model_.large;
    }
    return look;
}

void CStampPicker::paintIcon(int item, QPainter& painter, const QRect& icon)
{
    if (!model_.showStamps) {
        // A sheet of paper with its corner turned down.
        const QRectF r = QRectF(icon).adjusted(icon.width() * 0.2, 1, -icon.width() * 0.2, -1);
        const double fold = r.width() * 0.35;
        QPainterPath page;
        page.moveTo(r.topLeft());
        page.lineTo(r.right() - fold, r.top());
        page.lineTo(r.right(), r.top() + fold);
        page.lineTo(r.bottomRight());
        page.lineTo(r.bottomLeft());
        page.closeSubpath();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::darkGray, 1));
        painter.setBrush(Qt::white);
        painter.drawPath(page);
        painter.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
        painter.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
        return;
    }
    paintFittedStamp(model_.stamps(), item, model_.plotFlags(), painter, icon);
}

void CStampPicker::select(PickerSelect op, int item)
{
    StampSet& stamps = model_.stamps();
    const bool now = op == PickerSelect::Toggle && stamps.isSelected(item);
    applySelect(op, now, [&](bool on) { stamps.select(item, on); }, [&](bool on) { stamps.selectAll(on); });
}

void CStampPicker::selectionEnded()
{
    if (tellViews_)
        tellViews_(Hint::StampChanged);
}

bool CStampPicker::picked(int, bool)
{
    ActionSounds::play("Get stamp");
    return true;
}

QMimeData* CStampPicker::dragData()
{
    StampSet& stamps = model_.stamps();
    // The stamp file first: writing a GIF's frames moves the one picture they share.
    Bytes file;
    ByteWriter out(&file);
    stamps.save(&out, true);
    out.u32(0xFFFFFFFFu);
    const Sprite* first = stamps.image(stamps.current());
    return first ? FrameClipboard::mimeData(file, *first) : nullptr;
}

QPixmap CStampPicker::dragPicture()
{
    StampSet& stamps = model_.stamps();
    if (stamps.count() == 0)
        return {};
    QPixmap picture(kSmallCell, kSmallCell);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setBackground(Qt::white);
    paintFittedStamp(stamps, stamps.current(), model_.plotFlags(), painter, picture.rect());
    return picture;
}

void CStampPicker::dropFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        try {
            addPictures(fileTypeOfPath(path, FileType::StampFile, Settings::instance()), readFile(path));
        } catch (const std::exception& e) {
            Reporter::reportException(e, true, path);
        }
    }
}

bool CStampPicker::openFolder(const std::string& folder) { return model_.openFolder(folder); }

} // namespace celvane
